#include "reference_fire.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "reference_case.h"
#include "section.h"

namespace solvo::reference {
namespace {

// Per class: deck and bar temperatures, then c1..c4.
struct ClassRow {
  int minutes;
  double theta_d, theta_b, c1, c2, c3, c4;
};
constexpr ClassRow kClasses[] = {{30, 783, 230, 0.037, 0.044, 0.032, 0.017},
                                 {60, 818, 433, 0.026, 0.032, 0.032, 0.036},
                                 {90, 826, 534, 0.019, 0.026, 0.030, 0.050}};

// Factors at 0, 100, .., 1200 deg C.
using Factors = std::array<double, 13>;
constexpr Factors kStrength = {1, 1, 1, 1, 1, 0.78, 0.47, 0.23, 0.11, 0.06, 0.04, 0.02, 0};
constexpr Factors kModulus = {1, 1, 0.9, 0.8, 0.7, 0.6, 0.31, 0.13, 0.09, 0.0675, 0.045, 0.0225, 0};

// Linear within the step (Tj, Tj + 100]; the table's ends outside 0..1200 deg C.
double factor(const Factors& k, double theta) {
  if (theta <= 0) return k[0];
  if (theta >= 1200) return k[12];
  const size_t j = static_cast<size_t>(std::ceil(theta / 100)) - 1;
  return k[j] - (theta - 100.0 * static_cast<double>(j)) * (k[j] - k[j + 1]) * 0.01;
}

double at(const std::vector<double>& v, int i) { return v[static_cast<size_t>(i)]; }

// The capacity in fire of support j with the area of the engine's top bars (none where the
// support has no solution; the bars' own where the largest spacing limits them).
double support_capacity(const Run& run, const FireClass& f, int j) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  const int n = c.n;
  const auto t = [&](int i) { return static_cast<double>(c.thickness[static_cast<size_t>(i)]); };
  const double h = j == 1 ? t(1) : j == n + 1 ? t(n) : std::min(t(j - 1), t(j));
  const double d = h - (0.5 * m.dia_top + c.top_cover) * 0.001 - f.c4;
  const RibGeometry zone{static_cast<float>(f.c1), 0.15f, static_cast<float>(f.c3),
                         static_cast<float>(f.c2)};
  const CapacityResult r = samm2s(m.fcd, m.fyd_top_fire, m.es, zone, static_cast<float>(d),
                                  run.utdat.as_credit[static_cast<size_t>(j)], 0.0f);
  return r.status == kNoConvergence ? 0.0 : r.mr;
}

// The value of a curve at x from the left support face: linear between the points
// truncate(20 x / Le) and the next; outside the span the nearest interval is extended.
double curve_at(const std::vector<double>& curve, double le, double x) {
  const double h = 0.05 * le;
  const int m = std::clamp(static_cast<int>(20 * x / le), 0, 19);
  return at(curve, m) + (at(curve, m + 1) - at(curve, m)) * (x - m * h) / h;
}

// The line of span i through the elastic curve at x1 = zL - B(i)/2 and x2 = Le - zR +
// B(i+1)/2. The guard of the last span is on its divisor Le - x1: a guard on Le - zL would let
// a divisor of 0 through where the design row hogs over the whole last span and the right
// support has no width (zL = B(i)/2 + Le), and the support moment would not be a number.
FireLine line_of(const FireDesign& f, const ZeroPoints& design, int i) {
  constexpr double kNoLine = 1000;
  const Slab& s = f.slab;
  const int n = s.n;
  const double le = at(s.le, i);
  const std::vector<double>& curve = f.elastic.mom[static_cast<size_t>(i)];
  FireLine l;
  l.x1 = at(design.zl, i) - 0.5 * at(s.width, i);
  l.x2 = le - at(design.zr, i) + 0.5 * at(s.width, i + 1);
  l.yl = l.yr = kNoLine;
  if (i == 1) {
    l.yl = 0;
    if (std::fabs(l.x2) >= 0.001) l.yr = curve_at(curve, le, l.x2) * le / l.x2;
  } else if (i == n) {
    l.yr = 0;
    if (std::fabs(le - l.x1) >= 0.001) l.yl = curve_at(curve, le, l.x1) * le / (le - l.x1);
  } else if (design.merge[static_cast<size_t>(i + 1)] == 0 && std::fabs(l.x2 - l.x1) >= 0.001) {
    const double m1 = curve_at(curve, le, l.x1), m2 = curve_at(curve, le, l.x2);
    l.yl = m1 + (m1 - m2) * l.x1 / (l.x2 - l.x1);
    l.yr = m1 - (m1 - m2) * (le - l.x1) / (l.x2 - l.x1);
  }
  return l;
}

// The fire support moments: the candidates from the lines; an end support takes its own
// candidate, which is its (cantilever) moment since the end lines pass through zero there; an
// interior support the largest of its two candidates and -Mr. A single span keeps both end
// moments: the cantilevers fix them by equilibrium.
void support_moments(FireDesign& f, const ZeroPoints& design) {
  const int n = f.slab.n;
  const size_t supports = static_cast<size_t>(n + 2);
  f.left_candidate.assign(supports, 0.0);
  f.right_candidate.assign(supports, 0.0);
  f.lines.assign(static_cast<size_t>(n + 1), FireLine{});
  const std::vector<double>& ms = f.elastic.m;
  for (int i = 1; i <= n; ++i) {
    const size_t u = static_cast<size_t>(i);
    f.lines[u] = line_of(f, design, i);
    f.left_candidate[u] = ms[u] - f.lines[u].yl;
    f.right_candidate[u + 1] = ms[u + 1] - f.lines[u].yr;
  }
  f.moments = ms;
  f.moments.resize(supports, 0.0);
  if (n == 1) return;
  f.moments[1] = f.left_candidate[1];
  f.moments[static_cast<size_t>(n + 1)] = f.right_candidate[static_cast<size_t>(n + 1)];
  for (size_t j = 2; j <= static_cast<size_t>(n); ++j)
    f.moments[j] = std::max({f.left_candidate[j], f.right_candidate[j], -f.mr[j]});
}

// Where the curve reaches `target` between two neighbouring points (value `from`, then `to`),
// as the fraction of the step from the first.
double fraction(double from, double to, double target) { return (target - from) / (to - from); }

BottomBars bottom_bars(const Run& run, const FireDesign& f, int i) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  const size_t u = static_cast<size_t>(i);
  BottomBars b;
  b.moment = f.m_span[u] >= 0.01 ? f.m_span[u] : 0.0;
  const double t = c.thickness[u];
  const double dp = t - 0.019, db = t - 0.001 * c.bot_placement;
  const auto fl = [](double v) { return static_cast<float>(v); };
  const FireAreaResult r =
      samm1(m.fcd, fl(m.fyd_bot * f.fire.ky_b), fl(m.fypd * f.fire.ky_d), fl(m.es * f.fire.ke_b),
            fl(dp), fl(db), 0.000955f, fl(b.moment), 0.0f);
  b.area = r.area;
  if (!r.deck_alone && (r.status == kSteelElastic || r.status == kNoConvergence)) b.area = 10000;
  if (b.area <= 0.00003) return b;
  b.sb_exact = m.area_bot / (b.area * 1000);
  b.lb_exact = (at(f.slab.width, i) + at(f.slab.le, i) + at(f.slab.width, i + 1)) * 1000;
  b.sb = static_cast<int>(b.sb_exact);
  b.lb = static_cast<int>(b.lb_exact);
  // No section, or more than one bar to a rib (150 mm): no bars that can be built.
  if (b.area == 10000 || b.sb < 150) b.sb = 0;
  return b;
}

}  // namespace

