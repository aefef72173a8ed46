// The fire design against its tables and hand calculations. Material values as in
// design_test.cpp: market 1, C35/45 (fcd = 23333.3 kN/m2, block 0.85 fcd = 19833.3),
// grade 500 (fyd = 434782.6 kN/m2), Es = 2.1E8 kN/m2, deck fypd = 320000 kN/m2,
// Ap = 0.000955 m2/m; bottom bars 8 mm (50.3 mm2, 0.432 kg/m).
#include "fire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "case_input.h"
#include "design.h"
#include "engine.h"

namespace solvo {
namespace {

Run slab(int n, float span, float thickness, float width) {
  solvo::Run run;
  Indat& c = run.indat;
  c.n = n;
  c.bot_bar = 2;
  for (int i = 1; i <= n; ++i) {
    c.span[i] = span;
    c.thickness[i] = thickness;
  }
  for (int j = 1; j <= n + 1; ++j) c.support_width[j] = width;
  berdat(run);
  return run;
}

// ---- Temperatures, reduction factors, coefficients -------------------------------------------

// Class tables, and the factors by hand:
//   REI 30: ky_b = 1 (230 <= 400); ky_d at 783 = 0.23 - 83 * 0.12 * 0.01 = 0.1304;
//           kE_b at 230 = 0.9 - 30 * 0.1 * 0.01 = 0.87
//   REI 60: ky_b at 433 = 1 - 33 * 0.22 * 0.01 = 0.9274; ky_d at 818 = 0.11 - 18 * 0.05 *
//           0.01 = 0.101; kE_b at 433 = 0.7 - 33 * 0.1 * 0.01 = 0.667
//   REI 90: ky_b at 534 = 0.78 - 34 * 0.31 * 0.01 = 0.6746; ky_d at 826 = 0.097;
//           kE_b at 534 = 0.6 - 34 * 0.29 * 0.01 = 0.5014
TEST(FireParameters, TemperaturesFactorsAndCoefficientsPerClass) {
  struct Case {
    int32_t minutes, ceiling;
    float theta_d, theta_b, ky_d, ky_b, ke_b, c1, c2, c3, c4;
  };
  const Case cases[] = {
      {30, 1, 783, 230, 0.1304f, 1.0f, 0.87f, 0.037f, 0.044f, 0.032f, 0.017f},
      {60, 2, 818, 433, 0.101f, 0.9274f, 0.667f, 0.026f, 0.032f, 0.032f, 0.036f},
      {90, 1, 826, 534, 0.097f, 0.6746f, 0.5014f, 0.019f, 0.026f, 0.030f, 0.050f},
      // Any other ceiling code: no temperature, full strength, no coefficients.
      {60, 3, 0, 0, 1.0f, 1.0f, 1.0f, 0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    solvo::Run run = slab(1, 4.0f, 0.2f, 0.1f);
    run.indat.fire_minutes = k.minutes;
    run.indat.ceiling = k.ceiling;
    fire_parameters(run);
    const Utdat& u = run.utdat;
    const std::string label =
        "REI " + std::to_string(k.minutes) + " ceiling " + std::to_string(k.ceiling);
    EXPECT_EQ(u.theta_d, k.theta_d) << label;
    EXPECT_EQ(u.theta_b, k.theta_b) << label;
    EXPECT_NEAR(u.ky_d, k.ky_d, 1E-5f) << label;
    EXPECT_NEAR(u.ky_b, k.ky_b, 1E-5f) << label;
    EXPECT_NEAR(u.ke_b, k.ke_b, 1E-5f) << label;
    EXPECT_EQ(u.c1, k.c1) << label;
    EXPECT_EQ(u.c2, k.c2) << label;
    EXPECT_EQ(u.c3, k.c3) << label;
    EXPECT_EQ(u.c4, k.c4) << label;
  }
}

// Open bands around 30 and 60 minutes; everything else is REI 90.
TEST(FireParameters, ClassBandsAreOpen) {
  struct Case {
    float r, theta_b;
  };
  const Case cases[] = {{29.0f, 534}, {29.5f, 230}, {30.0f, 230}, {30.9f, 230},  {31.0f, 534},
                        {59.0f, 534}, {60.0f, 433}, {61.0f, 534}, {120.0f, 534}, {0.0f, 534}};
  for (const Case& k : cases) EXPECT_EQ(fsd2(k.r, 1), k.theta_b) << k.r;
}

// Breakpoints take the step below them; the ends of the tables.
TEST(ReductionFactors, TablesAtAndBetweenTheirSteps) {
  struct Case {
    float theta, red, ered;
  };
  const Case cases[] = {
      {-20.0f, 1.0f, 1.0f},
      {0.0f, 1.0f, 1.0f},
      {100.0f, 1.0f, 1.0f},
      {150.0f, 1.0f, 0.95f},
      {400.0f, 1.0f, 0.7f},
      {450.0f, 0.89f, 0.65f},
      {500.0f, 0.78f, 0.6f},
      {600.0f, 0.47f, 0.31f},
      {650.0f, 0.35f, 0.22f},
      // 1150: 0.02 - 50 * 0.02 * 0.01 = 0.01; 0.0225 - 50 * 0.0225 * 0.01 = 0.01125
      {1150.0f, 0.01f, 0.01125f},
      {1200.0f, 0.0f, 0.0f},
      {1500.0f, 0.0f, 0.0f},
  };
  for (const Case& k : cases) {
    EXPECT_NEAR(red(k.theta), k.red, 1E-6f) << k.theta;
    EXPECT_NEAR(ered(k.theta), k.ered, 1E-6f) << k.theta;
  }
}

// ---- Support capacity in fire ------------------------------------------------------------------

// REI 30, 0.2 m slab, As = 0.0004 m2/m: d = 0.2 - 0.020 - 0.017 = 0.163 m. Zone: rib height
// 0.037, widths w2 = 0.044 at the soffit and w1 = 0.032, so t = x (0.15 - 0.076)/0.074 = x.
// Nc = 0.15 * 0.0004 * 434782.6/23333.3 = 0.0011180 = x (0.044 + x): x = 0.018025 (bars
// yield: strain 0.028); zc = x (0.022 + 2x/3)/(0.044 + x) = 0.0098856;
// Mr = 434782.6 * 0.0004 * (0.163 - 0.0098856) = 26.629 kNm/m.
TEST(FireSupportCapacities, UsesTheFireZoneAndTheDamagedLayer) {
  solvo::Run run = slab(2, 4.1f, 0.2f, 0.1f);
  run.indat.fire_minutes = 30;
  fire_parameters(run);
  run.utdat.as_credit = {0, 0.0f, 0.0004f, 0.0f};
  fire_support_capacities(run);
  EXPECT_NEAR(run.utdat.mr_fire[2], 26.629f, 0.01f);
  EXPECT_EQ(run.utdat.mr_fire[1], 0.0f);  // no bars, no capacity
  // A support without a solution is credited no area: no capacity either.
  EXPECT_EQ(run.utdat.mr_fire[3], 0.0f);
}

// ---- Bottom bars
// ----------------------------------------------------------------------------------

// REI 60 (ky_b 0.9274, ky_d 0.101, kE_b 0.667), 0.14 m slab, bars 42 mm up:
// dd = 0.121, db = 0.098, fyb = 403217, fyp = 32320 (the deck yields), Ap fyp = 30.866 kN.
// M = 15: 0.85 fcd x (db - x/2) = 15 - 0.023 * 30.866 = 14.290 gives x = 0.0076508;
// Ab = (15 - 30.866 (0.121 - 0.0038254))/(403217 (0.098 - 0.0038254)) = 2.9978E-4 m2/m;
// Sb = 50.3/0.29978 = 167.8 -> 167; Lb = (0.1 + 4.0 + 0.1) * 1000 = 4200.
TEST(BottomBars, FireSpanMomentNeedsBars) {
  solvo::Run run = slab(1, 4.1f, 0.14f, 0.1f);
  run.indat.fire_minutes = 60;
  fire_parameters(run);
  run.arbvar.m_span_max[kFireRow][1] = 15.0f;
  bottom_bars(run);
  const Utdat& u = run.utdat;
  // Within 0.1 %: the iteration stops within 0.0001 m of the depth.
  EXPECT_NEAR(u.ab[1], 2.9978E-4f, 0.001f * 2.9978E-4f);
  EXPECT_EQ(u.sb[1], 167);
  EXPECT_EQ(u.lb[1], 4200);
  // 0.432 kg/m * 4200/167 over the clear span 4.0 m = 2.71617 kg/m2
  EXPECT_NEAR(u.wf, 2.71617f, 0.00005f);
}

// Moments that need no bars, and a moment without a solution.
//   0.005 kNm/m is below 0.01: designed as 0, the deck carries it.
//   1.0 kNm/m in a 0.10 m slab, bars 60 mm up (dd = 0.081, db = 0.04): the deck's own moment
//   about the bars, 0.041 * 30.866 = 1.27, exceeds it; the deck alone needs a block of
//   y = 0.00062 m, Ap > 0.85 fcd y/fyp: no bars.
//   30 kNm/m in that slab: 0.85 fcd x (db - x/2) is at most 19833.3 * 0.04^2/2 = 15.9 < 28.7:
//   no solution, spacing 0 with the full bar length, and no weight.
TEST(BottomBars, NoBarsAndNoSolution) {
  struct Case {
    float thickness;
    int32_t placement;
    float moment;
    int32_t sb, lb;
  };
  const Case cases[] = {
      {0.14f, 42, 0.005f, 0, 0},
      {0.10f, 60, 1.0f, 0, 0},
      {0.10f, 60, 30.0f, 0, 4200},
  };
  for (const Case& k : cases) {
    solvo::Run run = slab(1, 4.1f, k.thickness, 0.1f);
    run.indat.fire_minutes = 60;
    run.indat.bot_placement = k.placement;
    fire_parameters(run);
    run.arbvar.m_span_max[kFireRow][1] = k.moment;
    bottom_bars(run);
    const Utdat& u = run.utdat;
    EXPECT_EQ(u.sb[1], k.sb) << k.moment;
    EXPECT_EQ(u.lb[1], k.lb) << k.moment;
    EXPECT_EQ(u.wf, 0.0f) << k.moment;
  }
}

// ---- The fire analysis
// ---------------------------------------------------------------------------

// Two spans of 4.0 m on supports of no width, 0.2 m thick, fire load 10 kN/m2 on both.
// Elastic: the twenty point loads give M2 = -(w L^2/8 + w h^2/16) = -(20 + 0.025) = -20.025
// (h = 0.2 m; see the two-span test of the design).
// The design row's zero points are 1.0 m from the middle support. Candidates at support 2:
//   span 1 (first span): x2 = 4 - 1 = 3.0, M(3.0) = 5 * 3 * 1 - 20.025 * 0.75 = -0.01875,
//     YR = -0.01875 * 4/3 = -0.025, candidate -20.025 + 0.025 = -20.0
//   span 2 (last span): the mirror image, -20.0
// With Mr = 6 the support takes -6: span 1 then has M(x) = 5 x (4 - x) - 1.5 x, whose
// largest sampled value is at p = 9 (x = 1.8): 17.1 (elastically about 11.2).
// Its zero point from the right lies between p = 19 (-1.9) and p = 18 (1.8):
// 0.2 * 1.9/3.7 = 0.10270 beyond p = 19, so zR = 0.2 + 0.10270 = 0.30270; half the support
// moment (-3) between p = 20 (-6) and p = 19 (-1.9): tR = 0.2 * 3/4.1 = 0.14634.
// With Mr = 30 the candidates govern: -20.0.
Run two_span_fire(float mr) {
  solvo::Run run = slab(2, 4.0f, 0.2f, 0.0f);
  run.indat.load_set = 3;
  for (int i = 1; i <= 2; ++i) run.snitt.q_loaded[kFireRow][i] = 10.0f;
  run.arbvar.zr[kRowUlsBoth][1] = 1.0f;
  run.arbvar.zl[kRowUlsBoth][2] = 1.0f;
  run.arbvar.zl[kRowUlsBoth][1] = 0.0f;
  run.arbvar.zr[kRowUlsBoth][2] = 0.0f;
  run.utdat.mr_fire = {0, 0.0f, mr, 0.0f};
  run.dat.clear_span[1] = run.dat.clear_span[2] = 4.0f;
  brand(run);
  return run;
}

TEST(Brand, SupportMomentLimitedToItsFireCapacity) {
  struct Case {
    float mr, support, span;
  };
  const Case cases[] = {{6.0f, -6.0f, 17.1f}, {30.0f, -20.0f, 11.2f}};
  for (const Case& k : cases) {
    solvo::Run run = two_span_fire(k.mr);
    const Arbvar& av = run.arbvar;
    EXPECT_NEAR(av.ms_min[kFireRow][2], k.support, 0.002f) << k.mr;
    EXPECT_EQ(av.ms_max[kFireRow][2], av.ms_min[kFireRow][2]);
    EXPECT_EQ(av.ms_min[kFireRow][1], 0.0f);
    EXPECT_EQ(av.ms_min[kFireRow][3], 0.0f);
    for (int i = 1; i <= 2; ++i) {
      // Mr = 30: M(x) = 5x(4 - x) - 5x = 5x(3 - x), largest sampled value at x = 1.4 and
      // x = 1.6: 11.2
      EXPECT_NEAR(av.m_span_max[kFireRow][i], k.span, 0.01f) << k.mr << " span " << i;
      EXPECT_EQ(av.m_span_min[kFireRow][i], av.m_span_max[kFireRow][i]);
    }
  }
}

TEST(Brand, ZeroPointsOfTheLimitedCurve) {
  solvo::Run run = two_span_fire(6.0f);
  const Arbvar& av = run.arbvar;
  EXPECT_NEAR(av.zl[kFireRow][1], 0.0f, 1E-6f);  // end support without moment
  EXPECT_NEAR(av.zr[kFireRow][1], 0.30270f, 0.0002f);
  EXPECT_NEAR(av.tr[kFireRow][1], 0.14634f, 0.0002f);
  EXPECT_NEAR(av.zl[kFireRow][2], 0.30270f, 0.0002f);  // the mirror image
  EXPECT_NEAR(av.zr[kFireRow][2], 0.0f, 1E-6f);
  EXPECT_EQ(av.merge[kFireRow][2], 0);
}

// A short last span (1.0 m) next to a 3.0 m cantilever, 10 kN/m2: M3 = -0.5 * 9 * 10 = -45.
// The design row's zero points are put where neither line can be laid (x2 = 0 in span 1,
// x1 = Le in span 2), so both candidates are about -1000 and support 2 takes -Mr = -5.
// Span 2: M(x) = 5x(1 - x) - 5(1 - x) - 45x < 0 everywhere: both zero points and both
// half-moment points are (0 + 1.0)/2 = 0.5, and the flag of support 3 is set.
// Span 1: M(x) = 5x(4 - x) - 1.25x; p = 18 gives 2.7, p = 19 gives -0.95, so
// zR = 0.2 + 0.2 * 0.95/3.65 = 0.25205.
TEST(Brand, SpanHoggingThroughoutTakesTheMiddleAsItsZeroPoints) {
  solvo::Run run = slab(2, 4.0f, 0.2f, 0.0f);
  run.indat.span[2] = 1.0f;
  run.indat.cant_right = 3.0f;
  berdat(run);
  for (int i = 1; i <= 2; ++i) run.snitt.q_loaded[kFireRow][i] = 10.0f;
  run.indat.load_set = 3;
  run.arbvar.zr[kRowUlsBoth][1] = 4.0f;
  run.arbvar.zl[kRowUlsBoth][2] = 1.0f;
  run.utdat.mr_fire = {0, 0.0f, 5.0f, 0.0f};
  brand(run);
  const Arbvar& av = run.arbvar;
  EXPECT_NEAR(av.ms_min[kFireRow][2], -5.0f, 1E-5f);
  EXPECT_NEAR(av.ms_min[kFireRow][3], -45.0f, 1E-4f);
  EXPECT_NEAR(av.zl[kFireRow][2], 0.5f, 1E-6f);
  EXPECT_NEAR(av.zr[kFireRow][2], 0.5f, 1E-6f);
  EXPECT_NEAR(av.tl[kFireRow][2], 0.5f, 1E-6f);
  EXPECT_NEAR(av.tr[kFireRow][2], 0.5f, 1E-6f);
  EXPECT_EQ(av.merge[kFireRow][3], 1);
  EXPECT_EQ(av.merge[kFireRow][2], 0);
  EXPECT_NEAR(av.zr[kFireRow][1], 0.25205f, 0.0002f);
}

std::vector<float> values_of(const std::string& line) {
  std::vector<float> v;
  std::string s = line.substr(line.find(")/") + 2);
  std::istringstream in(s);
  std::string item;
  while (std::getline(in, item, '/'))
    if (!item.empty() && item != "\r") v.push_back(std::stof(item));
  return v;
}

// MOMENTBRAND.RES: a first line, then per span the elastic curve "M(i,X)/" and after the
// limitation "MF(i,X)/", each with 21 values in F10.6 followed by "/".
TEST(Brand, WritesTheCurvesBeforeAndAfterTheLimitation) {
  solvo::Run run = two_span_fire(6.0f);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0].name, "MOMENTBRAND.RES");
  std::istringstream in(run.files[0].contents);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "   * Last  0\r");
  EXPECT_EQ(lines[1].substr(0, 7), "M(1,X)/");
  EXPECT_EQ(lines[2].substr(0, 7), "M(2,X)/");
  EXPECT_EQ(lines[3].substr(0, 8), "MF(1,X)/");
  EXPECT_EQ(lines[4].substr(0, 8), "MF(2,X)/");
  EXPECT_EQ(lines[1].size(), 7u + 21u * 11u + 1u);  // with the CR of the line end
  const std::vector<float> elastic = values_of(lines[1]);
  const std::vector<float> limited = values_of(lines[3]);
  ASSERT_EQ(elastic.size(), 21u);
  ASSERT_EQ(limited.size(), 21u);
  EXPECT_NEAR(elastic[20], -20.025f, 0.0001f);
  EXPECT_NEAR(elastic[10], 5.0f * 2.0f * 2.0f - 20.025f * 0.5f, 0.0001f);  // 9.9875
  EXPECT_EQ(limited[0], 0.0f);
  EXPECT_NEAR(limited[20], -6.0f, 0.000001f);
  EXPECT_NEAR(limited[9], 17.1f, 0.0001f);
}

