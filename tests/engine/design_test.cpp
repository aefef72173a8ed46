// The design against hand calculations. Unless a test says otherwise: market 1 (SVERIGE),
// C35/45, top bars grade 500 of 10 mm (78.5 mm2, 0.664 kg/m) with 15 mm cover, so
// fcd = 35000/1.5 = 23333.3 kN/m2, fyd = 500000/1.15 = 434782.6 kN/m2, the top bars lie
// a = (5 + 15)/1000 = 0.020 m below the top face; deck fypd = 320000 kN/m2.
#include "design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis.h"
#include "case_input.h"
#include "section.h"

namespace solvo {
namespace {

constexpr int kRow = 3;  // the default load-set selector: both expressions

// The section routines stop when two successive depths differ by at most 0.0001 m and take
// their results at the last depth: areas and capacities then lie within about 0.1 % of the
// exact root's.
constexpr float kAreaTol = 0.001f;

// A slab of n equal spans of `span` m on 0.1 m supports, 0.2 m thick, material values
// derived as the engine does.
Run slab(int n, float span = 4.1f, float thickness = 0.2f) {
  solvo::Run run;
  Indat& c = run.indat;
  c.n = n;
  for (int i = 1; i <= n; ++i) {
    c.span[i] = span;
    c.thickness[i] = thickness;
  }
  for (int j = 1; j <= n + 1; ++j) c.support_width[j] = 0.1f;
  berdat(run);
  return run;
}

// ---- Support design ----------------------------------------------------------------------

// Two equal spans, full ultimate load, row 2 (6.10b), market 6 (gammaD = 1):
//   G = (0.14 - 0.0165) 25 + 0.089 + 0.8235 = 4.0 kN/m2, q = 2.0 kN/m2
//   w = 0.89 * 1.35 * 4.0 + 1.5 * 2.0 = 7.806 kN/m2; clear span Le = 4.1 - 0.1 = 4.0 m
// The min envelope of the middle support is arrangement 0 (G on both spans) plus the two
// single-span arrangements: all of w on both spans. The twenty point loads per span give
// end rotations w L^3/24 + w h^2 L/48 (h = 0.2 m; the midpoint sum of a (L^2 - a^2) exceeds
// its integral by h^2 L^2/8), so M = -(w L^2/8 + w h^2/16) = -(15.612 + 0.0195) = -15.6315.
// samm1s by hand, d = 0.14 - 0.02 = 0.12, compression in the ribs (x <= 0.045):
//   x (w2 + t)(d - zc) = M s/(0.85 fcd) = 1.18222E-4 with t = 2x/3 gives x = 0.015056,
//   zc = x (0.03 + 0.4444 x)/(0.06 + 0.6667 x) = 0.0078877; bar strain 0.0244 > 0.00207,
//   As = 15.6315/(434782.6 (0.12 - 0.0078877)) = 3.2068E-4 m2/m
//   S = 78.5/(0.32068) = 244.8 -> 244 mm.
TEST(DesignSupports, MiddleSupportOfTwoSpansCarriesTheFullUltimateLoad) {
  solvo::Run run = slab(2, 4.1f, 0.14f);
  run.indat.market = 6;
  run.indat.load_set = 2;
  for (int i = 1; i <= 2; ++i) {
    run.indat.perm_load[i] = 0.8235f;
    run.indat.imposed_load[i] = 2.0f;
  }
  berdat(run);
  int32_t flag = 0;
  snikra(run, flag);
  ASSERT_NEAR(run.arbvar.ms_min[kRowUlsB][2], -15.6315f, 0.002f);
  design_supports(run);
  const Utdat& u = run.utdat;
  EXPECT_NEAR(u.as[2], 3.2068E-4f, kAreaTol * 3.2068E-4f);
  EXPECT_EQ(u.s[2], 244.0f);
  // End supports without cantilevers carry no moment: no bars.
  EXPECT_EQ(u.as[1], 0.0f);
  EXPECT_EQ(u.s[1], 0.0f);
  EXPECT_EQ(u.s[3], 0.0f);
  EXPECT_FLOAT_EQ(u.a[2], 0.02f);
}

// The design moment is the min (most hogging) envelope; the max envelope must not be used.
TEST(DesignSupports, DesignsForTheMostHoggingMomentAndUsesTheThinnerSpan) {
  solvo::Run run = slab(2);
  run.indat.thickness[2] = 0.14f;
  run.arbvar.ms_min[kRow][2] = -15.5925f;
  run.arbvar.ms_max[kRow][2] = -3.0f;
  design_supports(run);
  // The section of the test above (the thinner span's 0.14 m governs over the support), by
  // hand for 15.5925 kNm/m: x = 0.015021, zc = 0.0078686,
  // As = 15.5925/(434782.6 (0.12 - 0.0078686)) = 3.1983E-4, S = 78.5/0.31983 = 245.4 -> 245.
  EXPECT_NEAR(run.utdat.as[2], 3.1983E-4f, kAreaTol * 3.1983E-4f);
  EXPECT_EQ(run.utdat.s[2], 245.0f);
}

// A moment that no depth of compression can carry: area 1000000, spacing 0.
TEST(DesignSupports, NoEquilibriumGivesSpacingZero) {
  solvo::Run run = slab(2, 4.1f, 0.1f);
  run.arbvar.ms_min[kRow][2] = -300.0f;
  design_supports(run);
  EXPECT_EQ(run.utdat.as[2], 1000000.0f);
  EXPECT_EQ(run.utdat.s[2], 0.0f);
}

// ---- Span checks ---------------------------------------------------------------------------

// Deck alone, 0.2 m slab: x = 0.000955 * 320000/(0.85 * 23333.3) = 0.015408 m (the deck
// yields: strain 0.0376), Mr = (0.181 - 0.007704) * 305.6 = 52.959 kNm/m.
TEST(DesignSpans, MomentUtilisationAboveOneIsNotCapped) {
  solvo::Run run = slab(1);
  run.arbvar.m_span_max[kRow][1] = 1.5f * 52.959f;
  design_spans(run);
  EXPECT_NEAR(run.utdat.mr_span[1], 52.959f, kAreaTol * 52.959f);
  EXPECT_NEAR(run.utdat.uf[1], 1.5f, kAreaTol * 1.5f);
}

// Slenderness: clear span 4.0 m, 0.2 m thick: 4.0/(33 * 0.2) = 0.60606 at end spans,
// 4.0/(36 * 0.2) = 0.55556 at inner spans; a single span is an end span.
TEST(DesignSpans, SlendernessUses33AtEndSpansAnd36Inside) {
  struct Case {
    int n;
    int span;
    float want;
  };
  const Case cases[] = {
      {1, 1, 0.60606f}, {3, 1, 0.60606f}, {3, 2, 0.55556f}, {3, 3, 0.60606f}, {4, 3, 0.55556f}};
  for (const Case& k : cases) {
    solvo::Run run = slab(k.n);
    design_spans(run);
    EXPECT_NEAR(run.utdat.us[k.span], k.want, 0.00002f) << "n " << k.n << " span " << k.span;
  }
}

// Deflections, clear span 4.0 m, limits span/250 = 16 mm and span/500 = 8 mm:
//   w1 = 12 mm long term, w2 = 5 mm short term, w3f = 1.5 mm, w3c = 3 mm, pre-camber 2 mm
//   initial DI = 12 - 2 = 10 mm, 10/16 = 0.625
//   additional DT = 12 - 5 + 1.5 = 8.5 mm (frequent), 8.5/8 = 1.0625;
//                 = 12 - 5 + 3 = 10 mm (characteristic), 10/8 = 1.25
TEST(DesignSpans, DeflectionsTakeTheRowsOfTheChosenLoadOption) {
  struct Case {
    int32_t option;
    float dt, udt;
  };
  const Case cases[] = {{1, 8.5f, 1.0625f}, {2, 10.0f, 1.25f}};
  for (const Case& k : cases) {
    solvo::Run run = slab(1);
    run.indat.defl_load = k.option;
    run.indat.precamber = 2.0f;
    run.arbvar.d_span_max[kRowQuasiLong][1] = 0.012f;
    run.arbvar.d_span_max[kRowQuasiShort][1] = 0.005f;
    run.arbvar.d_span_max[kRowFrequent][1] = 0.0015f;
    run.arbvar.d_span_max[kRowCharacteristic][1] = 0.003f;
    design_spans(run);
    const Utdat& u = run.utdat;
    EXPECT_NEAR(u.di[1], 10.0f, 0.0005f) << k.option;
    EXPECT_NEAR(u.udi[1], 0.625f, 0.00005f) << k.option;
    EXPECT_NEAR(u.dt[1], k.dt, 0.0005f) << k.option;
    EXPECT_NEAR(u.udt[1], k.udt, 0.0001f) << k.option;
  }
}

// Shear resistances of a 0.2 m slab (fck 35 MPa, CRd,c = 0.18/1.5 = 0.12):
//   end support: d = 0.181, rho = 0.000955/(0.62 * 0.181) = 0.008510, k = 2 (capped),
//     v = 0.24 * (29.785)^(1/3) = 0.74395, VR = 0.74395 * 0.181 * 0.62 * 1000 = 83.486
//   interior with As = 0.002: d = 0.185, rho = 0.010811, v = 0.24 * 37.838^(1/3) = 0.80572,
//     VR = 149.06
//   interior without bars: vmin = 0.035 * 2 * sqrt(70) = 0.58566, VR = 108.35
// Two spans with 100 kN/m at every end: the outer ends use the deck, both ends at the middle
// support use the middle support's bars.
TEST(DesignSpans, ShearAtEachEndUsesTheRightSupport) {
  solvo::Run run = slab(2);
  run.utdat.as_credit[2] = 0.002f;
  for (int i = 1; i <= 2; ++i) {
    run.arbvar.vl_max[kRow][i] = 100.0f;
    run.arbvar.vr_max[kRow][i] = 100.0f;
  }
  design_spans(run);
  const Utdat& u = run.utdat;
  EXPECT_NEAR(u.uvl[1], 100.0f / 83.486f, 0.0005f);
  EXPECT_NEAR(u.uvr[1], 100.0f / 149.06f, 0.0005f);
  EXPECT_NEAR(u.uvl[2], 100.0f / 149.06f, 0.0005f);
  EXPECT_NEAR(u.uvr[2], 100.0f / 83.486f, 0.0005f);

  run.utdat.as_credit[2] = 0.0f;  // no top bars: the minimum resistance
  design_spans(run);
  EXPECT_NEAR(run.utdat.uvr[1], 100.0f / 108.35f, 0.0005f);
}

// Longitudinal shear: span 6.0 m, clear 5.9 m, zero points of the max envelope 0.5 m from
// each support centre: X = 5.9 - 0.5 - 0.5 + 0.05 + 0.05 = 5.0 m. With q = 15 kN/m2,
// Mr = 52.959 and Mp = 5.29 the search (by hand, a in steps of 0.1) first holds at a = 2.0:
// c = 2.5 - 47.669/30 = 0.91103, (5 - c) c 15/2 = 27.940 >= 47.669 c/2 + 5.29 = 27.005
// (at a = 1.9 it fails by 0.16). v = 305.6/2.0 = 152.8, divided by 306 * 5/6 = 255: 0.59922.
TEST(DesignSpans, BondUsesTheShearLengthBetweenTheZeroPoints) {
  solvo::Run run = slab(1, 6.0f);
  run.arbvar.p1[kRow][1] = 0.5f;
  run.arbvar.p2[kRow][1] = 0.5f;
  run.snitt.q_loaded[kRow][1] = 15.0f;
  design_spans(run);
  EXPECT_NEAR(run.utdat.ub[1], 0.59922f, 0.0002f);
}

// ---- Bar lengths and weights ---------------------------------------------------------------

// Three spans of 4.1 m (clear 4.0 m), 0.2 m thick, a = 0.02: the depth terms are 0.18 m on
// each side. Zero points are chosen so that every length ends between 0.3 and 0.7 mm past a
// whole millimetre, clear of float rounding.
Run three_spans() {
  solvo::Run run = slab(3);
  Utdat& u = run.utdat;
  for (int j = 1; j <= 4; ++j) u.a[j] = 0.02f;
  Arbvar& av = run.arbvar;
  av.zl[kRow] = {0, 0.3005f, 0.7005f, 0.8005f};
  av.zr[kRow] = {0, 0.9002f, 0.6002f, 0.3002f};
  av.tl[kRow] = {0, 0.2002f, 0.4002f, 0.5002f};
  av.tr[kRow] = {0, 0.5001f, 0.3001f, 0.2001f};
  return run;
}

// Support 2: L1 = (Hö(1) + Vä(2) + 0.36) = 0.9002 + 0.7005 + 0.36 = 1.9607 -> 1960
//            L1b = (Hö(1) + rR(2) + 0.36) = 0.9002 + 0.4002 + 0.36 = 1.6604 -> 1660
//            L2b = (rL(2) + Vä(2) + 0.36) = 0.5001 + 0.7005 + 0.36 = 1.5606 -> 1560
// Support 3: L1 = 0.6002 + 0.8005 + 0.36 = 1.7607 -> 1760; L1b = 0.6002 + 0.5002 + 0.36
//            = 1.4604 -> 1460; L2b = 0.3001 + 0.8005 + 0.36 = 1.4606 -> 1460.
// Weights with S(2) = 200, S(3) = 0 (no bars), total length 12.3 m:
//   WA = 0.664 * 1960/200/12.3 = 0.52904; WB = 0.664 * (1660 + 1560)/400/12.3 = 0.43457
TEST(TopBarLengths, NormalSupportsAndASupportWithoutBars) {
  solvo::Run run = three_spans();
  run.utdat.s[2] = 200.0f;
  top_bar_lengths(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.l1[2], 1960);
  EXPECT_EQ(u.l1b[2], 1660);
  EXPECT_EQ(u.l2b[2], 1560);
  EXPECT_EQ(u.l1[3], 1760);
  EXPECT_EQ(u.l1b[3], 1460);
  EXPECT_EQ(u.l2b[3], 1460);
  EXPECT_NEAR(u.wa, 0.52904f, 0.00002f);
  EXPECT_NEAR(u.wb, 0.43457f, 0.00002f);
  EXPECT_TRUE(std::isfinite(u.wa) && std::isfinite(u.wb));
  // No cantilever: the end supports have no bars.
  EXPECT_EQ(u.l1[1], 0);
  EXPECT_EQ(u.l1[4], 0);
}

// Span 2 is short (merge flag of support 3): one bar from span 1 over span 2 into span 3.
//   L1(2) = L1b(2) = Hö(1) + Vä(3) + 0.18 + 0.18 + Le(2) = 0.9002 + 0.8005 + 0.36 + 4.0
//         = 6.0607 -> 6060
//   L2b(2) = rL(2) + rR(2) + 0.36 = 0.5001 + 0.4002 + 0.36 = 1.2603 -> 1260
//   L2b(3) = rL(3) + rR(3) + 0.36 = 0.3001 + 0.5002 + 0.36 = 1.1603 -> 1160
// The pair takes the smaller of its spacings. A support that needs no bars (area 0, spacing
// 0) does not force its partner to 0. A support that needs bars but has no spacing (no
// equilibrium: area 1000000) leaves the pair without a solution: spacing 0 at both, the
// smaller of the two, and no weight (a spacing of 0 adds none).
TEST(TopBarLengths, MergedPairTakesTheSmallerSpacingOfTheSupportsThatNeedBars) {
  struct Case {
    float as2, s2, as3, s3, want;
  };
  constexpr float kNone = 0.0f, kFails = kNoEquilibriumArea, kSome = 0.0005f;
  const Case cases[] = {{kSome, 150, kSome, 120, 120}, {kSome, 120, kSome, 150, 120},
                        {kNone, 0, kSome, 120, 120},   {kSome, 150, kNone, 0, 150},
                        {kFails, 0, kSome, 120, 0},    {kSome, 150, kFails, 0, 0}};
  for (const Case& k : cases) {
    solvo::Run run = three_spans();
    run.arbvar.merge[kRow][3] = 1;
    run.utdat.as[2] = k.as2;
    run.utdat.s[2] = k.s2;
    run.utdat.as[3] = k.as3;
    run.utdat.s[3] = k.s3;
    top_bar_lengths(run);
    const Utdat& u = run.utdat;
    const std::string label = std::to_string(k.as2) + " " + std::to_string(k.s2) + " " +
                              std::to_string(k.as3) + " " + std::to_string(k.s3);
    EXPECT_EQ(u.s[2], k.want) << label;
    EXPECT_EQ(u.s[3], k.want) << label;
    EXPECT_EQ(u.l1[2], 6060);
    EXPECT_EQ(u.l1b[2], 6060);
    EXPECT_EQ(u.l2b[2], 1260);
    EXPECT_EQ(u.l2b[3], 1160);
    // WA = 0.664 * 6060/S/12.3; WB = 0.664 * (6060 + 1260 + 1160)/(2 S)/12.3; 0 without S.
    const float wa = k.want > 0 ? 0.664f * 6060.0f / k.want / 12.3f : 0.0f;
    const float wb = k.want > 0 ? 0.664f * 8480.0f / (2.0f * k.want) / 12.3f : 0.0f;
    EXPECT_NEAR(u.wa, wa, 0.00002f) << label;
    EXPECT_NEAR(u.wb, wb, 0.00002f) << label;
  }
}

// Two spans, the last one short: the bar of support 2 runs over span 2 to the slab's end.
//   L1 = 0.18 + Hö(1) + 0.05 + Le(2) = 0.18 + 0.9005 + 0.05 + 4.0 = 5.1305 -> 5130
//   L2b = Le(2) + 0.18 + rL(2) + 0.05 = 4.0 + 0.18 + 0.5005 + 0.05 = 4.7305 -> 4730
// Weights with S = 250 over 8.2 m: WA = 0.664 * 5130/250/8.2 = 1.66162,
// WB = 0.664 * (5130 + 4730)/500/8.2 = 1.59684.
TEST(TopBarLengths, MergedPairAtTheLastInteriorSupport) {
  solvo::Run run = slab(2);
  run.utdat.a = {0, 0.02f, 0.02f, 0.02f};
  run.utdat.s[2] = 250.0f;
  run.arbvar.zr[kRow][1] = 0.9005f;
  run.arbvar.tr[kRow][1] = 0.5005f;
  run.arbvar.merge[kRow][3] = 1;
  top_bar_lengths(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.l1[2], 5130);
  EXPECT_EQ(u.l1b[2], 5130);
  EXPECT_EQ(u.l2b[2], 4730);
  EXPECT_NEAR(u.wa, 1.66162f, 0.00003f);
  EXPECT_NEAR(u.wb, 1.59684f, 0.00003f);
}

// A last span that hogs all the way to its simply supported end: spans 3.5 and 1.7 m on
// 0.1 m supports (clear 3.4 and 1.6 m), 0.14 m thick, market 6, row 2: g = 0.89 1.35 4.0
// = 4.806 kN/m2 on both spans, 1.5 2.0 = 3.0 more on the loaded span. With a clear span of
// 1.6 m the point p = 20 formed as 20 (0.05 Le) lies one float step beyond the support. By hand:
//   end rotations of 20 point loads per unit load, L^3/24 + h^2 L/48: 1.6395717 (span 1,
//   h = 0.17) and 0.1708 (span 2, h = 0.08); the three-moment equation with M1 = M3 = 0 gives
//   M2 = -3 (w1 1.6395717 + w2 0.1708)/5.0: arrangement 0 -5.221028, span 1 loaded -2.951485
//   more, span 2 loaded -0.307584 more; min support moment -8.480097;
//   min envelope = arrangement 0 + the negative differences, with the simple-beam moments
//   w x (L - x)/2 (exact at the points for the centred point loads):
//   span 1: m(16) = 0.021699, m(17) = -1.455451, m(18) = -3.571406, m(19) = -5.912955;
//   span 2: m(6) = -4.428906, m(7) = -3.912626, m(19) = -0.116421, m(20) = 0, rising all along;
//   Hö(1) = 0.05 + 0.15 3.4 + 0.17 1.455451/(1.455451 + 0.021699) = 0.727503
//   rL(2) = 0.05 + 0.05 3.4 + 0.17 (5.912955 - 4.240048)/(5.912955 - 3.571406) = 0.341456
//   rR(2) = 0.05 + 6 0.08 + 0.08 (4.428906 - 4.240048)/(4.428906 - 3.912626) = 0.559264
//   Vä(2) = 0.05 + 19 0.08 + 0.08 0.116421/(0.116421 + 0) = 1.65: span 2 reaches zero at its
//   end support, so support 2 is a normal support (no merge flag); d = 0.14 - 0.02 = 0.12:
//   L1 = (0.727503 + 1.65 + 0.24) 1000 = 2617.5 -> 2617; L1b = (0.727503 + 0.559264 + 0.24)
//   1000 = 1526.8 -> 1526; L2b = (0.341456 + 1.65 + 0.24) 1000 = 2231.5 -> 2231.
//   Read as "never reaches zero" it would be the bar over the last span: L1 = 2497, L2b = 2111.
TEST(TopBarLengths, LastSpanHoggingToASimpleEndIsANormalSupport) {
  solvo::Run run = slab(2, 3.5f, 0.14f);
  Indat& c = run.indat;
  c.market = 6;
  c.load_set = 2;
  c.span[2] = 1.7f;
  for (int i = 1; i <= 2; ++i) {
    c.perm_load[i] = 0.8235f;
    c.imposed_load[i] = 2.0f;
  }
  berdat(run);
  ASSERT_FLOAT_EQ(run.dat.clear_span[2], 1.6f);
  int32_t flag = 0;
  snikra(run, flag);
  dimen(run);
  const Arbvar& a = run.arbvar;
  const int k = 2;
  EXPECT_EQ(a.m_min[k][2][0], a.ms_min[k][2]);
  EXPECT_EQ(a.m_min[k][2][20], 0.0f);
  EXPECT_EQ(a.merge[k][3], 0);
  EXPECT_NEAR(a.ms_min[k][2], -8.480097f, 0.002f);
  EXPECT_NEAR(a.zr[k][1], 0.727503f, 0.0002f);
  EXPECT_NEAR(a.tr[k][1], 0.341456f, 0.0002f);
  EXPECT_NEAR(a.tl[k][2], 0.559264f, 0.0002f);
  EXPECT_NEAR(a.zl[k][2], 1.65f, 0.0001f);
  EXPECT_NEAR(a.zr[k][2], 0.05f, 1e-6f);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.l1[2], 2617);
  EXPECT_EQ(u.l1b[2], 1526);
  EXPECT_EQ(u.l2b[2], 2231);
}

// Cantilevers, one span of 4.1 m: left 1.2 m, right 0.5 m, spacings 200 and 100 mm.
//   left  L = Vä(1) + 1.2 + 0.2 - 0.02 = 0.6005 + 1.38 = 1.9805 -> 1980
//   right L = Hö(1) + 0.5 + 0.18 = 0.4005 + 0.68 = 1.0805 -> 1080
//   WA = WB = 0.664 (1980/200 + 1080/100)/4.1 = 3.35239
TEST(TopBarLengths, CantileversCarryOneBarEach) {
  solvo::Run run = slab(1);
  run.indat.cant_left = 1.2f;
  run.indat.cant_right = 0.5f;
  run.utdat.a = {0, 0.02f, 0.02f};
  run.utdat.s[1] = 200.0f;
  run.utdat.s[2] = 100.0f;
  run.arbvar.zl[kRow][1] = 0.6005f;
  run.arbvar.zr[kRow][1] = 0.4005f;
  top_bar_lengths(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.l1[1], 1980);
  EXPECT_EQ(u.l1b[1], 1980);
  EXPECT_EQ(u.l2b[1], 1980);
  EXPECT_EQ(u.l1[2], 1080);
  EXPECT_NEAR(u.wa, 3.35239f, 0.00003f);
  EXPECT_NEAR(u.wb, 3.35239f, 0.00003f);
}

// Truncation toward zero: a length of 0.2599 m is 259 mm. Zero points that add up to
// 0.2599 m with no depth terms (a equal to the thickness).
TEST(TopBarLengths, LengthsAreTruncatedNotRounded) {
  solvo::Run run = slab(2);
  run.utdat.a = {0, 0.2f, 0.2f, 0.2f};
  run.utdat.s[2] = 200.0f;
  run.arbvar.zr[kRow][1] = 0.1299f;
  run.arbvar.zl[kRow][2] = 0.13f;
  top_bar_lengths(run);
  EXPECT_EQ(run.utdat.l1[2], 259);
}

}  // namespace
}  // namespace solvo
