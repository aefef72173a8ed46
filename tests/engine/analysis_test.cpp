// The continuous-slab analysis against closed forms and equilibrium. The distributed load is
// carried as 20 point loads at the centres of the twentieths of the span, so closed forms for
// a uniform load hold within that discretisation: the midspan moment of a simple span is then
// exact (worked out below), support moments and deflections are within about 0.1 %.
#include "analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "case_input.h"

namespace solvo {
namespace {

constexpr float kDiscretisation = 2e-3f;  // relative, 20 point loads for a uniform load

// A case built in memory: n equal spans with the given clear spans (support widths 0).
solvo::Run slab(std::initializer_list<float> spans, float thickness = 0.16f) {
  solvo::Run run;
  blkdat(run);
  Indat& c = run.indat;
  c.n = static_cast<int32_t>(spans.size());
  int i = 1;
  for (float l : spans) {
    c.span[i] = l;
    c.thickness[i] = thickness;
    c.perm_load[i] = 0.5f;
    c.imposed_load[i] = 2.0f;
    ++i;
  }
  for (int j = 1; j <= c.n + 1; ++j) c.support_width[j] = 0.0f;
  berdat(run);
  return run;
}

// Loads every span with w and a stiffness of 1e7 N m2/m, no line loads.
void uniform(solvo::Run& run, float w) {
  for (int i = 1; i <= run.indat.n; ++i) {
    run.snitt.w[i] = w;
    run.snitt.ei[i] = 1.0e7f;
  }
  run.snitt.nll = 0;
}

void expect_rel(float got, float want, float rel, const std::string& what) {
  EXPECT_NEAR(got, want, std::fabs(want) * rel) << what;
}

TEST(Krdef, OneSimpleSpan) {
  solvo::Run run = slab({6.0f});
  const float w = 10.0f, L = 6.0f;
  uniform(run, w);
  krdef(run, 0);
  const Snitt& s = run.snitt;
  EXPECT_FLOAT_EQ(s.m[1], 0.0f);
  EXPECT_FLOAT_EQ(s.m[2], 0.0f);
  // Midspan: R L/2 minus the ten point loads of the left half, P h (10.5 - m) summed
  // over m = 1..10 = 50 P h = w L^2 / 8: exact for the point loads too.
  expect_rel(s.mom[1][10], w * L * L / 8.0f, 1e-5f, "midspan moment");
  expect_rel(s.vl[1], w * L / 2.0f, 1e-5f, "left shear");
  expect_rel(s.vr[1], w * L / 2.0f, 1e-5f, "right shear");
  // 5 w L^4 / (384 EI), kN to N.
  expect_rel(s.defl[1][10], 5.0f * w * std::pow(L, 4.0f) / (384.0f * 1.0e7f) * 1000.0f,
             kDiscretisation, "midspan deflection");
  EXPECT_FLOAT_EQ(s.defl[1][0], 0.0f);
  EXPECT_NEAR(s.defl[1][20], 0.0f, 1e-9f);
}

TEST(Krdef, TwoAndThreeEqualSpans) {
  const float w = 8.0f, L = 5.0f;
  solvo::Run two = slab({L, L});
  uniform(two, w);
  krdef(two, 0);
  expect_rel(two.snitt.m[2], -w * L * L / 8.0f, kDiscretisation, "middle support of two");
  expect_rel(two.snitt.r[1], 3.0f * w * L / 8.0f, kDiscretisation, "outer reaction");
  expect_rel(two.snitt.r[2], 10.0f * w * L / 8.0f, kDiscretisation, "middle reaction");
  expect_rel(two.snitt.r[3], 3.0f * w * L / 8.0f, kDiscretisation, "outer reaction");

  solvo::Run three = slab({L, L, L});
  uniform(three, w);
  krdef(three, 0);
  expect_rel(three.snitt.m[2], -0.1f * w * L * L, kDiscretisation, "inner support 2 of three");
  expect_rel(three.snitt.m[3], -0.1f * w * L * L, kDiscretisation, "inner support 3 of three");
}

TEST(Krdef, StifferSpanDrawsMoment) {
  // Two equal spans, span 2 twice as stiff: the three-moment equation gives
  // M2 (F1 + F2) / 3 = -(w L^3 / 24)(1/EI1 + 1/EI2), with F = L/EI.
  const float w = 8.0f, L = 5.0f;
  solvo::Run run = slab({L, L});
  uniform(run, w);
  run.snitt.ei[2] = 2.0e7f;
  krdef(run, 0);
  const float f1 = L / 1.0e7f, f2 = L / 2.0e7f;
  const float want = -(w * L * L * L / 24.0f) * (1.0f / 1.0e7f + 1.0f / 2.0e7f) * 3.0f / (f1 + f2);
  expect_rel(run.snitt.m[2], want, kDiscretisation, "support moment");
}

TEST(Krdef, CantileversAndLineLoads) {
  solvo::Run run = slab({5.0f, 5.0f});
  run.indat.cant_left = 1.5f;
  uniform(run, 4.0f);
  krdef(run, 0);
  EXPECT_FLOAT_EQ(run.snitt.m[1], -1.125f * 4.0f);  // -0.5 * 1.5^2 * w

  // A line load at -0.3 m in span 1 hangs on the left cantilever with lever 0.3 m, whatever
  // the cantilever's length (none here); a load past the last span, with no right
  // cantilever, goes straight into the last reaction and moves no moment.
  solvo::Run bare = slab({5.0f, 5.0f});
  uniform(bare, 4.0f);
  krdef(bare, 0);
  struct {
    float pos;
    int span;
    float m1, dm2, dr3;
  } cases[] = {
      {-0.3f, 1, -3.0f, 0.75f, 0.15f},  // M2 = -M1 / 4 for two equal spans; R3 += dM2 / L
      {6.0f, 2, 0.0f, 0.0f, 10.0f},
  };
  for (const auto& c : cases) {
    solvo::Run loaded = slab({5.0f, 5.0f});
    uniform(loaded, 4.0f);
    loaded.snitt.nll = 1;
    loaded.snitt.ll_span[1] = c.span;
    loaded.snitt.ll_pos[1] = c.pos;
    loaded.snitt.ll_load[1] = 10.0f;
    krdef(loaded, 0);
    EXPECT_NEAR(loaded.snitt.m[1], c.m1, 1e-5f) << c.pos;
    EXPECT_NEAR(loaded.snitt.m[2] - bare.snitt.m[2], c.dm2, 1e-4f) << c.pos;
    EXPECT_NEAR(loaded.snitt.r[3] - bare.snitt.r[3], c.dr3, 1e-4f) << c.pos;
  }
}

TEST(Krdef, LineLoadsCarryOverBetweenSpans) {
  // A load 6.5 m into span 1 of two 5 m spans acts 1.5 m into span 2; one at -1 m in span 2
  // acts 4 m into span 1. Compare with the load placed directly.
  struct {
    int span;
    float pos;
    int at_span;
    float at_pos;
  } cases[] = {{1, 6.5f, 2, 1.5f}, {2, -1.0f, 1, 4.0f}, {1, 5.0f, 2, 0.0f}};
  for (const auto& c : cases) {
    solvo::Run moved = slab({5.0f, 5.0f});
    uniform(moved, 1.0f);
    moved.snitt.nll = 1;
    moved.snitt.ll_span[1] = c.span;
    moved.snitt.ll_pos[1] = c.pos;
    moved.snitt.ll_load[1] = 10.0f;
    krdef(moved, 0);
    solvo::Run direct = slab({5.0f, 5.0f});
    uniform(direct, 1.0f);
    direct.snitt.nll = 1;
    direct.snitt.ll_span[1] = c.at_span;
    direct.snitt.ll_pos[1] = c.at_pos;
    direct.snitt.ll_load[1] = 10.0f;
    krdef(direct, 0);
    EXPECT_NEAR(moved.snitt.m[2], direct.snitt.m[2], 1e-4f) << c.span << " " << c.pos;
    EXPECT_NEAR(moved.snitt.r[2], direct.snitt.r[2], 1e-4f) << c.span << " " << c.pos;
  }
}

TEST(Krdef, ReactionsBalanceTheLoad) {
  solvo::Run run = slab({4.0f, 6.0f, 3.0f});
  run.indat.cant_left = 1.2f;
  run.indat.cant_right = 0.8f;
  run.snitt.w[1] = 5.0f;
  run.snitt.w[2] = 7.0f;
  run.snitt.w[3] = 3.0f;
  for (int i = 1; i <= 3; ++i) run.snitt.ei[i] = 1.0e7f + 3.0e6f * static_cast<float>(i);
  run.snitt.nll = 3;
  const float pos[] = {0, -0.5f, 2.0f, 9.0f};
  const int span[] = {0, 1, 2, 3};
  for (int k = 1; k <= 3; ++k) {
    run.snitt.ll_span[k] = span[k];
    run.snitt.ll_pos[k] = pos[k];
    run.snitt.ll_load[k] = 6.0f;
  }
  krdef(run, 0);
  const float total = 5.0f * 4.0f + 7.0f * 6.0f + 3.0f * 3.0f + 1.2f * 5.0f + 0.8f * 3.0f + 18.0f;
  float sum = 0;
  for (int j = 1; j <= 4; ++j) sum += run.snitt.r[j];
  EXPECT_NEAR(sum, total, 1e-3f);
  // The load past the last span sits at the tip of the 0.8 m cantilever.
  EXPECT_NEAR(run.snitt.m[4], -0.5f * 0.8f * 0.8f * 3.0f - 0.8f * 6.0f, 1e-4f);
}

TEST(Krdef, GivenSupportMomentsAreKept) {
  solvo::Run run = slab({5.0f, 5.0f});
  uniform(run, 8.0f);
  run.snitt.m[1] = 0.0f;
  run.snitt.m[2] = -10.0f;
  run.snitt.m[3] = 0.0f;
  krdef(run, 1);
  EXPECT_FLOAT_EQ(run.snitt.m[2], -10.0f);
  // Span 1 midspan: w L^2 / 8 - 10 / 2.
  EXPECT_NEAR(run.snitt.mom[1][10], 8.0f * 25.0f / 8.0f - 5.0f, 1e-3f);
  EXPECT_NEAR(run.snitt.vl[1], 8.0f * 5.0f / 2.0f - 10.0f / 5.0f, 1e-4f);
}

// Analyses a whole case in memory.
solvo::Run analysed(solvo::Run run) {
  int32_t flag = 7;
  snikra(run, flag);
  return run;
}

TEST(Snikra, PatternLoadingMaxEqualsSpanOneLoadedAlone) {
  solvo::Run run = analysed(slab({5.0f, 6.0f}));
  // Row 2 (6.10b): permanent load on both spans, the variable load on span 1 alone.
  const Indat& c = run.indat;
  solvo::Run direct = slab({5.0f, 6.0f});
  for (int i = 1; i <= 2; ++i) {
    const float G = c.perm_load[i] + run.dat.self_weight[i];
    direct.snitt.w[i] = run.dat.gamma_d * c.xsi * c.gamma_g * G;
    direct.snitt.ei[i] = run.snitt.ei[i];
  }
  direct.snitt.w[1] += run.dat.gamma_d * c.gamma_q * c.imposed_load[1];
  krdef(direct, 0);
  float peak = direct.snitt.mom[1][1];
  for (int p = 1; p <= 19; ++p) peak = std::fmax(peak, direct.snitt.mom[1][p]);
  EXPECT_NEAR(run.arbvar.m_span_max[kRowUlsB][1], peak, 1e-3f);
  // And the most hogging support moment has the variable load on both spans.
  for (int i = 1; i <= 2; ++i)
    direct.snitt.w[i] += (i == 2 ? run.dat.gamma_d * c.gamma_q * 2.0f : 0);
  krdef(direct, 0);
  EXPECT_NEAR(run.arbvar.ms_min[kRowUlsB][2], direct.snitt.m[2], 1e-3f);
}

TEST(Snikra, RowThreeTakesTheMoreSevereOfRowsOneAndTwo) {
  solvo::Run run = analysed(slab({5.0f, 6.0f, 4.0f}));
  const Arbvar& a = run.arbvar;
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(a.ms_min[kRowUlsBoth][j], std::fmin(a.ms_min[kRowUlsA][j], a.ms_min[kRowUlsB][j]))
        << j;
    EXPECT_EQ(a.ms_max[kRowUlsBoth][j], std::fmax(a.ms_max[kRowUlsA][j], a.ms_max[kRowUlsB][j]))
        << j;
    EXPECT_EQ(a.r_max[kRowUlsBoth][j], std::fmax(a.r_max[kRowUlsA][j], a.r_max[kRowUlsB][j])) << j;
  }
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(a.m_span_max[kRowUlsBoth][i],
              std::fmax(a.m_span_max[kRowUlsA][i], a.m_span_max[kRowUlsB][i]))
        << i;
    EXPECT_EQ(a.vl_max[kRowUlsBoth][i], std::fmax(a.vl_max[kRowUlsA][i], a.vl_max[kRowUlsB][i]))
        << i;
    const int from = a.m_span_max[kRowUlsB][i] > a.m_span_max[kRowUlsA][i] ? kRowUlsB : kRowUlsA;
    EXPECT_EQ(run.snitt.q_loaded[kRowUlsBoth][i], run.snitt.q_loaded[from][i]) << i;
  }
  // The loaded-span load of the fire row is row 8's.
  EXPECT_EQ(run.snitt.q_loaded[kFireRow][2], run.snitt.q_loaded[kRowQuasiGammaD][2]);
}

