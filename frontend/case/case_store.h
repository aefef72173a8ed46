// The design case being edited, and its editing state.
//
// One CaseStore exists for the whole program; every form reads and writes it directly. The
// field names follow the controls that edit them. Span arrays are used 1..15 (index 0 spare),
// support arrays 0..15, line-load slots 1..5; the input form uses 10 spans and 11 supports.
// Units: m, kN/m2, kN/m; cover, bar distance and camber in whole mm.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "national_tables.h"

namespace solvow {

inline constexpr int kStoreSpans = 15;
inline constexpr int kStoreSupports = 16;
inline constexpr int kMaxSpans = 10;  // the input form's bound on n
inline constexpr int kLineLoads = 5;

struct LineLoad {
  qint16 llfnr = 0;     // span number, 1 = first span
  float avst = 0.0f;    // distance from the left support of the span, m
  float lllast = 0.0f;  // load, kN/m
  bool operator==(const LineLoad&) const = default;
};

struct CaseStore {
  // --- the case, in the order of the design-case file ---
  QString baseName;   // case name, upper case; the engine names its report after it
  QString rubrik;     // heading
  qint16 market = 1;  // 1..6
  // Chosen class button of each market (shkl, shklpl, pkl, shklfi, shkldk, shkleu); the file
  // holds the element of the current market only.
  std::array<qint16, kMarketSlots> safetyClass{};
  qint16 nfack = 1;                            // number of spans n, 1..10
  std::array<float, kStoreSpans + 1> spv{};    // span length, m
  std::array<float, kStoreSpans + 1> ptjl{};   // slab thickness, m
  std::array<float, kStoreSupports> upl{};     // support width, m; supports 0..n
  qint16 lokt = 0;                             // load category 0..9
  NationalTables national;                     // lambdaG, ksi, lambdaQ, psi0..2, loads
  qint16 lastkomb = 3;                         // 1 "6.10 a", 2 "6.10 b", 3 both
  std::array<float, kStoreSpans + 1> plast{};  // additional permanent load, kN/m2
  std::array<float, kStoreSpans + 1> flast{};  // variable load, kN/m2
  float konsv = 0.0f;                          // left cantilever, m
  float konsh = 0.0f;                          // right cantilever, m
  qint16 btg = 4;                              // concrete class, list position 1..9
  qint16 aok = 2;                              // top steel grade 1..3
  qint16 dok = 3;                              // top bar diameter 1..5
  qint16 kavko = 0;                            // curtailment of the top bars: 0 off, non-zero on
  qint16 ktack = 15;                           // top cover, mm
  qint16 auk = 2;                              // bottom steel grade 1..3
  qint16 duk = 1;                              // bottom bar diameter 1..5
  qint16 duarm = 42;                           // soffit to the centroid of the bottom bars, mm
  qint16 brandk = 1;                           // fire design method, list position
  qint16 brandb = 2;                           // fire option button 1..4
  qint16 kutak = 1;                            // ceiling: 1 "Saknas", 2 "13 Gips"
  qint16 kryptal = 2;         // creep factor: carried from file to file, never edited
  qint16 overhojning = 0;     // camber, mm
  qint16 initiell = 250;      // limit of the initial deflection, span / this
  qint16 tillkommande = 500;  // limit of the additional deflection, span / this
  qint16 brukskomb = 2;       // 1 "Frekventa laster", 2 "Karakteristiska laster"
  qint16 nllast = 0;          // line loads in use, 0..5
  std::array<LineLoad, kLineLoads + 1> lineLoads{};  // slots 1..5
  // Lines 38-41, after the 37 lines of the original layout; a file without them gets the
  // defaults of the case-format table (setDefaults).
  qint16 byggskede = 1;  // the deck during casting: 1 continuous over supports and props,
                         // 2 simply supported between them
  std::array<qint16, kStoreSpans + 1> stamp{};  // temporary props in each span, 0..4
  float egenfrekvens = 5.0f;  // lowest acceptable natural frequency, Hz (0 = no check)
  float sprickbredd = 0.4f;   // largest crack width over the supports, mm (0 = no check)

  // --- editing state ---
  QString fileName;             // base name + ".IND"; the main window's caption
  QString folder;               // folder chosen in the file dialog
  QString programFolder;        // where the engine and the default case lie
  bool changed = false;         // the case differs from its file
  bool named = false;           // opened from or saved to a file of the user's choice
  bool diagramEnabled = false;  // a calculation of this case has results to draw

  // --- lookup lists, filled by setDefaults ---
  QStringList concreteClasses;  // btg: "C20/25" .. "C60/75"
  QStringList barDiameters;     // dok, duk: "ø 6" .. "ø 16"
  QStringList steelGrades;      // aok, auk: "400", "500", "600"
  QStringList loadCategories;   // lokt
  QStringList fireMethods;      // brandk: "Brandteknisk klass"

  bool operator==(const CaseStore&) const = default;
};

// The one place an edit marks the case: changed (a run asks for a save first) and, unless
// the edit leaves the calculated curves standing (`keepsDiagram`, as a change of safety class
// or of a factor does), without a diagram. Form fields, flags, undo and redo and a design taken
// from the search all come here; whether the shown results still fit the case is then decided
// by comparing the case with the one they were calculated for.
enum class DiagramAfterEdit { Cleared, Kept };
void markEdited(CaseStore& store, DiagramAfterEdit diagram = DiagramAfterEdit::Cleared);

// The defaults routine, run before every New and Open: presets and lookup lists; for spans 1
// to 15 a length of 5.5 m, a thickness of 0.17 m, a variable load of 2.0 kN/m2, no
// additional permanent load and no props; every support 0.1 m wide; lines 38-41 (the deck
// during casting, props, lowest natural frequency, largest crack width) at the defaults of the
// case-format table; no diagram. Everything else is left
// for the default-case file or the opened file to set.
void setDefaults(CaseStore& store);

// The imposed load of the current market and category from the tables, in the variable
// load of spans 1..10, as a pick of the load category sets it.
// REQUIRES: a valid market and category.
void fillImposedLoads(CaseStore& store);

// The same for the spans after the first `n` only, and only under a load category of the
// tables (not "Valfri last", whose loads are the user's): a span that the spinner adds later
// shows the category's load, which its disabled field cannot change. Spans 1..n keep theirs.
void fillImposedLoadsAfter(CaseStore& store, int n);

// A click on flag picture k of the main window: marks the case changed, steps the market,
// sets the stored class of the new market (classAfterMarketChange) and returns the flag now
// shown. The factor fields then show the tables at the new market; they are editable only in
// the free market. The variable loads take the imposed load of the new market
// (fillImposedLoads), except under "Valfri last", whose loads are the user's.
int flagClick(CaseStore& store, int flag);

// The factors of the current market and category, as the six factor fields show them:
// lambdaG, ksi, lambdaQ, psi0, psi1, psi2. REQUIRES: a valid market and category.
std::array<double, 6> currentFactors(const CaseStore& store);

}  // namespace solvow