double strength_factor(double theta) { return factor(kStrength, theta); }
double modulus_factor(double theta) { return factor(kModulus, theta); }

FireClass fire_class(int minutes, int ceiling) {
  FireClass f;
  if (ceiling != 1 && ceiling != 2) return f;
  const int cls = minutes > 29 && minutes < 31 ? 30 : minutes > 59 && minutes < 61 ? 60 : 90;
  for (const ClassRow& r : kClasses)
    if (r.minutes == cls) f = {r.theta_d, r.theta_b, 1, 1, 1, r.c1, r.c2, r.c3, r.c4};
  f.ky_d = strength_factor(f.theta_d);
  f.ky_b = strength_factor(f.theta_b);
  f.ke_b = modulus_factor(f.theta_b);
  return f;
}

Slab fire_slab(const Run& run) {
  Slab s = slab_of(run, kRowQuasiGammaD);
  for (size_t i = 1; i <= static_cast<size_t>(s.n); ++i) {
    s.g[i] += s.q[i];
    s.q[i] = 0;
  }
  return s;
}

ZeroPoints fire_zero_points(const Slab& s, const std::vector<std::vector<double>>& curves) {
  const int n = s.n;
  ZeroPoints z = unset_zero_points(n);
  for (int i = 1; i <= n; ++i) {
    const std::vector<double>& c = curves[static_cast<size_t>(i)];
    const double le = at(s.le, i), h = 0.05 * le;
    const double bl = 0.5 * at(s.width, i), br = 0.5 * at(s.width, i + 1);
    const double ms = std::fabs(c[0]) < 0.0001 ? 0 : c[0];
    const double mr = std::fabs(c[20]) < 0.0001 ? 0 : c[20];
    double zl = bl, tl = bl, zr = br, tr = br;
    bool throughout = false;
    // From the left: the first point at or above `target`, then the distance to it.
    auto left = [&](double target, double& dist) {
      for (int p = 1; p <= 20; ++p) {
        if (c[static_cast<size_t>(p)] < target) continue;
        dist = bl + h * (p - 1) + h * fraction(at(c, p - 1), at(c, p), target);
        return true;
      }
      return false;
    };
    auto right = [&](double target, double& dist) {
      for (int p = 19; p >= 0; --p) {
        if (c[static_cast<size_t>(p)] < target) continue;
        dist = br + h * (19 - p) + h * fraction(at(c, p + 1), at(c, p), target);
        return true;
      }
      return false;
    };
    if (ms < 0) {
      throughout = !left(0, zl);
      if (!throughout) left(0.5 * ms, tl);
    }
    if (mr < 0 && !throughout) {
      throughout = !right(0, zr);
      if (!throughout) right(0.5 * mr, tr);
    }
    if (throughout) {
      zl = tl = 0.5 * (2 * bl + le);
      zr = tr = 0.5 * (2 * br + le);
      if (z.merge[static_cast<size_t>(i)] != 1) z.merge[static_cast<size_t>(i + 1)] = 1;
    }
    const size_t u = static_cast<size_t>(i);
    z.zl[u] = zl;
    z.zr[u] = zr;
    z.tl[u] = tl;
    z.tr[u] = tr;
  }
  return z;
}

