// The checks of report page 6 against hand calculations: the continuous deck beam (closed
// forms of equal spans), the deck as formwork during casting (the three worked cases of the
// construction stage, props, ponding and the working-area load), the anti-crack reinforcement
// and the natural frequency, and the verdict that a design search reads.
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

// One span 2.0 m, h 0.14, no props: concrete 26 * 0.1235 = 3.211, + deck 0.089 = 3.300;
// deflection 5 * 3.3 * 2^4/(384 * 69.3) = 9.92 mm, below h/10 = 14 mm: no ponding; limit
// 2000/180 = 11.11 mm, utilisation 0.893. Working-area load 0.1 * 3.211 = 0.32 -> 0.75.
// w = 0.91 (1.35 * 3.300 + 1.5 * 0.75) = 5.078; M = 5.078 * 4/8 = 2.539, utilisation 0.480.
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
  expect_near_rel(s.m_sag, 2.539f, "sagging moment");
  expect_near_rel(s.u_sag, 0.480f, "sagging utilisation");
  EXPECT_FLOAT_EQ(s.m_hog, 0.0f);
  EXPECT_FLOAT_EQ(s.u_hog, 0.0f);
  expect_near_rel(s.deck_span, 2.0f, "deck span");
}

// One slab span 4.8 m, h 0.14, one prop, continuous: two deck spans of 2.4 m.
//   Hogging at the prop -w L^2/8 = -5.078 * 5.76/8 = -3.656, utilisation 0.691;
//   sagging 9 w L^2/128 = 0.0703125 * 5.078 * 5.76 = 2.057, utilisation 0.389;
//   deflection 3.3 * 2.4^4/(185 * 69.3) = 8.54 mm against 2400/180 = 13.33 mm.
// The same simply supported between support and prop: M = w L^2/8; deflection
//   5 * 3.3 * 2.4^4/(384 * 69.3) = 20.57 mm > 14 mm, so ponding adds 18.2 * 0.020571 = 0.3744:
//   g = 3.6744, deflection 20.57 * 3.6744/3.3 = 22.91 mm, utilisation 22.91/13.33 = 1.718;
//   w = 0.91 (1.35 * 3.6744 + 1.125) = 5.5377, M = 5.5377 * 5.76/8 = 3.987, utilisation 0.754.
TEST(CastingStage, OnePropMakesTwoDeckSpans) {
  solvo::Run run = one_span(4.8f, 0.14f, 1);
  casting_checks(run);
  const CastingSpan& s = run.checkdat.casting[1];
  expect_near_rel(s.deck_span, 2.4f, "deck span");
  expect_near_rel(s.m_hog, -3.656f, "hogging at the prop");
  expect_near_rel(s.u_hog, 0.691f, "hogging utilisation");
  expect_near_rel(s.m_sag, 2.057f, "sagging moment");
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
  expect_near_rel(t.m_sag, 3.987f, "sagging moment with ponding");
  expect_near_rel(t.u_sag, 0.754f, "sagging utilisation");
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
}

// Two spans of 2.0 m, h 0.35: concrete 26 * 0.3335 = 8.671, g = 8.760, deflection
// 8.76 * 16/(185 * 69.3) = 10.9 mm < 35 mm (no ponding). The working-area load is
// 0.1 * 8.671 = 0.867 kN/m2, so one span at a time carries
// dq = 0.91 * 1.5 * (0.867 - 0.75) = 0.1598 more; base w0 = 0.91 (1.35 * 8.76 + 1.125) = 11.7854.
// Middle support: -(w0 + dq) L^2/8 = -(11.9453 * 4)/8 = -5.9726, utilisation 1.129.
// Span 1 with dq on it alone: M(x) = (w0 + dq) x (L - x)/2 - (w0/8 + dq/16) L x, largest at
// x = L/2 - (w0/8 + dq/16) L/(w0 + dq) = 0.7517 m: 5.6043 - 2.2297 = 3.3746.
TEST(CastingStage, WorkingAreaLoadOneSpanAtATime) {
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
    expect_near_rel(s.m_hog, -5.9726f, "hogging");
    expect_near_rel(s.u_hog, 1.129f, "hogging utilisation");
    expect_near_rel(s.m_sag, 3.3746f, "sagging");
  }
}

// A case of ten spans, two props in each: 30 deck spans. Equal spans of 6.0 m, h 0.14:
// deck spans of 2.0 m, continuous. The interior supports of a long row of equal spans carry
// -w L^2/12 (see the beam test): w = 5.078, -5.078 * 4/12 = -1.693; the first prop
// -0.10566 * 5.078 * 4 = -2.146.
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
  expect_near_rel(run.checkdat.casting[1].m_hog, -2.146f, "end group");
  expect_near_rel(run.checkdat.casting[5].m_hog, -1.693f, "middle group");
  expect_near_rel(run.checkdat.casting[5].deck_span, 2.0f, "deck span");
}

