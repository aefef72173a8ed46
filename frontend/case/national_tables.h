// The six markets and their national parameters for the load combinations of EN 1990.
//
// Markets are numbered 1 to 6 and load categories 0 to 9; slot 0 of every per-market table
// exists and is not used. Markets 1 to 5 carry fixed national values; in market 6 ("VALFRI")
// the user sets all six factors.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace solvow {

inline constexpr int kMarkets = 6;
inline constexpr int kMarketSlots = kMarkets + 1;  // 0..6
inline constexpr int kLoadCategories = 10;         // 0..9
inline constexpr int kFreeMarket = 6;

bool isMarket(int market);
bool isLoadCategory(int category);

// The factors of one case store, rebuilt from the presets before every New and Open. In the
// free market the user's factors replace the presets; a design-case file carries the factors of
// its market (and, for psi, its category) and overwrites those cells when read.
struct NationalTables {
  std::array<double, kMarketSlots> lambdaG{};  // partial factor, permanent load
  std::array<double, kMarketSlots> ksi{};      // reduction factor xi
  std::array<double, kMarketSlots> lambdaQ{};  // partial factor, variable load
  // Combination factors by [load category][market].
  std::array<std::array<double, kMarketSlots>, kLoadCategories> psi0{}, psi1{}, psi2{};
  // Characteristic imposed load by [load category][market], kN/m2.
  std::array<std::array<float, kMarketSlots>, kLoadCategories> imposedLoad{};
  bool operator==(const NationalTables&) const = default;
};

// The national presets.
NationalTables presetTables();

// How a market appears on the input form.
struct MarketInfo {
  const char* name;          // as the report names it, "SVERIGE" .. "VALFRI"
  const char* frame;         // the frame that holds the class buttons
  const char* frameCaption;  // UTF-8
  const char* classButtons;  // the option-button array of the class
  qint16 defaultClass;       // the class a market change selects when none is stored
  bool alwaysDefault;        // the market selects its default class whatever is stored
};

// REQUIRES: isMarket(market).
const MarketInfo& marketInfo(int market);

// Market changes rewrite the stored class of the new market: markets 2 and 6 always select
// class 1; the others select class 2 when none (0) is stored and keep any other value.
qint16 classAfterMarketChange(int market, qint16 stored);

// Only the free market lets the user edit the six factor fields.
bool factorsEditable(int market);

// The six flag pictures stand in one place, one visible at a time. Flag k shows market
// 1, 3, 5, 4, 2, 6 for k = 1..6; a click on the visible flag steps the market through the
// cycle 1, 3, 5, 4, 2, 6, 1.
int marketOfFlag(int flag);    // 0 for a flag outside 1..6
int flagOfMarket(int market);  // 0 for a market outside 1..6
// The flag shown after a click on flag k: k + 1, or 1 when k is 6 or more (or below 1).
int flagAfterClick(int flag);
// The market after a click on flag k: 3, 5, 4, 2, 6 for k = 1..5 and 1 for any other k.
int marketAfterClick(int flag);

// The names of the load categories as the list shows them (11 characters each).
QStringList loadCategoryNames();

}  // namespace solvow
