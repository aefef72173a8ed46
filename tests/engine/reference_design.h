// The design of the top bars and the span checks re-derived from the design rules in double
// precision, apart from the engine's design, from the reference analysis (reference_case.h).
// The section routines (required top area, sagging capacity, bond demand, shear resistance)
// are not derived again: they are tested on their own, and the comparison calls them.
//
// Units: kN and m; moments kNm/m; bar lengths in mm but not yet truncated (the engine's whole
// millimetres are the truncation of these). Vectors indexed from 1 like the engine's tables.
#pragma once

#include <vector>

#include "reference_case.h"
#include "run_state.h"

namespace solvo::reference {

// The load set that the design reads (selector 1, 2, or otherwise row 3), with its tables as
// the design reads them: row 3 has the more severe span moments and shears of rows 1 and 2,
// row 2's curves and the more severe support moments (rows_of), and the zero points of those.
struct DesignRow {
  int k = 0;
  Envelopes e;
  ZeroPoints z;
  std::vector<double> le;  // clear spans
  // Per span the load of the loaded span, the longitudinal shear action of the bond check; for
  // row 3 that of the row with the larger span moment. Where the two span moments lie within
  // `tie` of each other either may be the larger in floats: both loads are listed.
  std::vector<std::vector<double>> q_loaded;
};
DesignRow design_row_of(const Run& run, const Rows& rows, double tie);

// Per support j: the depth of the top bars below the top face a(j), the depth of the bars
// above the soffit d, and the design moment |M|, the magnitude of the min envelope (the
// decided reading of "the support moment": the most hogging one).
struct SupportInput {
  double a = 0, d = 0, moment = 0;
};
std::vector<SupportInput> support_inputs(const Run& run, const DesignRow& row);

// Per span what the checks divide: the span moment, the initial and the additional
// deflection (mm) with their limits Le / divisor (mm), the slenderness, the shear length
// between the zero points of the max envelope, the end shears, and for the shear resistance
// at each end the support whose top bars count and whether the deck carries it instead.
struct SpanInput {
  double moment = 0;
  double di = 0, di_limit = 0, dt = 0, dt_limit = 0;
  double us = 0;
  double x = 0;
  double vl = 0, vr = 0;
  int left_support = 0, right_support = 0;
  bool left_deck = false, right_deck = false;
};
std::vector<SpanInput> span_inputs(const Run& run, const Rows& rows, const DesignRow& row);

// Which rule gives the bars over a support: none, a normal interior support, the first and the
// second support of a pair joined over a short span, the pair at the last interior support,
// a cantilever.
enum class BarRule { kNone, kNormal, kPairFirst, kPairSecond, kLastPair, kCantilever };

// The bar lengths of both layouts per support, NaN where the rule sets none.
struct TopBars {
  std::vector<BarRule> rule;
  std::vector<double> l1, l1b, l2b;
};
// `a` the bar depths per support, `spacing` the spacings before the pairing (a cantilever
// gets its bar when its end support has a spacing).
TopBars top_bars(const Run& run, const DesignRow& row, const std::vector<double>& a,
                 const std::vector<double>& spacing);

// The spacings after pairing: both supports of a pair take the smaller spacing of those that
// need bars (`area` > 0).
std::vector<double> paired_spacings(const TopBars& bars, std::vector<double> spacing,
                                    const std::vector<double>& area);

// The weights of both layouts, kg/m2, from the bar lengths and spacings of run.utdat.
// `divides_by_zero` when a support of a pair or a normal support has spacing 0: the weight
// sums of the rules divide by it there.
struct Weights {
  double wa = 0, wb = 0;
  bool divides_by_zero = false;
};
Weights weights(const Run& run, const TopBars& bars);

}  // namespace solvo::reference