// ---- Anti-crack reinforcement --------------------------------------------------------------

// Area = 0.2 % (0.4 % propped) of (h - 0.045) * 1E6 mm2/m; spacing = bar area * 1000/area,
// truncated, at most 3h and 400 mm.
TEST(CrackReinforcement, AreaAndSpacingOfTheTopBar) {
  struct Row {
    float h;
    int props, bar;  // bar size code: 1 = 6, 3 = 10, 5 = 16 mm
    float area;
    int spacing;
  };
  const Row rows[] = {
      {0.14f, 0, 3, 190.0f, 400},  // 78500/190 = 413 -> 400
      {0.14f, 1, 3, 380.0f, 206},  // 78500/380 = 206.6
      {0.14f, 0, 5, 190.0f, 400},  // 201000/190 = 1057 -> 400
      {0.10f, 0, 1, 110.0f, 257},  // 28300/110 = 257.3 (3h = 300)
      {0.12f, 0, 3, 150.0f, 360},  // 78500/150 = 523 -> 3h = 360
  };
  for (const Row& r : rows) {
    solvo::Run run = one_span(4.0f, r.h, r.props);
    run.indat.top_bar = r.bar;
    berdat(run);
    crack_reinforcement(run);
    EXPECT_NEAR(run.checkdat.crack_area[1], r.area, 0.01f) << r.h << " " << r.props;
    EXPECT_EQ(run.checkdat.crack_spacing[1], r.spacing) << r.h << " " << r.props << " " << r.bar;
  }
}

// ---- Natural frequency ---------------------------------------------------------------------

// One 6.0 m clear span, h 0.14, C35/45 (short-term EI 4.529E6 N m2/m), g 0.5, q 2.0:
// w = 3.1765 + 0.5 + 0.1 * 2.0 = 3.8765; deflection 5 * 3.8765 * 6^4/(384 * 4529) = 14.44 mm;
// f = 18/sqrt(14.44) = 4.74 Hz, below 5 Hz: utilisation 5/4.737 = 1.056.
TEST(NaturalFrequency, SimplySupportedSixMetreSpan) {
  solvo::Run run = one_span(6.0f, 0.14f);
  run.indat.concrete_class = 4;
  run.indat.perm_load[1] = 0.5f;
  run.indat.imposed_load[1] = 2.0f;
  berdat(run);
  natural_frequency(run);
  const Checkdat& d = run.checkdat;
  expect_near_rel(d.freq_defl[1], 14.44f, "deflection");
  expect_near_rel(d.freq[1], 4.74f, "frequency");
  expect_near_rel(d.u_freq[1], 1.056f, "utilisation");

  run.indat.freq_min = 0.0f;
  natural_frequency(run);
  EXPECT_FLOAT_EQ(run.checkdat.u_freq[1], 0.0f);  // no limit, no check
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
    float sag, hog, defl, freq;  // of span 2; span 1 has 0.5 everywhere
    bool passes;
    CheckKind governing;
    int span;
  };
  const Row rows[] = {
      {"all below one", 0.6f, 0.7f, 0.8f, 0.2f, true, CheckKind::kDeckDeflection, 2},
      {"exactly one passes", 1.0f, 0.7f, 0.8f, 0.2f, true, CheckKind::kDeckSagging, 2},
      {"hogging fails", 0.6f, 1.2f, 0.8f, 0.2f, false, CheckKind::kDeckHogging, 2},
      {"frequency fails", 0.6f, 0.7f, 0.8f, 1.05f, false, CheckKind::kFrequency, 2},
      {"not a number fails", 0.6f, nan, 0.8f, 0.2f, false, CheckKind::kDeckHogging, 2},
      {"span 1 governs", 0.1f, 0.1f, 0.1f, 0.1f, true, CheckKind::kDeckSagging, 1},
  };
  for (const Row& r : rows) {
    Checkdat d;
    d.casting[1].u_sag = d.casting[1].u_hog = d.casting[1].u_defl = d.u_freq[1] = 0.5f;
    d.casting[2].u_sag = r.sag;
    d.casting[2].u_hog = r.hog;
    d.casting[2].u_defl = r.defl;
    d.u_freq[2] = r.freq;
    const CheckVerdict v = check_verdict(d, 2);
    EXPECT_EQ(v.passes, r.passes) << r.name;
    EXPECT_EQ(v.governing, r.governing) << r.name;
    EXPECT_EQ(v.span, r.span) << r.name;
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

}  // namespace
}  // namespace solvo