TEST(Snikra, LoadSetFactors) {
  // Market 4: no variable load on the spans in row 1, so no pattern either.
  solvo::Run fin = slab({5.0f, 6.0f});
  fin.indat.market = 4;
  berdat(fin);
  fin = analysed(fin);
  for (int i = 1; i <= 2; ++i)
    EXPECT_EQ(fin.snitt.q_loaded[kRowUlsA][i], fin.snitt.g_row[kRowUlsA][i]) << i;
  EXPECT_EQ(fin.arbvar.ms_min[kRowUlsA][2], fin.arbvar.ms_max[kRowUlsA][2]);

  // Row 7: q where G < q, psi0 q otherwise. t = 0.1: G = 0.8 + (0.1 - 0.0165) 25 + 0.089
  // = 2.9765 < 5; with 3.9 kN/m2 added, G = 6.0765 > 5.
  solvo::Run run = slab({5.0f, 5.0f}, 0.1f);
  run.indat.imposed_load[1] = run.indat.imposed_load[2] = 5.0f;
  run.indat.perm_load[1] = 0.8f;
  run.indat.perm_load[2] = 3.9f;
  run = analysed(run);
  EXPECT_FLOAT_EQ(run.snitt.q_loaded[kRowCharacteristic][1], 5.0f);
  EXPECT_FLOAT_EQ(run.snitt.q_loaded[kRowCharacteristic][2], 0.7f * 5.0f);
  // Row 8 is row 5 times gamma_d (Sweden, safety class 2: 0.91).
  EXPECT_FLOAT_EQ(run.snitt.q_loaded[kRowQuasiGammaD][1], 0.91f * (2.9765f + 0.3f * 5.0f));
}