// One span keeps both (cantilever) moments: left 1.0 m, right 0.5 m under 10 kN/m2:
// -0.5 * 1.0^2 * 10 = -5 and -0.5 * 0.5^2 * 10 = -1.25, however small the capacities.
TEST(Brand, SingleSpanKeepsItsCantileverMoments) {
  solvo::Run run = slab(1, 4.1f, 0.2f, 0.1f);
  run.indat.cant_left = 1.0f;
  run.indat.cant_right = 0.5f;
  run.snitt.q_loaded[kFireRow][1] = 10.0f;
  run.arbvar.zl[kRowUlsBoth][1] = 0.5f;
  run.arbvar.zr[kRowUlsBoth][1] = 0.3f;
  run.utdat.mr_fire = {0, 0.5f, 0.5f};
  brand(run);
  EXPECT_NEAR(run.arbvar.ms_min[kFireRow][1], -5.0f, 1E-5f);
  EXPECT_NEAR(run.arbvar.ms_min[kFireRow][2], -1.25f, 1E-5f);
}

// ---- Every sample case
// ---------------------------------------------------------------------------

TEST(Dimen, EverySampleCaseGivesFiniteSpacingsLengthsAndWeights) {
  const char* samples[] = {"DANMARK.IND", "KONSOL.IND", "SEXFACK.IND", "TIOFACK.IND"};
  for (const char* name : samples) {
    std::ifstream in(std::string(SOLVO_DATA) + "/samples/" + name, std::ios::binary);
    ASSERT_TRUE(in.is_open()) << name;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    solvo::Run run;
    calculate(run, text);
    const Utdat& u = run.utdat;
    const int n = run.indat.n;
    for (int j = 1; j <= n + 1; ++j) {
      EXPECT_TRUE(std::isfinite(u.s[j]) && u.s[j] >= 0) << name << " support " << j;
      EXPECT_GE(u.l1[j], 0) << name << " support " << j;
      EXPECT_GE(u.l1b[j], 0) << name << " support " << j;
      EXPECT_GE(u.l2b[j], 0) << name << " support " << j;
      EXPECT_TRUE(std::isfinite(u.mr_fire[j])) << name << " support " << j;
    }
    for (int i = 1; i <= n; ++i) {
      EXPECT_GE(u.sb[i], 0) << name << " span " << i;
      EXPECT_GE(u.lb[i], 0) << name << " span " << i;
    }
    EXPECT_TRUE(std::isfinite(u.wa) && u.wa >= 0) << name;
    EXPECT_TRUE(std::isfinite(u.wb) && u.wb >= 0) << name;
    EXPECT_TRUE(std::isfinite(u.wf) && u.wf >= 0) << name;
    bool fire_file = false;
    for (const OutputFile& f : run.files) fire_file = fire_file || f.name == "MOMENTBRAND.RES";
    EXPECT_TRUE(fire_file) << name;
  }
}

}  // namespace
}  // namespace solvo
