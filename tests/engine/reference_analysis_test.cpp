// The engine's envelopes against a second analysis in double precision (reference_analysis.*):
//  - the ten-span sample with the exact uniform loads and its line loads placed by hand, and
//  - generated slabs of every market, one to ten spans, cantilevers and line loads, with the
//    twenty point loads that the engine uses, every analysed load set and every table.
#include "reference_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis.h"
#include "case_input.h"
#include "reference_case.h"
#include "reference_compare.h"
#include "test_files.h"

namespace solvo {
namespace {

using reference::Comparison;
using reference::Distributed;
using reference::Envelopes;
using reference::Slab;

// Compares the tables of row k of the engine with the reference envelopes.
void compare_row(const Run& run, int k, const Envelopes& e, const std::string& what,
                 Comparison& cmp) {
  const Arbvar& a = run.arbvar;
  const int n = run.indat.n;
  const size_t r = static_cast<size_t>(k);
  const std::string row = what + " row " + std::to_string(k);
  cmp.group(row, {{"ms_max", a.ms_max[r].data(), &e.ms_max, n + 1},
                  {"ms_min", a.ms_min[r].data(), &e.ms_min, n + 1},
                  {"m_span_max", a.m_span_max[r].data(), &e.m_span_max, n},
                  {"m_span_min", a.m_span_min[r].data(), &e.m_span_min, n}});
  cmp.group(row, {{"r_max", a.r_max[r].data(), &e.r_max, n + 1},
                  {"r_min", a.r_min[r].data(), &e.r_min, n + 1},
                  {"vl_max", a.vl_max[r].data(), &e.vl_max, n},
                  {"vl_min", a.vl_min[r].data(), &e.vl_min, n},
                  {"vr_max", a.vr_max[r].data(), &e.vr_max, n},
                  {"vr_min", a.vr_min[r].data(), &e.vr_min, n}});
  cmp.group(row, {{"d_span_max", a.d_span_max[r].data(), &e.d_span_max, n},
                  {"d_span_min", a.d_span_min[r].data(), &e.d_span_min, n}});
  // The curves at the 21 points of every span, as MOMK.DAT holds them for rows 1 and 2.
  for (size_t i = 1; i <= static_cast<size_t>(n); ++i) {
    const std::string span = row + " span " + std::to_string(i);
    cmp.group(span, {{"m_max", a.m_max[r][i].data(), &e.m_max[i], 20, 0},
                     {"m_min", a.m_min[r][i].data(), &e.m_min[i], 20, 0}});
    cmp.group(span, {{"d_max", a.d_max[r][i].data(), &e.d_max[i], 20, 0},
                     {"d_min", a.d_min[r][i].data(), &e.d_min[i], 20, 0}});
  }
}

// The twenty point loads at the centres of the twentieths carry a uniform load w with the
// simple-span moments at the sampling points exactly (the points lie on the edges of the
// twentieths), but with end-rotation terms larger by the midpoint rule's excess: the sum of
// P b (L^2 - b^2) / (6 L) over the twenty loads is w L^3 / 24 (1 + 1 / (2 20^2)). The support
// moments, and through them the span moments and reactions, differ from the uniform load's
// by at most that share of the largest support moment; the tolerance adds float noise.
constexpr double kStripExcess = 1.0 / (2 * 20 * 20);
constexpr double kTwentyPointLoadsTolerance = kStripExcess + 0.00025;

// The ten-span sample (data/samples/TIOFACK.IND), rows 1 and 2, against the exact uniform
// load. Everything is taken from the case file by hand:
//  clear spans: centre distances less half of each support width (0 at the ends, 0.1 inside);
//  G = 0.5 + self weight (t - 0.0165) 25 + 0.089: 3.6765 (t 0.14), 4.1765 (0.16), 4.6765
//  (0.18), 5.1765 (0.20); q = 3.0; Sweden, safety class 2: gamma_d = 0.91; factors 1.35,
//  0.89, 1.5, psi0 0.7;
//  row 1 (6.10a): 0.91 1.35 G on every span, 0.7 0.91 1.5 q on the loaded span, line loads
//  times 0.7 0.91 1.5; row 2 (6.10b): 0.91 0.89 1.35 G, 0.91 1.5 q, line loads times 0.91 1.5;
//  line loads: 8.0 at 1.5 m in span 2, 12.5 at 2.0 m in span 4, 6.0 at 5.8 m in span 5
//  (clear span 5.9), 4.0 at -0.4 m in span 8, which is 5.4 - 0.4 = 5.0 m into span 7, and
//  10.0 at 3.0 m in span 10; cantilevers 0.8 and 0.6 m.
// The stiffness of each span is the section's, as the engine computes it.
TEST(ReferenceAnalysis, TenSpanSampleAgainstTheUniformLoad) {
  solvo::Run run;
  insolvo(run, testing::slurp(SOLVO_DATA "/samples/TIOFACK.IND"));
  int32_t flag = 0;
  snikra(run, flag);

  const std::vector<double> le = {0, 4.15, 4.40, 4.90, 5.40, 5.90, 5.90, 5.40, 4.90, 4.40, 4.15};
  const std::vector<double> G = {0,      3.6765, 3.6765, 4.1765, 4.6765, 5.1765,
                                 5.1765, 4.6765, 4.1765, 3.6765, 3.6765};
  struct Row {
    int k;
    double g_factor, q_factor, l1;
  };
  const Row rows[] = {{kRowUlsA, 0.91 * 1.35, 0.7 * 0.91 * 1.5, 0.7 * 0.91 * 1.5},
                      {kRowUlsB, 0.91 * 0.89 * 1.35, 0.91 * 1.5, 0.91 * 1.5}};
  for (const Row& row : rows) {
    Slab s;
    s.n = 10;
    s.le = le;
    s.width = {0, 0, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0};
    s.ei.assign(11, 0.0);
    s.g.assign(11, 0.0);
    s.q.assign(11, 0.0);
    for (int i = 1; i <= 10; ++i) {
      s.ei[static_cast<size_t>(i)] = span_stiffness(run, 0.0f, i);
      s.g[static_cast<size_t>(i)] = row.g_factor * G[static_cast<size_t>(i)];
      s.q[static_cast<size_t>(i)] = row.q_factor * 3.0;
    }
    s.cant_left = 0.8;
    s.cant_right = 0.6;
    s.in_spans = {{2, 1.5, 8.0 * row.l1},
                  {4, 2.0, 12.5 * row.l1},
                  {5, 5.8, 6.0 * row.l1},
                  {7, 5.0, 4.0 * row.l1},
                  {10, 3.0, 10.0 * row.l1}};
    const Envelopes exact = reference::analyse(s, Distributed::Uniform);

    const Arbvar& a = run.arbvar;
    const size_t r = static_cast<size_t>(row.k);
    Comparison cmp(kTwentyPointLoadsTolerance);
    const std::string what = "TIOFACK row " + std::to_string(row.k);
    cmp.group(what, {{"ms_min", a.ms_min[r].data(), &exact.ms_min, 11},
                     {"m_span_max", a.m_span_max[r].data(), &exact.m_span_max, 10}});
    cmp.group(what, {{"r_max", a.r_max[r].data(), &exact.r_max, 11}});
    EXPECT_EQ(cmp.failures(), "");
    // The twenty point loads do stand for the distributed load: the engine is not merely
    // close to itself (the largest support moment of row 2 is about -36 kNm/m).
    EXPECT_GT(cmp.worst(), 0.0);
    EXPECT_LT(exact.ms_min[5], -30.0);
  }
}

// The numbers of a data file of the run (one value per line), in order.
std::vector<double> numbers_of(const solvo::Run& run, const std::string& name) {
  std::vector<double> v;
  for (const OutputFile& f : run.files) {
    if (f.name != name) continue;
    std::istringstream in(f.contents);
    for (double x; in >> x;) v.push_back(x);
  }
  return v;
}

// MOMK.DAT: n, then the max and the min curves of rows 1 and 2, per span the step, the
// support moment on the left, the 19 inner points and the support moment on the right.
void compare_momk(const solvo::Run& run, const reference::Rows& rows, const std::string& what,
                  Comparison& cmp) {
  const std::vector<double> file = numbers_of(run, "MOMK.DAT");
  const int n = run.indat.n;
  ASSERT_EQ(file.size(), 1 + 4 * 22 * static_cast<size_t>(n)) << what;
  EXPECT_EQ(file[0], n) << what;
  size_t at = 1;
  for (int k : {kRowUlsA, kRowUlsB}) {
    const Envelopes& e = rows.envelopes[static_cast<size_t>(k)];
    for (bool max : {true, false}) {
      const std::vector<double>& support = max ? e.ms_max : e.ms_min;
      for (size_t i = 1; i <= static_cast<size_t>(n); ++i) {
        EXPECT_NEAR(file[at], 0.05 * rows.slab[static_cast<size_t>(k)].le[i], 1e-6) << what;
        std::vector<double> want = max ? e.m_max[i] : e.m_min[i];
        want[0] = support[i];
        want[20] = support[i + 1];
        const std::vector<float> got(file.begin() + static_cast<long>(at) + 1,
                                     file.begin() + static_cast<long>(at) + 22);
        cmp.group(what + " MOMK.DAT row " + std::to_string(k) + " span " + std::to_string(i),
                  {{max ? "max" : "min", got.data(), &want, 20, 0}});
        at += 22;
      }
    }
  }
}

// The engine in single precision against the reference in double, both with the twenty point
// loads, on every analysed load set and every table, and MOMK.DAT, within the float noise of
// an envelope.
using reference::kFloatNoise;

TEST(ReferenceAnalysis, GeneratedSlabsOfEveryMarketAgreeWithTheDoubleAnalysis) {
  reference::RandomSlabs slabs(20261208);
  Comparison cmp(kFloatNoise);
  for (int index = 0; index < 400; ++index) {
    solvo::Run run;
    slabs.next(run, index);
    int32_t flag = 0;
    snikra(run, flag);
    const reference::Rows rows = reference::rows_of(run);
    const std::string what = "case " + std::to_string(index);
    for (int k : reference::kAnalysedRows)
      compare_row(run, k, rows.envelopes[static_cast<size_t>(k)], what, cmp);
    compare_momk(run, rows, what, cmp);
  }
  const std::string failures = cmp.failures();
  EXPECT_EQ(failures.substr(0, 3000), "");
}

// Zero points, cut-off distances and merge flags of every analysed row and of row 3 against
// the reference's reading of the same rules from its own curves. Row 3 takes row 2's curves
// and the more severe support moments of rows 1 and 2, as the engine forms it. A span where
// noise could tip a decision is left out, and so are the spans after it in that row (the
// merge flag runs on). A distance is a whole number of point steps (at most 0.375 m) and a
// fraction of one interpolated between two points; with the values of the decisions at
// least 1e-4 of the row's largest moment apart and the float noise about 2e-6 of it, 4 mm
// is a tenth of the smallest bar step and far below a fault (a wrong point or interpolation
// moves a distance by a step's fraction).
TEST(ReferenceAnalysis, GeneratedSlabsHaveTheReferenceZeroPoints) {
  constexpr double kDistanceTolerance = 0.004;
  reference::RandomSlabs slabs(7);
  int compared = 0, left_out = 0;
  std::ostringstream failures;
  for (int index = 0; index < 300; ++index) {
    solvo::Run run;
    slabs.next(run, index);
    int32_t flag = 0;
    snikra(run, flag);
    const Arbvar& a = run.arbvar;
    const int n = run.indat.n;
    const reference::Rows rows = reference::rows_of(run);
    // AL.DAT: per row 1..8 in turn its number, then zl and zr of every span.
    const std::vector<double> al = numbers_of(run, "AL.DAT");
    ASSERT_EQ(al.size(), 8 * (1 + 2 * static_cast<size_t>(n))) << index;
    for (int k = kRowUlsA; k <= kRowQuasiGammaD; ++k) {
      const size_t r = static_cast<size_t>(k);
      const size_t al_row = (r - 1) * (1 + 2 * static_cast<size_t>(n));
      EXPECT_EQ(al[al_row], k) << index;
      const Envelopes& e = rows.envelopes[r];
      const reference::ZeroPoints z =
          reference::zero_points(rows.slab[r], e.m_min, e.m_max, e.ms_min, e.ms_max);
      const double scale = reference::moment_scale(e, n);
      for (int i = 1; i <= n; ++i) {
        const size_t u = static_cast<size_t>(i);
        if (reference::span_near_a_decision(e, i, reference::kDecisionMargin * scale)) {
          left_out += n - i + 1;
          break;
        }
        ++compared;
        const std::string where = "case " + std::to_string(index) + " row " + std::to_string(k) +
                                  " span " + std::to_string(i);
        const std::pair<const char*, std::pair<double, float>> distances[] = {
            {"zl", {z.zl[u], a.zl[r][u]}},
            {"zr", {z.zr[u], a.zr[r][u]}},
            {"tl", {z.tl[u], a.tl[r][u]}},
            {"tr", {z.tr[u], a.tr[r][u]}},
            {"p1", {z.p1[u], a.p1[r][u]}},
            {"p2", {z.p2[u], a.p2[r][u]}},
            {"AL.DAT zl", {z.zl[u], al[al_row + 2 * u - 1]}},
            {"AL.DAT zr", {z.zr[u], al[al_row + 2 * u]}}};
        for (const auto& [name, pair] : distances) {
          if (std::isnan(pair.first)) continue;  // left unset by the rules
          if (!(std::fabs(pair.first - pair.second) <= kDistanceTolerance))
            failures << where << " " << name << ": " << pair.second << ", reference " << pair.first
                     << "\n";
        }
        if (z.merge[u + 1] != a.merge[r][u + 1])
          failures << where << " merge flag of support " << i + 1 << ": " << a.merge[r][u + 1]
                   << ", reference " << z.merge[u + 1] << "\n";
      }
    }
  }
  EXPECT_EQ(failures.str().substr(0, 3000), "");
  // Float noise tips a decision rarely; most spans must be compared (about 90 % are).
  EXPECT_GT(compared, 0.85 * (compared + left_out))
      << compared << " compared, " << left_out << " left out";
}

}  // namespace
}  // namespace solvo