TEST(Snikra, ZeroPointsOfTwoEqualSpans) {
  // psi2 = 0: row 5 carries the permanent load alone, so both envelopes are the curve of a
  // uniform load on two equal spans, M(x) = 3/8 w L x - w x^2 / 2 in span 1. It is zero at
  // x = 3L/4, a quarter span from the middle support, and at -w L^2 / 16 (half the support
  // moment) 0.1096 L from it: u^2 - 0.75 L u - L^2 / 8 = 0 gives u = 0.8904 L.
  solvo::Run run = slab({6.0f, 6.0f});
  run.indat.support_width[2] = 0.2f;
  berdat(run);
  run.indat.psi2 = 0.0f;
  run = analysed(run);
  const float le = run.dat.clear_span[1];
  ASSERT_FLOAT_EQ(le, 5.9f);
  const Arbvar& a = run.arbvar;
  EXPECT_FLOAT_EQ(a.zl[kRowQuasiShort][1], 0.0f);
  EXPECT_NEAR(a.zr[kRowQuasiShort][1], 0.1f + 0.25f * le, 0.01f * le);
  EXPECT_NEAR(a.tr[kRowQuasiShort][1], 0.1f + 0.1096f * le, 0.01f * le);
  EXPECT_NEAR(a.zl[kRowQuasiShort][2], 0.1f + 0.25f * le, 0.01f * le);
  EXPECT_NEAR(a.tl[kRowQuasiShort][2], 0.1f + 0.1096f * le, 0.01f * le);
  EXPECT_FLOAT_EQ(a.zr[kRowQuasiShort][2], 0.0f);
  EXPECT_NEAR(a.p2[kRowQuasiShort][1], 0.1f + 0.25f * le, 0.01f * le);
  EXPECT_FLOAT_EQ(a.p1[kRowQuasiShort][1], 0.0f);
  EXPECT_EQ(a.merge[kRowQuasiShort][2], 0);
  EXPECT_EQ(a.merge[kRowQuasiShort][3], 0);
}

