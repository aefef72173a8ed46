// The checks of report page 6 against hand calculations: the continuous deck beam (closed
// forms of equal spans, cantilever tips, reactions), the deck as formwork during casting (the
// worked cases of the construction stage: props, ponding, the working-area load on top of
// 0.75 kN/m2, the casting sequence, cantilevers, the props needed, the line loads on props),
// the anti-crack reinforcement over the supports, the lowest natural frequency of the whole
// slab against closed forms, and the verdict that a design search reads.
//
// Unless a test says otherwise: market 1 (SVERIGE), safety class 2 (gammaD = 0.91),
// gammaG 1.35, gammaQ 1.5; deck EI = 2.1E8 * 3.3E-7 = 69.3 kNm2/m, MRd = 5.29 kNm/m; wet
// concrete 26 kN/m3 over h - 0.0165, deck 0.089 kN/m2.
#include "checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "beam.h"
#include "case_input.h"
#include "verdict.h"
#include "vibration.h"

namespace solvo {
namespace {

// Relative tolerance of the worked cases: the hand figures are given to three or four digits.
constexpr float kRel = 0.005f;

void expect_near_rel(float got, float want, const char* what) {
  EXPECT_NEAR(got, want, std::fabs(want) * kRel) << what;
}

// ---- The continuous deck beam ------------------------------------------------------------

Beam equal_spans(int n, float span, float ei = 69.3f) {
  Beam b;
  b.length.assign(static_cast<size_t>(n) + 1, span);
  b.length[0] = 0;
  b.ei = ei;
  return b;
}

BeamLoad uniform(int n, float w) {
  BeamLoad l;
  l.w.assign(static_cast<size_t>(n) + 1, w);
  l.w[0] = 0;
  return l;
}

float largest(const BeamCurve& c) {
  float v = c[0];
  for (float x : c) v = std::fmax(v, x);
  return v;
}

// Support moments of equal spans under a uniform load w = 1 on L = 1 (coefficients of wL^2):
//   two spans -1/8; three spans -1/10 at both inner supports;
//   30 spans: the three-moment recurrence M(j-1) + 4 M(j) + M(j+1) = -1/2 has the particular
//   solution -1/12 and the root r = -2 + sqrt(3) = -0.26795; with M(1) = 0,
//   M(j) = -(1 - r^(j-1))/12: M(2) = -0.105662, and in the middle -1/12 = -0.083333.
TEST(DeckBeam, SupportMomentsOfEqualSpans) {
  struct Row {
    int spans;
    int support;
    float coefficient;
  };
  const Row rows[] = {{2, 2, -0.125f},      {3, 2, -0.1f},           {3, 3, -0.1f},
                      {30, 2, -0.1056624f}, {30, 16, -1.0f / 12.0f}, {30, 30, -0.1056624f}};
  for (const Row& r : rows) {
    const Beam b = equal_spans(r.spans, 2.0f);
    const BeamResult res = solve_beam(b, uniform(r.spans, 3.0f));
    // w L^2 = 3 * 4 = 12.
    EXPECT_NEAR(res.m[static_cast<size_t>(r.support)], 12.0f * r.coefficient, 1e-4f)
        << r.spans << " spans, support " << r.support;
    EXPECT_FLOAT_EQ(res.m[1], 0.0f);
    EXPECT_FLOAT_EQ(res.m[static_cast<size_t>(r.spans) + 1], 0.0f);
  }
}

// One span 2.0 m, w = 3.3: M = wL^2/8 = 1.65 at mid-span (point 20 of 40);
// deflection 5 w L^4/(384 EI) = 5 * 3.3 * 16/(384 * 69.3) = 0.0099206 m.
// Two spans of 2.4 m, w = 3.3: largest deflection w L^4/(185 EI) = 3.3 * 33.1776/(185 * 69.3)
// = 0.0085400 m (the exact coefficient 0.005416 gives 0.0085429).
TEST(DeckBeam, SpanMomentAndDeflection) {
  const BeamResult one = solve_beam(equal_spans(1, 2.0f), uniform(1, 3.3f));
  EXPECT_NEAR(one.mom[1][kBeamSteps / 2], 1.65f, 1e-5f);
  EXPECT_NEAR(one.defl[1][kBeamSteps / 2], 0.0099206f, 1e-6f);
  const BeamResult two = solve_beam(equal_spans(2, 2.4f), uniform(2, 3.3f));
  expect_near_rel(largest(two.defl[1]), 0.0085429f, "two spans, span 1");
  expect_near_rel(largest(two.defl[2]), 0.0085429f, "two spans, span 2");
}

// One span of 3 m with a 1 m cantilever on the left, w = 2 everywhere:
//   M(1) = -w c^2/2 = -1.0; mid-span moment w L^2/8 + M(1)/2 = 2.25 - 0.5 = 1.75.
// Simply supported deck spans: no moment over the inner support, w L^2/8 in every span.
TEST(DeckBeam, CantileverAndSimplySupportedSpans) {
  Beam b = equal_spans(1, 3.0f);
  b.cant_left = 1.0f;
  BeamLoad l = uniform(1, 2.0f);
  l.w_left = 2.0f;
  const BeamResult r = solve_beam(b, l);
  EXPECT_NEAR(r.m[1], -1.0f, 1e-6f);
  EXPECT_NEAR(r.mom[1][kBeamSteps / 2], 1.75f, 1e-5f);

  Beam simple = equal_spans(3, 2.0f);
  simple.continuous = false;
  const BeamResult s = solve_beam(simple, uniform(3, 3.0f));
  EXPECT_FLOAT_EQ(s.m[2], 0.0f);
  EXPECT_FLOAT_EQ(s.m[3], 0.0f);
  for (int i = 1; i <= 3; ++i)
    EXPECT_NEAR(s.mom[static_cast<size_t>(i)][kBeamSteps / 2], 1.5f, 1e-5f);
}

// Two equal spans, base w on both, q added to each span alone: each added load gives
// -q L^2/16 over the middle support, so the min envelope there is -(w + q) L^2/8.
// L = 2, w = 3, q = 1: -(4 * 4)/8 = -2.0; the max envelope keeps the base -w L^2/8 = -1.5.
TEST(DeckBeam, EnvelopeAddsEachLoadThatWorsens) {
  const Beam b = equal_spans(2, 2.0f);
  BeamLoad q1 = uniform(2, 0.0f), q2 = uniform(2, 0.0f);
  q1.w[1] = 1.0f;
  q2.w[2] = 1.0f;
  const BeamEnvelope e = envelope(b, uniform(2, 3.0f), {q1, q2});
  EXPECT_NEAR(e.mom_min[1][kBeamSteps], -2.0f, 1e-5f);
  EXPECT_NEAR(e.mom_min[2][0], -2.0f, 1e-5f);
  EXPECT_NEAR(e.mom_max[1][kBeamSteps], -1.5f, 1e-5f);
}

// Cantilever tips: a span L with a cantilever c = L/2 under w everywhere has no rotation at the
// support (w L^3/24 + 2 M(1) L/6 = w L^3/24 - w L^3/24 = 0 with M(1) = -w L^2/8), so the tip
// deflects w c^4/(8 EI) alone: L 2, c 1, w 8.76: 8.76/(8 * 69.3) = 15.80 mm.
// With only the cantilever loaded (w = 0 in the span), M(1) = -w c^2/2 and the tip deflects
// w c^3 (4 L + 3 c)/(24 EI): 2 * 1 * (8 + 3)/(24 * 69.3) = 13.23 mm.
// Reactions R1 = w c + w L/2 - M(1)/L, R2 = w L/2 + M(1)/L: all loaded, M(1) = -4.38:
// 8.76 + 8.76 + 2.19 = 19.71 and 8.76 - 2.19 = 6.57; the cantilever alone (w 2, M(1) = -1):
// 2 + 0.5 = 2.5 and -0.5.
TEST(DeckBeam, CantileverTipsAndReactions) {
  struct Row {
    const char* name;
    float w_span, w_cant, tip_mm, r1, r2;
  };
  const Row rows[] = {
      {"all loaded", 8.76f, 8.76f, 15.80f, 19.71f, 6.57f},
      {"cantilever alone", 0.0f, 2.0f, 13.23f, 2.5f, -0.5f},
  };
  for (const Row& r : rows) {
    Beam b = equal_spans(1, 2.0f);
    b.cant_left = 1.0f;
    BeamLoad l = uniform(1, r.w_span);
    l.w_left = r.w_cant;
    const BeamResult res = solve_beam(b, l);
    expect_near_rel(1000.0f * res.tip_left, r.tip_mm, r.name);
    EXPECT_FLOAT_EQ(res.tip_right, 0.0f) << r.name;
    EXPECT_NEAR(res.reaction[1], r.r1, 1e-4f) << r.name;
    EXPECT_NEAR(res.reaction[2], r.r2, 1e-4f) << r.name;
    // Mirrored: the same on the right.
    Beam m = equal_spans(1, 2.0f);
    m.cant_right = 1.0f;
    BeamLoad lm = uniform(1, r.w_span);
    lm.w_right = r.w_cant;
    const BeamResult rm = solve_beam(m, lm);
    expect_near_rel(1000.0f * rm.tip_right, r.tip_mm, r.name);
    EXPECT_NEAR(rm.reaction[2], r.r1, 1e-4f) << r.name;
  }
}

// ---- The construction stage ----------------------------------------------------------------

// One span of `span` m and thickness h on supports of no width, the default case otherwise.
solvo::Run one_span(float span, float h, int props = 0) {
  solvo::Run run;
  blkdat(run);
  Indat& c = run.indat;
  c.n = 1;
  c.span[1] = span;
  c.thickness[1] = h;
  c.support_width = {};
  c.props[1] = props;
  berdat(run);
  return run;
}

// Factored loads used below (gammaD 0.91, gammaG 1.35, gammaQ 1.5), G = 3.300 for h 0.14:
//   full: 0.91 (1.35 G + 1.5 (0.75 + 0.75)) = 6.1016 (0.75 everywhere + the working area);
//   base: 0.91 (1.35 G + 1.5 0.75) = 5.0778 (0.75 alone);
//   not yet cast: 0.91 (1.35 0.089 + 1.5 0.75) = 1.1331 (the deck and 0.75 alone).

// One span 2.0 m, h 0.14, no props: concrete 26 * 0.1235 = 3.211, + deck 0.089 = 3.300;
// deflection 5 * 3.3 * 2^4/(384 * 69.3) = 9.92 mm, below h/10 = 14 mm: no ponding; limit
// 2000/180 = 11.11 mm, utilisation 0.893. Working area 0.1 * 3.211 = 0.32 -> 0.75 on top of
// the 0.75: w = 6.1016, M = 6.1016 * 4/8 = 3.051, utilisation 3.051/5.29 = 0.577.
TEST(CastingStage, OneSpanOfTwoMetres) {
  solvo::Run run = one_span(2.0f, 0.14f);
  casting_checks(run);
  const CastingSpan& s = run.checkdat.casting[1];
  expect_near_rel(s.g, 3.300f, "permanent load");
  EXPECT_FLOAT_EQ(s.ponding, 0.0f);
  expect_near_rel(s.q_work, 0.75f, "working-area load");
  expect_near_rel(s.defl, 9.92f, "deflection");
  expect_near_rel(s.defl_limit, 11.11f, "limit");
  expect_near_rel(s.u_defl, 0.893f, "deflection utilisation");
  expect_near_rel(s.m_sag, 3.051f, "sagging moment");
  expect_near_rel(s.u_sag, 0.577f, "sagging utilisation");
  EXPECT_FLOAT_EQ(s.m_hog, 0.0f);
  EXPECT_FLOAT_EQ(s.u_hog, 0.0f);
  expect_near_rel(s.deck_span, 2.0f, "deck span");
  EXPECT_FALSE(s.beyond_range);
}

// One slab span 4.8 m, h 0.14, one prop, continuous: two deck spans of 2.4 m.
//   Hogging at the prop with the working area on both deck spans: -6.1016 * 5.76/8 = -4.393,
//   utilisation 0.830.
//   Sagging of deck span 1 with the working area on it and deck span 2 not yet cast (1.1331):
//   M2 = -(6.1016 + 1.1331) 5.76/16 = -2.6045, the peak at x = 1.2 - 2.6045/(6.1016 * 2.4)
//   = 1.0221: 6.1016 * 1.0221 * 1.3779/2 - 2.6045 * 1.0221/2.4 = 3.187.
//   Deflection (all cast) 3.3 * 2.4^4/(185 * 69.3) = 8.54 mm against 2400/180 = 13.33 mm.
// The same simply supported between support and prop: deflection 5 * 3.3 * 2.4^4/(384 * 69.3)
//   = 20.57 mm > 14 mm, so ponding adds 18.2 * 0.020571 = 0.3744: g = 3.6744, deflection
//   20.57 * 3.6744/3.3 = 22.91 mm, utilisation 1.718; the working area 0.1 * 3.585 -> 0.75:
//   w = 0.91 (1.35 * 3.6744 + 2.25) = 6.5614, M = 6.5614 * 5.76/8 = 4.724, utilisation 0.893.
TEST(CastingStage, OnePropMakesTwoDeckSpans) {
  solvo::Run run = one_span(4.8f, 0.14f, 1);
  casting_checks(run);
  const CastingSpan& s = run.checkdat.casting[1];
  expect_near_rel(s.deck_span, 2.4f, "deck span");
  expect_near_rel(s.m_hog, -4.393f, "hogging at the prop");
  expect_near_rel(s.u_hog, 0.830f, "hogging utilisation");
  expect_near_rel(s.m_sag, 3.187f, "sagging moment");
  expect_near_rel(s.defl, 8.54f, "deflection");
  expect_near_rel(s.defl_limit, 13.33f, "limit");
  EXPECT_FLOAT_EQ(s.ponding, 0.0f);

  run.indat.deck_support = 2;
  casting_checks(run);
  const CastingSpan& t = run.checkdat.casting[1];
  EXPECT_FLOAT_EQ(t.m_hog, 0.0f);
  expect_near_rel(t.ponding, 0.3744f, "ponding load");
  expect_near_rel(t.defl, 22.91f, "deflection with ponding");
  expect_near_rel(t.u_defl, 1.718f, "deflection utilisation");
  expect_near_rel(t.m_sag, 4.724f, "sagging moment with ponding");
  expect_near_rel(t.u_sag, 0.893f, "sagging utilisation");
}

// One span 2.6 m, h 0.20: g = 0.089 + 26 * 0.1835 = 4.860; deflection
// 5 * 4.86 * 2.6^4/(384 * 69.3) = 41.7 mm > 20 mm, so ponding adds 26 * 0.7 * 0.0417 = 0.759;
// deflection 41.73 * 5.619/4.86 = 48.2 mm against 2600/180 = 14.44 mm: utilisation 3.34.
TEST(CastingStage, PondingOnceWhereTheDeckSagsMoreThanATenthOfTheSlab) {
  solvo::Run run = one_span(2.6f, 0.20f);
  casting_checks(run);
  const CastingSpan& s = run.checkdat.casting[1];
  expect_near_rel(s.ponding, 0.759f, "ponding load");
  expect_near_rel(s.defl, 48.2f, "deflection");
  expect_near_rel(s.defl_limit, 14.44f, "limit");
  expect_near_rel(s.u_defl, 3.34f, "utilisation");
  EXPECT_FALSE(s.beyond_range);
}

// One span 6.0 m, h 0.16, unpropped: g = 0.089 + 26 * 0.1435 = 3.820, deflection
// 5 * 3.82 * 6^4/(384 * 69.3) = 930.2 mm; ponding 18.2 * 0.9302 = 16.93 would make it
// 930.2 * 20.75/3.82 = 5053 mm > 6000/20: the deck is far outside its range. The figures are
// the first-order ones: 930.2 mm (27.9 x the limit of 33.3 mm), M = 0.91 (1.35 * 3.82 + 2.25)
// * 36/8 = 30.33; the span fails however small its utilisations would be, with at least 9.
TEST(CastingStage, FarOutsideTheRangeGivesFirstOrderFigures) {
  solvo::Run run = one_span(6.0f, 0.16f);
  casting_checks(run);
  const CastingSpan& s = run.checkdat.casting[1];
  EXPECT_TRUE(s.beyond_range);
  EXPECT_FLOAT_EQ(s.ponding, 0.0f);
  expect_near_rel(s.defl, 930.2f, "first-order deflection");
  expect_near_rel(s.u_defl, 27.91f, "first-order utilisation");
  expect_near_rel(s.m_sag, 30.33f, "first-order moment");
  CastingSpan& writable = run.checkdat.casting[1];
  writable.u_defl = writable.u_sag = writable.u_hog = 0.5f;
  const CheckVerdict v = check_verdict(run.checkdat, 1);
  EXPECT_FALSE(v.passes);
  EXPECT_EQ(v.governing, CheckKind::kDeckDeflection);
  // Ponding would take it beyond 6000/20 = 9 x 6000/180: at least 9 (finite, so that the
  // design search can print it).
  EXPECT_FLOAT_EQ(v.utilisation, 9.0f);
}

// Two spans of 2.0 m, h 0.35: concrete 26 * 0.3335 = 8.671, g = 8.760, deflection
// 8.76 * 16/(185 * 69.3) = 10.9 mm < 35 mm (no ponding). The working area 0.1 * 8.671 = 0.867
// on top of 0.75: full w = 0.91 (1.35 * 8.76 + 1.5 * 1.6171) = 12.969. Middle support with the
// working area on both spans (two deck spans meeting at a support): -12.969 * 4/8 = -6.4845,
// utilisation 1.226.
TEST(CastingStage, WorkingAreaOnTwoDeckSpansTogether) {
  solvo::Run run = one_span(2.0f, 0.35f);
  run.indat.n = 2;
  run.indat.span[2] = 2.0f;
  run.indat.thickness[2] = 0.35f;
  berdat(run);
  casting_checks(run);
  for (int i = 1; i <= 2; ++i) {
    const CastingSpan& s = run.checkdat.casting[static_cast<size_t>(i)];
    EXPECT_FLOAT_EQ(s.ponding, 0.0f) << i;
    expect_near_rel(s.q_work, 0.8671f, "working-area load");
    expect_near_rel(s.m_hog, -6.4845f, "hogging");
    expect_near_rel(s.u_hog, 1.226f, "hogging utilisation");
  }
}

// One span 2.0 m with a left cantilever of 1.0 m, h 0.35: G = 8.760 (concrete 8.671), working
// area 0.867; full w = 12.969, base 0.91 (1.35 * 8.76 + 1.125) = 11.785.
//   Root moment with the working area on the cantilever: -12.969/2 = -6.4845, utilisation 1.226.
//   Tip deflection under G (c = L/2: no rotation at the support) 8.76/(8 * 69.3) = 15.80 mm
//   < 35 mm (no ponding), limit 2 * 1000/180 = 11.11 mm, utilisation 1.422.
//   Span sagging with the cantilever not yet cast (1.1331): M1 = -0.5665, peak at
//   x = 1 + 0.5665/(12.969 * 2) = 1.0218: 12.969 * 1.0218 * 0.9782/2 - 0.5665 * 0.4891 = 6.204
//   (with the cantilever cast it would be 3.873).
TEST(CastingStage, CantileverAndTheCastingSequence) {
  solvo::Run run = one_span(2.0f, 0.35f);
  run.indat.cant_left = 1.0f;
  berdat(run);
  casting_checks(run);
  const CastingCantilever& k = run.checkdat.cant_left;
  expect_near_rel(k.length, 1.0f, "length");
  expect_near_rel(k.m_root, -6.4845f, "root moment");
  expect_near_rel(k.u_moment, 1.226f, "root utilisation");
  expect_near_rel(k.defl, 15.80f, "tip deflection");
  expect_near_rel(k.defl_limit, 11.11f, "tip limit");
  expect_near_rel(k.u_defl, 1.422f, "tip utilisation");
  EXPECT_FLOAT_EQ(k.ponding, 0.0f);
  EXPECT_FLOAT_EQ(run.checkdat.cant_right.length, 0.0f);
  expect_near_rel(run.checkdat.casting[1].m_sag, 6.204f, "sagging behind the cantilever");
  const CheckVerdict v = check_verdict(run.checkdat, 1);
  EXPECT_FALSE(v.passes);
  EXPECT_EQ(v.governing, CheckKind::kCantileverDeflection);
  EXPECT_EQ(v.span, 1);  // the support it hangs from
}

// A cantilever of c = L/2 at the right, h 0.14 (threshold 14 mm): G 3.300, tip
// 3.3 * 1.5^4/(8 * 69.3) = 30.13 mm before ponding (no rotation at the support), so ponding
// 18.2 * 0.030134 = 0.548 on the cantilever. The span, v(x) = (w x (L^3 - 2 L x^2 + x^3)/24
// + M xi (1 - xi^2) L^2/6)/EI with M = -3.7125 at the cantilever's end, deflects most at
// x = 1.265 m from the other support: 20.89 mm > 14 mm, ponding 18.2 * 0.02089 = 0.380.
// Cantilever then 3.848, span 3.680: M = -3.848 * 1.125 = -4.329; the span's slope at the
// cantilever -(3.680 * 27/24 - 2 * 4.329 * 3/6)/69.3 = +0.002731 (down towards the tip), so
// the tip deflects 3.848 * 5.0625/554.4 + 1.5 * 0.002731 = 35.14 + 4.10 = 39.24 mm.
TEST(CastingStage, PondingOnACantilever) {
  solvo::Run run = one_span(3.0f, 0.14f);
  run.indat.cant_right = 1.5f;
  berdat(run);
  casting_checks(run);
  const CastingCantilever& k = run.checkdat.cant_right;
  expect_near_rel(k.ponding, 0.548f, "cantilever ponding");
  expect_near_rel(run.checkdat.casting[1].ponding, 0.380f, "span ponding");
  expect_near_rel(k.defl, 39.24f, "tip deflection");
  expect_near_rel(k.defl_limit, 16.67f, "tip limit");
}

// The line loads while casting, one span 4.8 m with one prop (h 0.14):
//   the prop with the working area on both deck spans: 1.25 w L = 1.25 * 6.1016 * 2.4 = 18.30
//   design, 1.25 (3.3 + 1.5) 2.4 = 14.40 characteristic;
//   an end support with the working area on its deck span and the other not yet cast:
//   R = L (7 w1 - w2)/16 = 2.4 (7 * 6.1016 - 1.1331)/16 = 6.237; characteristic
//   2.4 (7 * 4.8 - 0.839)/16 = 4.914.
TEST(CastingStage, LineLoadsOnPropsAndSupports) {
  solvo::Run run = one_span(4.8f, 0.14f, 1);
  casting_checks(run);
  const Checkdat& d = run.checkdat;
  ASSERT_EQ(d.reactions, 3);
  struct Row {
    int span, at;
    float characteristic, design;
  };
  const Row rows[] = {{0, 1, 4.914f, 6.237f}, {1, 1, 14.40f, 18.30f}, {0, 2, 4.914f, 6.237f}};
  for (int r = 0; r < 3; ++r) {
    const CastingReaction& x = d.reaction[static_cast<size_t>(r + 1)];
    EXPECT_EQ(x.span, rows[r].span) << r;
    EXPECT_EQ(x.at, rows[r].at) << r;
    expect_near_rel(x.characteristic, rows[r].characteristic, "characteristic");
    expect_near_rel(x.design, rows[r].design, "design");
  }
}

// A case of ten spans, two props in each: 30 deck spans of 2.0 m (6.0 m spans, h 0.14),
// continuous, 31 support and prop lines. The middle supports of a long row of equal spans
// carry -w L^2/12 under the base load alone (see the beam test): -5.078 * 4/12 = -1.693; the
// working area and the spans not yet cast only add hogging, and no arrangement with at most
// the full 6.1016 on any span reaches the two-span value -6.1016 * 4/8 = -3.051.
TEST(CastingStage, ThirtyDeckSpans) {
  solvo::Run run;
  blkdat(run);
  Indat& c = run.indat;
  c.n = 10;
  for (int i = 1; i <= 10; ++i) {
    c.span[i] = 6.0f;
    c.thickness[i] = 0.14f;
    c.props[i] = 2;
  }
  c.support_width = {};
  berdat(run);
  casting_checks(run);
  const float middle = run.checkdat.casting[5].m_hog;
  EXPECT_LT(middle, -1.693f);
  EXPECT_GT(middle, -3.051f);
  expect_near_rel(run.checkdat.casting[5].deck_span, 2.0f, "deck span");
  EXPECT_EQ(run.checkdat.reactions, 31);
}

// The props a span needs (h as given, the default case's loads):
//  - 2.0 m, h 0.14 passes unpropped (above): none needed;
//  - 6.0 m, h 0.16: one prop gives deck spans of 3.0 m, hogging at least
//    0.91 (1.35 * 3.82 + 2.25) * 9/8 = 7.58 > 5.29; two give 2.0 m, deflection about
//    0.0069 * 3.82 * 16/69.3 = 6.1 mm < 11.1 (no ponding: < 16 mm) and hogging at most
//    6.740 * 4/8 = 3.37 < 5.29: two;
//  - 12.0 m, h 0.30: four props give deck spans of 2.4 m, hogging near
//    0.91 (1.35 * 7.46 + 1.5 * 1.496) * 5.76/8 = 8.1 > 5.29: more than four.
TEST(CastingStage, PropsNeeded) {
  struct Row {
    float span, h;
    int needed;
  };
  const Row rows[] = {{2.0f, 0.14f, -1}, {6.0f, 0.16f, 2}, {12.0f, 0.30f, kMaxProps + 1}};
  for (const Row& r : rows) {
    solvo::Run run = one_span(r.span, r.h);
    casting_checks(run);
    props_needed(run);
    EXPECT_EQ(run.checkdat.casting[1].props_needed, r.needed) << r.span;
  }
  // The 2.0 m span of h 0.35 behind a 1.0 m cantilever (CantileverAndTheCastingSequence): its
  // sagging 6.204 fails, and its hogging is the cantilever's root moment -6.4845, which props
  // in the span do not change. One prop gives deck spans of 1.0 m, sagging at most
  // 12.969/8 = 1.62: one prop, however much the cantilever fails.
  solvo::Run cant = one_span(2.0f, 0.35f);
  cant.indat.cant_left = 1.0f;
  berdat(cant);
  slab_checks(cant);
  EXPECT_EQ(cant.checkdat.casting[1].props_needed, 1);
  EXPECT_GT(cant.checkdat.cant_left.u_moment, 1.0f);

  // Two spans of 6.0 m (the default case): each fails through the other's hogging over the
  // middle support too; two props in both make every check pass.
  solvo::Run two = one_span(6.0f, 0.16f);
  two.indat.n = 2;
  two.indat.span[2] = 6.0f;
  two.indat.thickness[2] = 0.16f;
  berdat(two);
  slab_checks(two);
  EXPECT_EQ(two.checkdat.casting[1].props_needed, 2);
  EXPECT_EQ(two.checkdat.casting[2].props_needed, 2);
}

// ---- Anti-crack reinforcement --------------------------------------------------------------

// Area per support = the larger of the spans beside it: 0.2 % (0.4 % propped) of
// (h - 0.045) * 1E6 mm2/m, at least 80; spacing = bar area * 1000/area, truncated, at most 2h
// and 350 mm.
TEST(CrackReinforcement, AreaAndSpacingOverTheSupports) {
  struct Row {
    float h;
    int props, bar;  // bar size code: 1 = 6, 3 = 10, 5 = 16 mm
    float area;
    int spacing;
  };
  const Row rows[] = {
      {0.14f, 0, 3, 190.0f, 280},  // 78500/190 = 413 -> 2h = 280
      {0.14f, 1, 3, 380.0f, 206},  // 78500/380 = 206.6
      {0.25f, 0, 5, 410.0f, 350},  // 201000/410 = 490 -> 350 (2h = 500)
      {0.10f, 0, 1, 110.0f, 200},  // 28300/110 = 257 -> 2h = 200
      {0.08f, 0, 1, 80.0f, 160},   // 0.002 * 35000 = 70 -> 80; 28300/80 = 353 -> 2h = 160
  };
  for (const Row& r : rows) {
    solvo::Run run = one_span(4.0f, r.h, r.props);
    run.indat.top_bar = r.bar;
    berdat(run);
    crack_reinforcement(run);
    for (int j = 1; j <= 2; ++j) {
      EXPECT_NEAR(run.checkdat.crack_area[j], r.area, 0.01f) << r.h << " " << r.props;
      EXPECT_EQ(run.checkdat.crack_spacing[j], r.spacing) << r.h << " " << r.props << " " << r.bar;
      EXPECT_EQ(run.checkdat.crack_spacing_max[j],
                std::min(static_cast<int>(2000 * r.h + 0.5f), 350))
          << r.h;
    }
  }
  // Two spans of h 0.14, the first propped: the middle support takes the propped 380 mm2/m,
  // the last support the unpropped 190.
  solvo::Run two = one_span(4.0f, 0.14f, 1);
  two.indat.n = 2;
  two.indat.span[2] = 4.0f;
  two.indat.thickness[2] = 0.14f;
  berdat(two);
  crack_reinforcement(two);
  EXPECT_NEAR(two.checkdat.crack_area[1], 380.0f, 0.01f);
  EXPECT_NEAR(two.checkdat.crack_area[2], 380.0f, 0.01f);
  EXPECT_NEAR(two.checkdat.crack_area[3], 190.0f, 0.01f);
}

// Whether the designed top bars (Ø10, 78.5 mm2) give it: at s mm they give 78500/s mm2/m.
TEST(CrackReinforcement, WhetherTheTopBarsProvideIt) {
  struct Row {
    int props;
    float s;
    bool provided;
  };
  const Row rows[] = {
      {0, 200.0f, true},   // 392 >= 190, 200 <= 280
      {0, 300.0f, false},  // 262 >= 190 but 300 > 280
      {0, 0.0f, false},    // no bars
      {1, 250.0f, false},  // 314 < 380
      {1, 200.0f, true},   // 392 >= 380, 200 <= 206
  };
  for (const Row& r : rows) {
    solvo::Run run = one_span(4.0f, 0.14f, r.props);
    crack_reinforcement(run);
    run.utdat.s[2] = r.s;
    EXPECT_EQ(crack_steel_provided(run, 2), r.provided) << r.props << " " << r.s;
  }
}

// ---- Natural frequency ---------------------------------------------------------------------

// One 6.0 m clear span, h 0.14, C35/45 (short-term EI 4529 kNm2/m), g 0.5, q 2.0: mass
// (3.1765 + 0.5 + 0.1 * 2.0) 1000/9.81 = 395.2 kg/m2; simply supported
// f = (pi/(2 L^2)) sqrt(EI/m) = 0.043633 * sqrt(4.529E6/395.16) = 4.671 Hz, utilisation
// 5/4.671 = 1.070.
TEST(NaturalFrequency, SimplySupportedSpan) {
  solvo::Run run = one_span(6.0f, 0.14f);
  run.indat.concrete_class = 4;
  run.indat.perm_load[1] = 0.5f;
  run.indat.imposed_load[1] = 2.0f;
  berdat(run);
  natural_frequency(run);
  const Checkdat& d = run.checkdat;
  expect_near_rel(d.freq_ei[1], 4529.0f, "stiffness");
  expect_near_rel(d.freq_mass[1], 395.16f, "mass");
  expect_near_rel(d.freq, 4.671f, "frequency");
  expect_near_rel(d.u_freq, 1.070f, "utilisation");
  EXPECT_EQ(d.freq_span, 1);

  run.indat.freq_min = 0.0f;
  natural_frequency(run);
  EXPECT_FLOAT_EQ(run.checkdat.u_freq, 0.0f);  // no limit, no check
}

// The closed forms through the slab: n equal spans vibrate as one simply supported span
// (neighbours in opposite directions); a long span next to a very short one as a span clamped
// at one end and pinned at the other: 15.418/pi^2 = 1.5622 times the simply supported value.
// A 1.5 m cantilever behind a 0.01 m span: clamped-free, 1.8751^2/(2 pi c^2) sqrt(EI/m).
TEST(NaturalFrequency, ClosedFormsOfTheWholeSlab) {
  const float pi = 3.14159265f;
  struct Row {
    const char* name;
    int n;
    float first, rest, cant;
    float factor;  // f / ((pi/(2 * 6^2)) sqrt(EI/m)) of a 6 m span, or of the cantilever
  };
  const Row rows[] = {
      {"two equal spans", 2, 6.0f, 6.0f, 0.0f, 1.0f},
      {"five equal spans", 5, 6.0f, 6.0f, 0.0f, 1.0f},
      {"long span next to a very short one", 2, 6.0f, 0.006f, 0.0f, 15.418f / (pi * pi)},
  };
  for (const Row& r : rows) {
    solvo::Run run = one_span(r.first, 0.14f);
    run.indat.n = r.n;
    for (int i = 2; i <= r.n; ++i) {
      run.indat.span[i] = r.rest;
      run.indat.thickness[i] = 0.14f;
      run.indat.perm_load[i] = run.indat.perm_load[1];
      run.indat.imposed_load[i] = run.indat.imposed_load[1];
    }
    berdat(run);
    natural_frequency(run);
    const Checkdat& d = run.checkdat;
    const float simple = pi / (2.0f * 36.0f) * std::sqrt(1000.0f * d.freq_ei[1] / d.freq_mass[1]);
    expect_near_rel(d.freq, r.factor * simple, r.name);
  }
  solvo::Run run = one_span(0.01f, 0.14f);
  run.indat.cant_right = 1.5f;
  berdat(run);
  natural_frequency(run);
  const Checkdat& d = run.checkdat;
  const float clamped =
      1.8751f * 1.8751f / (2.0f * pi * 2.25f) * std::sqrt(1000.0f * d.freq_ei[1] / d.freq_mass[1]);
  expect_near_rel(d.freq, clamped, "cantilever");
}

// Two 6 m spans with a long cantilever: the cantilever's mass lowers the frequency below
// that of the spans alone; a span that lifts still has its mode (no infinite frequency).
TEST(NaturalFrequency, CantileversTakePart) {
  solvo::Run run = one_span(6.0f, 0.14f);
  run.indat.n = 2;
  run.indat.span[2] = 6.0f;
  run.indat.thickness[2] = 0.14f;
  berdat(run);
  natural_frequency(run);
  const float spans = run.checkdat.freq;
  run.indat.cant_left = 2.5f;
  natural_frequency(run);
  EXPECT_TRUE(std::isfinite(run.checkdat.freq));
  EXPECT_LT(run.checkdat.freq, spans);
}

// The frequency analysis leaves the analysis state as it was.
TEST(NaturalFrequency, LeavesTheAnalysisStateAlone) {
  solvo::Run run = one_span(6.0f, 0.14f);
  run.snitt.m[1] = 12.5f;
  run.snitt.w[1] = 7.0f;
  natural_frequency(run);
  EXPECT_FLOAT_EQ(run.snitt.m[1], 12.5f);
  EXPECT_FLOAT_EQ(run.snitt.w[1], 7.0f);
}

// ---- Verdict ----------------------------------------------------------------------------

TEST(CheckVerdict, LargestUtilisationGovernsAndAnyAboveOneFails) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Row {
    const char* name;
    float sag, hog, defl;   // of span 2; span 1 has 0.5 everywhere
    float freq, root, tip;  // the whole slab, the right cantilever
    bool passes;
    CheckKind governing;
    int span;
  };
  const Row rows[] = {
      {"all below one", 0.6f, 0.7f, 0.8f, 0.2f, 0.3f, 0.3f, true, CheckKind::kDeckDeflection, 2},
      {"exactly one passes", 1.0f, 0.7f, 0.8f, 0.2f, 0.3f, 0.3f, true, CheckKind::kDeckSagging, 2},
      {"hogging fails", 0.6f, 1.2f, 0.8f, 0.2f, 0.3f, 0.3f, false, CheckKind::kDeckHogging, 2},
      {"frequency fails", 0.6f, 0.7f, 0.8f, 1.05f, 0.3f, 0.3f, false, CheckKind::kFrequency, 1},
      {"not a number fails", 0.6f, nan, 0.8f, 0.2f, 0.3f, 0.3f, false, CheckKind::kDeckHogging, 2},
      {"span 1 governs", 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, true, CheckKind::kDeckSagging, 1},
      {"cantilever root", 0.6f, 0.7f, 0.8f, 0.2f, 1.3f, 0.3f, false, CheckKind::kCantileverMoment,
       3},
      {"cantilever tip", 0.6f, 0.7f, 0.8f, 0.2f, 0.3f, 1.4f, false,
       CheckKind::kCantileverDeflection, 3},
  };
  for (const Row& r : rows) {
    Checkdat d;
    d.casting[1].u_sag = d.casting[1].u_hog = d.casting[1].u_defl = 0.5f;
    d.casting[2].u_sag = r.sag;
    d.casting[2].u_hog = r.hog;
    d.casting[2].u_defl = r.defl;
    d.u_freq = r.freq;
    d.freq_span = 1;
    d.cant_right.length = 1.0f;
    d.cant_right.u_moment = r.root;
    d.cant_right.u_defl = r.tip;
    const CheckVerdict v = check_verdict(d, 2);
    EXPECT_EQ(v.passes, r.passes) << r.name;
    EXPECT_EQ(v.governing, r.governing) << r.name;
    EXPECT_EQ(v.span, r.span) << r.name;
  }
}

// Every kind of check that fails is kept, once, at its worst place: the console line names
// them all, not only the one that governs.
TEST(CheckVerdict, EveryFailingKindIsKeptAtItsWorstPlace) {
  Checkdat d;
  d.casting[1].u_sag = 1.2f;  // sagging fails in both spans, worse in span 2
  d.casting[2].u_sag = 1.5f;
  d.casting[1].u_hog = 0.9f;   // hogging passes
  d.casting[2].u_defl = 6.0f;  // deflection governs
  d.cant_right.length = 1.0f;
  d.cant_right.u_moment = 1.1f;
  d.u_freq = 0.5f;
  d.freq_span = 1;
  const CheckVerdict v = check_verdict(d, 2);
  EXPECT_FALSE(v.passes);
  EXPECT_EQ(v.governing, CheckKind::kDeckDeflection);
  ASSERT_EQ(v.failing_count, 3);
  const CheckItem want[] = {{CheckKind::kDeckSagging, 2, 1.5f},
                            {CheckKind::kDeckDeflection, 2, 6.0f},
                            {CheckKind::kCantileverMoment, 3, 1.1f}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(v.failing[k].kind, want[k].kind) << k;
    EXPECT_EQ(v.failing[k].span, want[k].span) << k;
    EXPECT_FLOAT_EQ(v.failing[k].utilisation, want[k].utilisation) << k;
  }
}

// The whole checks on one passing case: the verdict is stored in the run state and returned.
TEST(CheckVerdict, SlabChecksStoreTheVerdict) {
  solvo::Run run = one_span(2.0f, 0.14f);  // deflection 0.893 governs (see OneSpanOfTwoMetres)
  run.indat.freq_min = 0.0f;
  const CheckVerdict& v = slab_checks(run);
  EXPECT_TRUE(v.passes);
  EXPECT_EQ(v.governing, CheckKind::kDeckDeflection);
  expect_near_rel(v.utilisation, 0.893f, "governing utilisation");
  EXPECT_EQ(&v, &run.checkdat.verdict);
}

// A cantilever check is named by its support in the console line and the design search.
TEST(CheckVerdict, CantileverChecksAreNamedByTheirSupport) {
  EXPECT_EQ(check_name(Check::kCantileverMoment, 1),
            "Byggskede, konsolmoment st\xc3\xb6"
            "d 1");
  EXPECT_EQ(check_name(Check::kCantileverDeflection, 3),
            "Byggskede, konsolnedb\xc3\xb6jning st\xc3\xb6"
            "d 3");
  solvo::Run run = one_span(2.0f, 0.35f);  // the cantilever of CantileverAndTheCastingSequence
  run.indat.cant_left = 1.0f;
  berdat(run);
  slab_checks(run);
  const Verdict v = slab_verdict(run);
  EXPECT_FALSE(v.passes);
  EXPECT_EQ(v.governing.check, Check::kCantileverDeflection);
  EXPECT_EQ(v.governing.where, 1);
}

}  // namespace
}  // namespace solvo
