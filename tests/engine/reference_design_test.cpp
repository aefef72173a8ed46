// The engine's design of the top bars and its span checks against the design rules,
// re-derived in double precision from the reference analysis (reference_design.*) on generated
// slabs of every market, one to ten spans, cantilevers and line loads.
//
// The section routines are the engine's own (tested on their own). Where a result of the
// design is a section routine's answer to another result, the routine gets the engine's value
// of that other result once it has been compared with the reference: the spacing follows from
// the engine's area, the shear resistances from its areas, the bond demand from its capacity,
// the weights from its bar lengths and spacings. Each step is then held to its own rule.
#include "reference_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis.h"
#include "comdat.h"
#include "design.h"
#include "reference_case.h"
#include "reference_compare.h"
#include "section.h"

namespace solvo {
namespace {

using reference::BarRule;
using reference::kFloatNoise;

// The section routines stop when two successive depths lie within 0.1 mm and return the
// values of the last one: within about 0.1 % of the exact root's, and two calls whose
// arguments differ by float noise may stop a round apart.
constexpr double kIterate = 2e-3;
// A product or quotient of a few floats, and a float sum of up to twelve weight terms.
constexpr double kRounding = 1e-6;
constexpr double kSumRounding = 1e-5;
// Bar lengths are compared where every span they rest on is clear of decisions that float
// noise may tip (reference::kDecisionMargin; about 15 % of the cases have such a span). The
// interpolated distances of the clear spans then agree to better than 0.1 mm (0.06 mm at
// most on these cases), so a whole millimetre truncated from a length is the reference's,
// except where the length lies within a float tie of a whole millimetre: within 0.25 mm
// either millimetre is accepted. A fault moves a bar by a point step, a support depth or a
// distance of another span: tens of millimetres.
constexpr double kLengthTie = 0.25;  // mm
// The shear length holds two of those distances; the bond demand is a step function of it.
constexpr double kShearLengthTolerance = 0.0005;  // m

size_t at(int i) { return static_cast<size_t>(i); }

double utilisation(double action, double resistance) {
  return resistance > 0 ? action / resistance : std::numeric_limits<double>::infinity();
}

// Collects what disagrees, with the case, the place and both values.
class Failures {
 public:
  void within(const std::string& where, double got, double lo, double hi) {
    ++compared_;
    if (got >= lo && got <= hi) return;
    if (std::isinf(got) && std::isinf(lo) && got == lo) return;
    out_ << where << ": " << got << ", reference " << lo << " .. " << hi << "\n";
  }
  void near(const std::string& where, double got, double want, double tolerance) {
    within(where, got, want - tolerance, want + tolerance);
  }
  // A whole number of mm truncated from `want` mm, which may lie `tolerance` off.
  void truncated(const std::string& where, double got, double want, double tolerance) {
    within(where, got, std::floor(want - tolerance), std::floor(want + tolerance));
  }
  std::string text() const { return out_.str().substr(0, 4000); }
  int compared() const { return compared_; }

 private:
  std::ostringstream out_ = [] {
    std::ostringstream o;
    o.precision(10);
    return o;
  }();
  int compared_ = 0;
};

double force_scale(const reference::Envelopes& e, int n) {
  double scale = 0;
  for (const auto* v : {&e.r_max, &e.r_min})
    for (int j = 1; j <= n + 1; ++j) scale = std::max(scale, std::fabs((*v)[at(j)]));
  for (const auto* v : {&e.vl_max, &e.vl_min, &e.vr_max, &e.vr_min})
    for (int i = 1; i <= n; ++i) scale = std::max(scale, std::fabs((*v)[at(i)]));
  return scale;
}

double deflection_scale(const reference::Envelopes& e, int n) {
  double scale = 0;
  for (const auto* v : {&e.d_span_max, &e.d_span_min})
    for (int i = 1; i <= n; ++i) scale = std::max(scale, std::fabs((*v)[at(i)]));
  return scale;
}

// One generated case: the engine's run, the reference analysis and its design row, the float
// noise of the row's moments and forces, and how many spans from span 1 on are clear of
// decisions that float noise can tip.
struct Case {
  std::string name;
  Run run;
  reference::Rows rows;
  reference::DesignRow row;
  double moment_noise = 0, force_noise = 0;
  int clear_spans = 0;