TEST(Snikra, OneSpanZeroPointsAreHalfTheSupports) {
  solvo::Run run = slab({6.0f});
  run.indat.support_width[1] = 0.1f;
  run.indat.support_width[2] = 0.3f;
  berdat(run);
  run = analysed(run);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_FLOAT_EQ(run.arbvar.zl[k][1], 0.05f) << k;
    EXPECT_FLOAT_EQ(run.arbvar.zr[k][1], 0.15f) << k;
    EXPECT_FLOAT_EQ(run.arbvar.ms_min[k][1], 0.0f) << k;
  }
  // Row 5: G + psi2 q over the clear span 5.8 m, (0.5 + 3.6765 + 0.3 * 2) 5.8^2 / 8.
  EXPECT_NEAR(run.arbvar.m_span_max[kRowQuasiShort][1], 4.7765f * 5.8f * 5.8f / 8.0f, 1e-3f);
}

TEST(Snikra, ShortMiddleSpanMergesTheTopBars) {
  // Between two long spans a 0.8 m span hogs over its whole length: the bars of its two
  // supports are one bar, and its zero points lie at the far supports.
  solvo::Run run = analysed(slab({6.0f, 0.8f, 6.0f}));
  for (int k : {1, 2, 3, 8}) {
    EXPECT_EQ(run.arbvar.merge[k][3], 1) << k;
    EXPECT_EQ(run.arbvar.merge[k][2], 0) << k;
    EXPECT_FLOAT_EQ(run.arbvar.zl[k][2], 0.4f) << k;
    EXPECT_FLOAT_EQ(run.arbvar.zr[k][2], 0.4f) << k;
  }
}

