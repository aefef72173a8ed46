// Design results for the report; filled by the design (top bars over the supports, the span
// checks) and the fire design (temperatures, support capacities in fire, bottom bars).
// Arrays indexed from 1: span i = 1..n, support j = 1..n+1. Whole millimetres are held as
// integers, truncated toward zero; a spacing of 0 means "no bars": nothing needed, or no
// solution, and then top_solution or bottom_solution says why. A spacing printed is one that
// can be built.
#pragma once

#include <array>
#include <cstdint>

#include "slab_limits.h"

namespace solvo {

// Why the bars of a support (top) or a span (bottom, fire) have no solution; kSolved also
// where no bars are needed.
enum class BarSolution : int32_t {
  kSolved = 0,
  kNoConvergence,  // the area iteration does not converge
  kNoEquilibrium,  // no compression depth carries the moment
  kTooClose,       // the bar size needs bars closer than the least spacing; a larger one helps
  kAboveOneLayer,  // the area is more than one layer of any bar size holds
  kPairPartner,    // one bar with the next support, which has no solution
};

struct Utdat {
  // ---- Top reinforcement over the supports ----
  Span1<kMaxSupports> a{};   // top face to the centre of the top bars, m
  Span1<kMaxSupports> as{};  // required top area, m2/m (1000000: no equilibrium)
  Span1<kMaxSupports> s{};   // bar spacing, mm (a whole number; 0 = no bars), at most
                             // min(2h, 250 mm) and at least the least spacing of the bar
  Int1<kMaxSupports> l1{};   // bar length, single-length layout, mm
  Int1<kMaxSupports> l1b{};  // first bar of the staggered layout, mm
  Int1<kMaxSupports> l2b{};  // second bar of the staggered layout, mm
  // The area that the checks credit, m2/m: the required area as designed, the area of the
  // bars where the largest spacing is the spacing, 0 without a solution.
  Span1<kMaxSupports> as_credit{};
  std::array<BarSolution, kMaxSupports + 1> top_solution{};
  // With kTooClose: the bar size (1..5) that gives a solution; with kPairPartner: the
  // support without a solution.
  Int1<kMaxSupports> top_hint{};
  Int1<kMaxSupports> top_needed{};  // with kTooClose or kAboveOneLayer: the spacing, mm
  float wa = 0;                     // top reinforcement, single-length layout, kg/m2 of slab
  float wb = 0;                     // top reinforcement, staggered layout, kg/m2 of slab

  // ---- Span checks: utilisations (1.0 = 100 %), printed as computed ----
  Span1<kMaxSpans> uf{};       // span moment / sagging capacity
  Span1<kMaxSpans> uvl{};      // shear at the left end / shear resistance
  Span1<kMaxSpans> uvr{};      // shear at the right end / shear resistance
  Span1<kMaxSpans> ub{};       // longitudinal shear demand / design strength
  Span1<kMaxSpans> di{};       // initial deflection, mm (pre-camber deducted)
  Span1<kMaxSpans> udi{};      // initial deflection / (span / divisor)
  Span1<kMaxSpans> dt{};       // additional deflection, mm
  Span1<kMaxSpans> udt{};      // additional deflection / (span / divisor)
  Span1<kMaxSpans> us{};       // slenderness: clear span / (33 or 36 x thickness)
  Span1<kMaxSpans> mr_span{};  // sagging capacity of the span (deck only), kNm/m

  // ---- Fire ----
  float theta_d = 0;  // deck temperature, deg C
  float theta_b = 0;  // bottom-bar temperature, deg C
  float ky_d = 1;     // yield-strength factor of the deck at theta_d
  float ky_b = 1;     // yield-strength factor of the bottom bars at theta_b
  float ke_b = 1;     // modulus factor of the bottom bars at theta_b
  // Section coefficients of the fire class: c1 the rib height, c2 and c3 the rib widths of
  // the compression zone over a support (m), c4 the depth of the damaged layer at the
  // soffit by which the depth of the top bars is reduced (m). 0 without a ceiling option.
  float c1 = 0, c2 = 0, c3 = 0, c4 = 0;
  Span1<kMaxSupports> mr_fire{};  // hogging capacity in fire, kNm/m (0: no solution)
  Span1<kMaxSpans> ab{};          // required bottom area, m2/m (10000: no solution)
  Int1<kMaxSpans> sb{};           // bottom-bar spacing, mm (0 = no bars, or no solution)
  Int1<kMaxSpans> lb{};           // bottom-bar length, mm (0 = no bars)
  std::array<BarSolution, kMaxSpans + 1> bottom_solution{};
  Int1<kMaxSpans> bottom_hint{};    // with kTooClose: the bar size (1..5) that gives a solution
  Int1<kMaxSpans> bottom_needed{};  // with kTooClose or kAboveOneLayer: the spacing, mm
  float wf = 0;                     // bottom reinforcement, kg/m2 of slab
};

}  // namespace solvo