  Case(reference::RandomSlabs& slabs, int index) : name("case " + std::to_string(index)) {
    slabs.next(run, index);
    int32_t flag = 0;
    snikra(run, flag);
    dimen(run);
    const int n = run.indat.n;
    rows = reference::rows_of(run);
    const int k = design_row(run.indat);
    double forces = 0;
    for (int r : {k == kRowUlsBoth ? kRowUlsA : k, k == kRowUlsBoth ? kRowUlsB : k})
      forces = std::max(forces, force_scale(rows.envelopes[at(r)], n));
    force_noise = kFloatNoise * forces;
    const double moments = std::max(reference::moment_scale(rows.envelopes[kRowUlsA], n),
                                    reference::moment_scale(rows.envelopes[kRowUlsB], n));
    moment_noise = kFloatNoise * moments;
    row = reference::design_row_of(run, rows, moment_noise);
    clear_spans = n;
    for (int i = 1; i <= n && clear_spans == n; ++i)
      if (reference::span_near_a_decision(row.e, i, reference::kDecisionMargin * moments))
        clear_spans = i - 1;
  }
  int n() const { return run.indat.n; }
  std::string at_support(int j) const { return name + " support " + std::to_string(j); }
  std::string at_span(int i) const { return name + " span " + std::to_string(i); }
};

// The required area over support j, the engine's section routine for the reference's depth
// and the reference's moment moved by its float noise either way: the smallest and largest.
std::pair<double, double> area_range(const Case& c, const reference::SupportInput& in) {
  const Matdat& m = c.run.matdat;
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (double moment : {in.moment - c.moment_noise, in.moment, in.moment + c.moment_noise}) {
    // No convergence counts as no solution (the decided reading, as no equilibrium).
    const double area = samm1s(m.fcd, m.fyd_top, m.es, kDeckRibs, static_cast<float>(in.d),
                               static_cast<float>(moment), kNoEquilibriumArea)
                            .area;
    lo = std::min(lo, area);
    hi = std::max(hi, area);
  }
  return {lo * (1 - kIterate), hi * (1 + kIterate)};
}

// The spacing of one bar of area Abar (mm2) for an area As (m2/m), truncated to whole mm:
// the smallest and the largest that a float quotient on a tie can give; the spacing it had
// (0) when no bars are needed.
std::pair<double, double> spacing_range(const Case& c, double as) {
  if (!(as > 0)) return {0, 0};
  const double s = c.run.matdat.area_top / (as * 1000);
  return {std::floor(s * (1 - kRounding)), std::floor(s * (1 + kRounding))};
}

// A spacing within what can be built: none (0) closer than the bar's diameter plus a clear
// distance of the diameter and at least 20 mm; at most twice the thinner slab at the support
// (whole mm) and 250 mm.
double buildable(double s, double dia, double h) {
  if (!(s > 0) || s < dia + std::max(dia, 20.0)) return 0;
  return std::min({s, std::floor(2000 * h + 1e-3), 250.0});
}

// The thinner slab at support j (the end spans' at the ends).
double support_depth(const Indat& c, int j) {
  if (j == 1) return c.thickness[1];
  if (j == c.n + 1) return c.thickness[at(c.n)];
  return std::min(c.thickness[at(j - 1)], c.thickness[at(j)]);
}

// a, As and S of every support, and the area the checks credit; returns the reference's bar
// depths and the spacings before pairing (the larger of a tie), for the bar lengths.
std::pair<std::vector<double>, std::vector<double>> check_supports(const Case& c, Failures& f) {
  const Utdat& u = c.run.utdat;
  const Indat& in_case = c.run.indat;
  const double dia = c.run.matdat.dia_top, abar = c.run.matdat.area_top;
  const std::vector<reference::SupportInput> in = reference::support_inputs(c.run, c.row);
  const int n = c.n();
  std::vector<double> a(at(n + 2)), area(at(n + 2)), lo(at(n + 2)), hi(at(n + 2));
  for (int j = 1; j <= n + 1; ++j) {
    const size_t k = at(j);
    a[k] = in[k].a;
    f.near(c.at_support(j) + " a", u.a[k], in[k].a, kRounding * in[k].a);
    const auto [as_lo, as_hi] = area_range(c, in[k]);
    f.within(c.at_support(j) + " As", u.as[k], as_lo, as_hi);
    area[k] = u.as[k];
    std::tie(lo[k], hi[k]) = spacing_range(c, area[k]);
    const double h = support_depth(in_case, j);
    lo[k] = buildable(lo[k], dia, h);
    hi[k] = buildable(hi[k], dia, h);
  }
  const reference::TopBars bars = reference::top_bars(c.run, c.row, a, hi);
  const std::vector<double> paired_lo = reference::paired_spacings(bars, lo, area);
  const std::vector<double> paired_hi = reference::paired_spacings(bars, hi, area);
  for (int j = 1; j <= n + 1; ++j) {
    if (j > c.clear_spans + 1) break;  // the pairing rests on the merge flags up to span j
    const size_t k = at(j);
    f.within(c.at_support(j) + " S", u.s[k], paired_lo[k], paired_hi[k]);
    // Credited: nothing where bars are needed and none can be built; the bars' own area where
    // the largest spacing is the spacing; else the area designed.
    double credit = area[k];
    if (area[k] > 0 && !(paired_hi[k] > 0)) credit = 0;
    const double most = std::min(std::floor(2000 * support_depth(in_case, j) + 1e-3), 250.0);
    if (credit > 0 && abar / (area[k] * 1000) >= most + 1) credit = abar / (most * 1000);
    f.near(c.at_support(j) + " credited As", u.as_credit[k], credit, kRounding * credit);
  }
  return {a, hi};
}

// The bond check of span i: the bond demand a step function of the shear length (the shear
// span is searched in steps of 0.1 m), so the shear length is moved by its tolerance either
// way, and the load of either row where the two span moments of row 3 tie.
void check_bond(const Case& c, int i, const reference::SpanInput& in, Failures& f) {
  const Matdat& m = c.run.matdat;
  const Utdat& u = c.run.utdat;
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (double q : c.row.q_loaded[at(i)]) {
    for (double x : {in.x - kShearLengthTolerance, in.x, in.x + kShearLengthTolerance}) {
      const BondResult bond = samm3(static_cast<float>(q), static_cast<float>(x), comdat::kDeckArea,
                                    m.fypd, m.mrd_deck, u.mr_span[at(i)]);
      const double ub = utilisation(bond.v, m.tau_rd);
      lo = std::min(lo, ub);
      hi = std::max(hi, ub);
    }
  }
  f.within(c.at_span(i) + " UB", u.ub[at(i)], lo * (1 - kRounding), hi * (1 + kRounding));
}

// The shear at one end of span i over the resistance with the top bars of the support named.
void check_shear(const Case& c, int i, const std::string& end, double v, int support, bool deck,
                 double got, Failures& f) {
  const Indat& in = c.run.indat;
  const float t = in.thickness[at(i)];
  const float fck = comdat::kConcrete[at(in.concrete_class)].fck;
  const float gamma_c = comdat::kMarket[at(in.market)].gamma_c;
  const double vr =
      samm4(t, c.run.utdat.as_credit[at(support)], deck ? 1 : 0, in.top_cover, fck, gamma_c).vr;
  const double want = utilisation(v, vr);
  f.near(c.at_span(i) + " " + end, got, want, c.force_noise / vr + kRounding * std::fabs(want));
}

void check_spans(const Case& c, Failures& f) {
  const Indat& in = c.run.indat;
  const Matdat& m = c.run.matdat;
  const Utdat& u = c.run.utdat;
  const int n = c.n();
  const std::vector<reference::SpanInput> spans = reference::span_inputs(c.run, c.rows, c.row);
  const double d4 = deflection_scale(c.rows.envelopes[kRowQuasiLong], n);
  const double d5 = deflection_scale(c.rows.envelopes[kRowQuasiShort], n);
  const double d3 = deflection_scale(
      c.rows.envelopes[at(in.defl_load == 1 ? kRowFrequent : kRowCharacteristic)], n);
  for (int i = 1; i <= n; ++i) {
    const size_t k = at(i);
    const reference::SpanInput& s = spans[k];
    const std::string where = c.at_span(i);
    const double mr = samm2(m.fcd, 0.0f, m.fypd, m.es,
                            static_cast<float>(in.thickness[k] - double{comdat::kDeckCentroid}),
                            0.0f, comdat::kDeckArea, 0.0f, 0.0f)
                          .mr;
    f.near(where + " Mr", u.mr_span[k], mr, kIterate * mr);
    const double uf = utilisation(s.moment, u.mr_span[k]);
    f.near(where + " UF", u.uf[k], uf, c.moment_noise / u.mr_span[k] + kRounding * std::fabs(uf));

    const double di_noise = 1000 * kFloatNoise * d4 + kRounding * std::fabs(s.di);
    const double dt_noise = 1000 * kFloatNoise * (d4 + d5 + d3) + kRounding * std::fabs(s.dt);
    f.near(where + " DI", u.di[k], s.di, di_noise);
    f.near(where + " UDI", u.udi[k], s.di / s.di_limit, di_noise / s.di_limit);
    f.near(where + " DT", u.dt[k], s.dt, dt_noise);
    f.near(where + " UDT", u.udt[k], s.dt / s.dt_limit, dt_noise / s.dt_limit);
    f.near(where + " US", u.us[k], s.us, kRounding * s.us);

    check_shear(c, i, "UVL", s.vl, s.left_support, s.left_deck, u.uvl[k], f);
    check_shear(c, i, "UVR", s.vr, s.right_support, s.right_deck, u.uvr[k], f);
    // The shear length rests on the zero points of the max envelope.
    if (i <= c.clear_spans) check_bond(c, i, s, f);
  }
}

// What the generated cases covered: the supports compared under each bar rule, the cases
// whose weights were compared and those left out for a spacing of 0.
struct Coverage {
  std::array<int, 6> rule{};
  int weights = 0, weights_skipped = 0;
  int& operator[](BarRule r) { return rule[static_cast<size_t>(r)]; }
};

// The bar lengths of every support whose rule and distances rest on spans clear of decisions
// (spans 1..j+1 for an interior support: the merge flag of support j + 1 comes from span j,
// the pair's far zero point from span j + 1), and the weights when every span is clear.
void check_bars(const Case& c, const std::vector<double>& a, const std::vector<double>& spacing,
                Failures& f, Coverage& seen) {
  const Utdat& u = c.run.utdat;
  const int n = c.n();
  const reference::TopBars bars = reference::top_bars(c.run, c.row, a, spacing);
  for (int j = 1; j <= n + 1; ++j) {
    const size_t k = at(j);
    if ((j == 1 ? 1 : std::min(j + 1, n)) > c.clear_spans) break;
    ++seen[bars.rule[k]];
    const std::pair<const char*, std::pair<double, int32_t>> lengths[] = {
        {" L1", {bars.l1[k], u.l1[k]}},
        {" L1b", {bars.l1b[k], u.l1b[k]}},
        {" L2b", {bars.l2b[k], u.l2b[k]}}};
    for (const auto& [name, pair] : lengths) {
      if (std::isnan(pair.first))  // no bar by the rules: the table keeps its 0
        f.near(c.at_support(j) + name, pair.second, 0, 0);
      else
        f.truncated(c.at_support(j) + name, pair.second, pair.first, kLengthTie);
    }
  }
  if (c.clear_spans < n) return;
  const reference::Weights w = reference::weights(c.run, bars);
  // The weight sums of the rules divide by a spacing of 0 at an interior support that needs no bars
  // or has no equilibrium; the engine leaves such a support out (a choice of its own, tested in the
  // design tests), so such a case is not compared here.
  if (w.divides_by_zero) {
    ++seen.weights_skipped;
    return;
  }
  ++seen.weights;
  f.near(c.name + " WA", u.wa, w.wa, kSumRounding * w.wa);
  f.near(c.name + " WB", u.wb, w.wb, kSumRounding * w.wb);
}

TEST(ReferenceDesign, GeneratedSlabsOfEveryMarketAreDesignedByTheRules) {
  reference::RandomSlabs slabs(1404);
  Failures f;
  Coverage seen;
  int clear = 0;
  for (int index = 0; index < 500; ++index) {
    const auto c = std::make_unique<Case>(slabs, index);
    const auto [a, spacing] = check_supports(*c, f);
    check_spans(*c, f);
    check_bars(*c, a, spacing, f, seen);
    if (c->clear_spans == c->n()) ++clear;
  }
  EXPECT_EQ(f.text(), "");
  // Most cases are clear of every decision (about 85 %), most of them with bars over every
  // interior support; every rule of the bars is met many times.
  EXPECT_GT(clear, 350);
  EXPECT_GT(seen.weights, 300);
  for (BarRule r : {BarRule::kNone, BarRule::kNormal, BarRule::kPairFirst, BarRule::kPairSecond,
                    BarRule::kLastPair, BarRule::kCantilever})
    EXPECT_GT(seen[r], 20) << static_cast<int>(r);
  std::cout << f.compared() << " values compared; " << clear << " of 500 cases clear of "
            << "decisions; weights of " << seen.weights << " compared, " << seen.weights_skipped
            << " left out; supports per bar rule:";
  for (int n : seen.rule) std::cout << " " << n;
  std::cout << "\n";
}

}  // namespace
}  // namespace solvo