FireDesign fire_design(const Run& run, const ZeroPoints& design) {
  const Indat& c = run.indat;
  const int n = c.n;
  FireDesign f;
  f.fire = fire_class(c.fire_minutes, c.ceiling);
  f.mr.assign(static_cast<size_t>(n + 2), 0.0);
  for (int j = 1; j <= n + 1; ++j) f.mr[static_cast<size_t>(j)] = support_capacity(run, f.fire, j);
  f.slab = fire_slab(run);
  f.elastic = analyse_loading(f.slab, Distributed::TwentyPointLoads);
  support_moments(f, design);
  f.limited = analyse_loading(f.slab, Distributed::TwentyPointLoads, f.moments);
  f.m_span.assign(static_cast<size_t>(n + 1), 0.0);
  for (size_t i = 1; i <= static_cast<size_t>(n); ++i) {
    const std::vector<double>& m = f.limited.mom[i];
    f.m_span[i] = *std::max_element(m.begin() + 1, m.begin() + 20);
  }
  f.zero = fire_zero_points(f.slab, f.limited.mom);
  f.bars.assign(static_cast<size_t>(n + 1), BottomBars{});
  double sum = 0, total = 0;
  for (int i = 1; i <= n; ++i) {
    const BottomBars b = bottom_bars(run, f, i);
    f.bars[static_cast<size_t>(i)] = b;
    total += at(f.slab.le, i);
    if (b.sb > 0) sum += run.matdat.mass_bot * static_cast<double>(b.lb) / b.sb;
  }
  f.weight = sum / total;
  return f;
}

}  // namespace solvo::reference