TEST(Snikra, DataFilesHoldEveryValue) {
  solvo::Run run = analysed(slab({5.0f, 6.0f, 4.0f}));
  ASSERT_EQ(run.files.size(), 2u);
  EXPECT_EQ(run.files[0].name, "MOMK.DAT");
  EXPECT_EQ(run.files[1].name, "AL.DAT");
  auto lines = [](const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
  };
  EXPECT_EQ(lines(run.files[0].contents), 1 + 4 * 22 * 3);
  EXPECT_EQ(lines(run.files[1].contents), 8 * (1 + 2 * 3));
  // First lines of MOMK.DAT: n, then span 1's step and the max support moment of row 1.
  const std::string& m = run.files[0].contents;
  EXPECT_EQ(m.substr(0, 5), " 3\r\n ");
  EXPECT_EQ(m.substr(4, m.find("\r\n", 4) - 4), " 0.25");  // 0.05 * 5 m
  // AL.DAT starts with pass 1, the left zero point of span 1 (0: no support width).
  EXPECT_EQ(run.files[1].contents.substr(0, 8), " 1\r\n 0\r\n");
}

// The values of a free-form data file, one a line.
std::vector<double> values_of(const std::string& text) {
  std::vector<double> out;
  std::istringstream in(text);
  for (double v; in >> v;) out.push_back(v);
  return out;
}

// MOMD.DAT holds n, the load set, and the two blocks of that load set: for 6.10a blocks 1 and
// 2 of MOMK.DAT, for 6.10b blocks 3 and 4, for both the larger of the maximum curves and the
// smaller of the minimum curves point by point (support values included).
TEST(Snikra, DesignCurvesAreTheBlocksOfTheDesignsLoadSet) {
  constexpr size_t kBlock = 3 * 22;  // three spans of a step and 21 moments
  for (int32_t set : {1, 2, 3}) {
    solvo::Run run = slab({5.0f, 6.0f, 4.0f});
    run.indat.load_set = set;
    run = analysed(run);
    const std::vector<double> momk = values_of(run.files[0].contents);
    const std::vector<double> momd = values_of(design_curves(run));
    ASSERT_EQ(momk.size(), 1 + 4 * kBlock);
    ASSERT_EQ(momd.size(), 2 + 2 * kBlock) << set;
    EXPECT_EQ(momd[0], 3.0);
    EXPECT_EQ(momd[1], static_cast<double>(set));
    for (size_t b = 0; b < 2; ++b)
      for (size_t v = 0; v < kBlock; ++v) {
        const double a = momk[1 + b * kBlock + v];         // 6.10a, max then min
        const double bb = momk[1 + (b + 2) * kBlock + v];  // 6.10b
        const bool step = v % 22 == 0;
        const double want = set == 1           ? a
                            : set == 2 || step ? bb
                            : b == 0           ? std::max(a, bb)
                                               : std::min(a, bb);
        EXPECT_EQ(momd[2 + b * kBlock + v], want) << "set " << set << " block " << b << " " << v;
      }
  }
}

}  // namespace
}  // namespace solvo
