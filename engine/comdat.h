// The engine's fixed tables: markets, concrete classes, steel grades, bar sizes and
// load categories. Codes index these tables from 1 (load categories from 0); the case
// reader refuses any code outside them, so no other code reaches an index.
// Strengths and moduli in kN/m2. Texts are UTF-8 here and Windows-1252 in the report.
#pragma once

#include <array>
#include <string_view>

namespace solvo::comdat {

struct Market {
  std::string_view name;  // 8 characters as the report prints it
  float gamma_m0;         // deck
  float gamma_s;          // reinforcement
  float gamma_c;          // concrete
  float alpha_cc;
  float alpha_ct;
  std::array<float, 3> gamma_d;  // safety class 1, 2, 3
};

inline constexpr int kMarkets = 6;
inline constexpr std::array<Market, kMarkets + 1> kMarket = {{
    {"", 0, 0, 0, 0, 0, {0, 0, 0}},
    {"SVERIGE ", 1.0f, 1.15f, 1.5f, 1.0f, 1.0f, {0.83f, 0.91f, 1.0f}},
    {"POLEN   ", 1.0f, 1.15f, 1.5f, 1.0f, 1.0f, {1.0f, 1.0f, 1.0f}},
    {"NORGE   ", 1.05f, 1.15f, 1.5f, 0.85f, 0.85f, {0.9f, 1.0f, 1.0f}},
    {"FINLAND ", 1.0f, 1.15f, 1.5f, 0.85f, 0.85f, {0.9f, 1.0f, 1.1f}},
    {"DANMARK ", 1.1f, 1.2f, 1.45f, 1.0f, 1.0f, {0.9f, 1.0f, 1.1f}},
    {"VALFRI  ", 1.0f, 1.15f, 1.5f, 1.0f, 1.0f, {1.0f, 1.0f, 1.0f}},
}};

// Modulus of elasticity of the reinforcement, every market.
inline constexpr float kEs = 2.1E8f;

struct Concrete {
  std::string_view name;  // 6 characters
  float fck;
  float fctk005;
  float ecm;
};

inline constexpr int kConcreteClasses = 9;
inline constexpr std::array<Concrete, kConcreteClasses + 1> kConcrete = {{
    {"", 0, 0, 0},
    {"C20/25", 20000.0f, 1500.0f, 3.0E7f},
    {"C25/30", 25000.0f, 1800.0f, 3.1E7f},
    {"C30/37", 30000.0f, 2000.0f, 3.3E7f},
    {"C35/45", 35000.0f, 2200.0f, 3.4E7f},
    {"C40/50", 40000.0f, 2500.0f, 3.5E7f},
    {"C45/55", 45000.0f, 2700.0f, 3.6E7f},
    {"C50/60", 50000.0f, 2900.0f, 3.7E7f},
    {"C55/67", 55000.0f, 3000.0f, 3.8E7f},
    {"C60/75", 60000.0f, 3100.0f, 3.9E7f},
}};

// Mean tensile strength fctm by concrete class, MPa (EN 1992-1-1 Table 3.1): the effective
// tensile strength of the concrete between cracks.
inline constexpr std::array<float, kConcreteClasses + 1> kFctm = {0.0f, 2.2f, 2.6f, 2.9f, 3.2f,
                                                                  3.5f, 3.8f, 4.1f, 4.2f, 4.4f};

// Characteristic yield strength by steel grade code; the same in every market and layer.
inline constexpr int kSteelGrades = 3;
inline constexpr std::array<float, kSteelGrades + 1> kFyk = {0.0f, 400000.0f, 500000.0f, 600000.0f};

struct Bar {
  float diameter;  // mm
  float area;      // mm2, one bar
  float mass;      // kg/m
};

inline constexpr int kBarSizes = 5;
inline constexpr std::array<Bar, kBarSizes + 1> kBar = {{
    {0, 0, 0},
    {6.0f, 28.3f, 0.248f},
    {8.0f, 50.3f, 0.432f},
    {10.0f, 78.5f, 0.664f},
    {12.0f, 113.0f, 0.94f},
    {16.0f, 201.0f, 1.64f},
}};

// Load categories 0..9, as the report names them after "Lastgrupp :" (40 characters
// there, padded with blanks).
inline constexpr int kLoadCategories = 10;
inline constexpr std::array<std::string_view, kLoadCategories> kLoadCategory = {
    "Valfri",
    "A - Bostäder o.dyl.",
    "B - Kontorslokaler",
    "C1 - Utrymmen med bord",
    "C2 - Utrymmen med fasta sittplatser",
    "C3 - Utrymmen utan hinder",
    "C4 - Utrymmen för fysiska aktiviteter",
    "C5 - Utrymmen för stora folksamlingar",
    "D1 - Affärslokaler för detaljhandel",
    "D2 - Affärslokaler i varuhus",
};

}  // namespace solvo::comdat
