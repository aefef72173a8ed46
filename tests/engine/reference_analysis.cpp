#include "reference_analysis.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace solvo::reference {
namespace {

constexpr int kPoints = 21;  // p = 0..20, x = p L / 20

// One span as if simply supported: end-rotation terms times EI, moments and deflections
// times EI at the 21 points, end shears.
struct Simple {
  double rot_l = 0, rot_r = 0, vl = 0, vr = 0;
  double mom[kPoints] = {}, defl[kPoints] = {};
};

// A point load P at a from the left support of a span of length L (textbook formulas).
void add_point_load(Simple& s, double L, double a, double P) {
  const double b = L - a;
  s.rot_l += P * b * (L * L - b * b) / (6 * L);
  s.rot_r += P * a * (L * L - a * a) / (6 * L);
  s.vl += P * b / L;
  s.vr += P * a / L;
  for (int p = 0; p < kPoints; ++p) {
    const double x = p * L / 20;
    if (x < a) {
      s.mom[p] += P * b * x / L;
      s.defl[p] += P * b * x * (L * L - b * b - x * x) / (6 * L);
    } else {
      s.mom[p] += P * a * (L - x) / L;
      s.defl[p] += P * a * (L - x) * (2 * L * x - x * x - a * a) / (6 * L);
    }
  }
}

void add_uniform_load(Simple& s, double L, double w) {
  s.rot_l += w * L * L * L / 24;
  s.rot_r += w * L * L * L / 24;
  s.vl += w * L / 2;
  s.vr += w * L / 2;
  for (int p = 0; p < kPoints; ++p) {
    const double x = p * L / 20;
    s.mom[p] += w * x * (L - x) / 2;
    s.defl[p] += w * x * (L * L * L - 2 * L * x * x + x * x * x) / 24;
  }
}

// Solves A m = r by Gaussian elimination with partial pivoting (A square, dense).
std::vector<double> solve(std::vector<std::vector<double>> A, std::vector<double> r) {
  const size_t n = r.size();
  for (size_t c = 0; c < n; ++c) {
    size_t pivot = c;
    for (size_t k = c + 1; k < n; ++k)
      if (std::fabs(A[k][c]) > std::fabs(A[pivot][c])) pivot = k;
    std::swap(A[c], A[pivot]);
    std::swap(r[c], r[pivot]);
    for (size_t k = c + 1; k < n; ++k) {
      const double f = A[k][c] / A[c][c];
      for (size_t j = c; j < n; ++j) A[k][j] -= f * A[c][j];
      r[k] -= f * r[c];
    }
  }
  std::vector<double> m(n);
  for (size_t c = n; c-- > 0;) {
    double v = r[c];
    for (size_t j = c + 1; j < n; ++j) v -= A[c][j] * m[j];
    m[c] = v / A[c][c];
  }
  return m;
}

// The support moments of one arrangement: the cantilevers' at the ends, the three-moment
// equations between them.
std::vector<double> support_moments(const Slab& s, const std::vector<double>& w,
                                    const std::vector<Simple>& simple) {
  const int n = s.n;
  std::vector<double> m(static_cast<size_t>(n + 2), 0.0);
  m[1] = -0.5 * s.cant_left * s.cant_left * w[1];
  for (size_t k = 0; k < s.left_lever.size(); ++k) m[1] -= s.left_lever[k] * s.left_load[k];
  m[n + 1] = -0.5 * s.cant_right * s.cant_right * w[n];
  for (double P : s.right_tip) m[n + 1] -= s.cant_right * P;
  if (n == 1) return m;
  // The interior support moments M(2)..M(n).
  const size_t u = static_cast<size_t>(n - 1);
  std::vector<std::vector<double>> A(u, std::vector<double>(u, 0.0));
  std::vector<double> rhs(u, 0.0);
  for (int j = 2; j <= n; ++j) {
    const size_t row = static_cast<size_t>(j - 2);
    const double f1 = s.le[j - 1] / s.ei[j - 1], f2 = s.le[j] / s.ei[j];
    rhs[row] = -(simple[j - 1].rot_r / s.ei[j - 1] + simple[j].rot_l / s.ei[j]);
    A[row][row] = (f1 + f2) / 3;
    if (j > 2)
      A[row][row - 1] = f1 / 6;
    else
      rhs[row] -= m[1] * f1 / 6;
    if (j < n)
      A[row][row + 1] = f2 / 6;
    else
      rhs[row] -= m[n + 1] * f2 / 6;
  }
  const std::vector<double> inner = solve(A, rhs);
  for (int j = 2; j <= n; ++j) m[j] = inner[static_cast<size_t>(j - 2)];
  return m;
}

// One arrangement: the intensity w[i] on span i; the support moments from the three-moment
// equations, or all of them as `given` holds them.
Loading arrangement(const Slab& s, const std::vector<double>& w, Distributed how,
                    const std::vector<double>* given = nullptr) {
  const int n = s.n;
  std::vector<Simple> simple(static_cast<size_t>(n + 1));
  for (int i = 1; i <= n; ++i) {
    const double L = s.le[i];
    if (how == Distributed::Uniform) {
      add_uniform_load(simple[i], L, w[i]);
    } else {
      for (int k = 1; k <= 20; ++k) add_point_load(simple[i], L, (k - 0.5) * L / 20, L / 20 * w[i]);
    }
  }
  for (const PointLoad& l : s.in_spans) add_point_load(simple[l.span], s.le[l.span], l.a, l.P);

  Loading out;
  if (given != nullptr) {
    out.m = *given;
    out.m.resize(static_cast<size_t>(n + 2), 0.0);
  } else {
    out.m = support_moments(s, w, simple);
  }
  out.vl.assign(static_cast<size_t>(n + 1), 0.0);
  out.vr = out.vl;
  out.mom.assign(static_cast<size_t>(n + 1), std::vector<double>(kPoints, 0.0));
  out.defl = out.mom;
  for (int i = 1; i <= n; ++i) {
    const double L = s.le[i], ml = out.m[i], mr = out.m[i + 1];
    for (int p = 0; p < kPoints; ++p) {
      const double xi = p / 20.0;
      out.mom[i][p] = simple[i].mom[p] + ml + (mr - ml) * xi;
      const double end_moments =
          (ml * (1 - xi) * (1 - (1 - xi) * (1 - xi)) + mr * xi * (1 - xi * xi)) * L * L / 6;
      out.defl[i][p] = (simple[i].defl[p] + end_moments) * 1000 / s.ei[i];  // kN to N
    }
    // The end points are the supports (p L / 20 at p = 20 may miss L by a rounding).
    out.mom[i][0] = ml;
    out.mom[i][20] = mr;
    out.vl[i] = simple[i].vl + (mr - ml) / L;
    out.vr[i] = simple[i].vr + (ml - mr) / L;
  }
  out.r.assign(static_cast<size_t>(n + 2), 0.0);
  out.r[1] = s.cant_left * w[1] + out.vl[1];
  for (double P : s.left_load) out.r[1] += P;
  for (int j = 2; j <= n; ++j) out.r[j] = out.vr[j - 1] + out.vl[j];
  out.r[n + 1] = s.cant_right * w[n] + out.vr[n];
  for (double P : s.right_tip) out.r[n + 1] += P;
  return out;
}

// Base, max and min of one value over the arrangements.
struct Fold {
  double base = 0, max = 0, min = 0;
  void first(double v) { base = max = min = v; }
  void next(double v) {
    const double diff = v - base;
    (diff > 0 ? max : min) += diff;
  }
};

double largest_inner(const std::vector<Fold>& curve, double Fold::*which) {
  double v = curve[1].*which;
  for (int p = 2; p <= 19; ++p) v = std::max(v, curve[p].*which);
  return v;
}

}  // namespace

Envelopes analyse(const Slab& s, Distributed how) {
  const int n = s.n;
  const size_t spans = static_cast<size_t>(n + 1), supports = static_cast<size_t>(n + 2);
  std::vector<Fold> m(supports), r(supports), vl(spans), vr(spans);
  std::vector<std::vector<Fold>> mom(spans, std::vector<Fold>(kPoints)), defl = mom;
  for (int j = 0; j <= n; ++j) {
    std::vector<double> w(spans, 0.0);
    for (int i = 1; i <= n; ++i) w[i] = s.g[i] + (i == j ? s.q[i] : 0.0);
    const Loading a = arrangement(s, w, how);
    auto take = [j](Fold& f, double v) { j == 0 ? f.first(v) : f.next(v); };
    for (int k = 1; k <= n + 1; ++k) {
      take(m[k], a.m[k]);
      take(r[k], a.r[k]);
    }
    for (int i = 1; i <= n; ++i) {
      take(vl[i], a.vl[i]);
      take(vr[i], a.vr[i]);
      for (int p = 0; p < kPoints; ++p) {
        take(mom[i][p], a.mom[i][p]);
        take(defl[i][p], a.defl[i][p]);
      }
    }
  }
  Envelopes e;
  for (auto* v : {&e.ms_max, &e.ms_min, &e.r_max, &e.r_min}) v->assign(supports, 0.0);
  for (auto* v : {&e.vl_max, &e.vl_min, &e.vr_max, &e.vr_min, &e.m_span_max, &e.m_span_min,
                  &e.d_span_max, &e.d_span_min})
    v->assign(spans, 0.0);
  for (int k = 1; k <= n + 1; ++k) {
    const double strip = s.g[std::min(k, n)] * s.width[k];  // the load on the support strip
    e.ms_max[k] = m[k].max;
    e.ms_min[k] = m[k].min;
    e.r_max[k] = r[k].max + strip;
    e.r_min[k] = r[k].min + strip;
  }
  for (int i = 1; i <= n; ++i) {
    e.vl_max[i] = vl[i].max;
    e.vl_min[i] = vl[i].min;
    e.vr_max[i] = vr[i].max;
    e.vr_min[i] = vr[i].min;
    e.m_span_max[i] = largest_inner(mom[i], &Fold::max);
    e.m_span_min[i] = largest_inner(mom[i], &Fold::min);
    e.d_span_max[i] = largest_inner(defl[i], &Fold::max);
    e.d_span_min[i] = largest_inner(defl[i], &Fold::min);
  }
  for (auto* v : {&e.m_max, &e.m_min, &e.d_max, &e.d_min})
    v->assign(spans, std::vector<double>(kPoints, 0.0));
  for (int i = 1; i <= n; ++i) {
    for (int p = 0; p < kPoints; ++p) {
      e.m_max[i][p] = mom[i][p].max;
      e.m_min[i][p] = mom[i][p].min;
      e.d_max[i][p] = defl[i][p].max;
      e.d_min[i][p] = defl[i][p].min;
    }
  }
  return e;
}

Loading analyse_loading(const Slab& s, Distributed how) { return arrangement(s, s.g, how); }

Loading analyse_loading(const Slab& s, Distributed how,
                        const std::vector<double>& support_moments) {
  return arrangement(s, s.g, how, &support_moments);
}

namespace {

double drop_tiny(double m) { return std::fabs(m) < 0.0001 ? 0.0 : m; }

// One span's zero points, read step by step from the min envelope m(0..20) with m(0) = Ms.
struct SpanZeroPoints {
  const std::vector<double>& m;
  double ms, mr, bl, br, le, h;
  bool left_merged;
  double zl = NAN, zr = NAN, tl = NAN, tr = NAN;
  bool merge = false;

  double at(int p) const { return p == 0 ? ms : m[static_cast<size_t>(p)]; }

  // From p on, the first point at or below half the right support moment (p = 20 if none).
  double right_cutoff(int p) const {
    while (p < 20 && !(at(p) <= 0.5 * mr)) ++p;
    return 0.5 * br + (1 - 0.05 * p) * le +
           h * (std::fabs(at(p)) - std::fabs(0.5 * mr)) / (std::fabs(at(p)) - std::fabs(at(p - 1)));
  }

  // The zero point seen from the right support and its cut-off, scanning on from p.
  void right_side(int p) {
    if (!(mr < 0)) {
      zr = 0.5 * br;
      return;
    }
    while (p < 20 && !(at(p) <= 0)) ++p;
    if (p == 20) {
      zr = 0.5 * br + h * std::fabs(mr) / (at(19) + std::fabs(mr));
      tr = 0.5 * zr;
      return;
    }
    zr = 0.5 * br + (1 - 0.05 * p) * le + h * std::fabs(at(p)) / (std::fabs(at(p)) + at(p - 1));
    tr = right_cutoff(p);
  }

  void run() {
    if (!(ms < 0)) {
      zl = 0.5 * bl;
      right_side(1);
      return;
    }
    int p = 1;
    while (p <= 20 && !(at(p) >= 0.5 * ms)) ++p;
    if (p > 20) {  // below half the support moment all along
      zl = tl = 0.5 * (bl + le);
      zr = tr = 0.5 * (br + le);
      merge = true;
      return;
    }
    tl = 0.5 * bl + h * (p - 1) +
         h * (std::fabs(at(p - 1)) - std::fabs(0.5 * ms)) /
             (std::fabs(at(p - 1)) - std::fabs(at(p)));
    for (; p <= 20; ++p) {
      if (p < 20 && at(p + 1) < at(p)) {  // turns down before it crosses zero
        zl = 0.5 * bl + h * p;
        zr = 0.5 * br + le - h * p;
        merge = !left_merged;
        tr = std::max(right_cutoff(p), 0.0);
        return;
      }
      if (at(p) >= 0) {
        zl = 0.5 * bl + h * (p - 1) + h * std::fabs(at(p - 1)) / (std::fabs(at(p - 1)) + at(p));
        if (p == 1) tl = 0.5 * zl;
        right_side(p);
        return;
      }
    }
    zl = 0.5 * bl + le + 0.5 * br;  // hogging over the whole span
    zr = 0.5 * br;
    merge = !left_merged;
  }
};

// The zero point of the max envelope mx seen from one support (moment m0 there), scanning
// the points in the order given, `steps` the number of point steps before the first one.
template <class Points>
double max_zero_point(double m0, double half_width, double le, double h, Points points) {
  if (!(m0 < 0)) return half_width;
  double prev = m0;
  int steps = 0;
  for (double v : points) {
    if (v >= 0) return half_width + h * steps + h * std::fabs(prev) / (std::fabs(prev) + v);
    prev = v;
    ++steps;
  }
  return 0.5 * (2 * half_width + le);
}

}  // namespace

ZeroPoints unset_zero_points(int n) {
  ZeroPoints z;
  for (auto* v : {&z.zl, &z.zr, &z.tl, &z.tr, &z.p1, &z.p2})
    v->assign(static_cast<size_t>(n + 1), NAN);
  z.merge.assign(static_cast<size_t>(n + 2), 0);
  return z;
}

ZeroPoints zero_points(const Slab& s, const std::vector<std::vector<double>>& m_min,
                       const std::vector<std::vector<double>>& m_max,
                       const std::vector<double>& ms_min, const std::vector<double>& ms_max) {
  const int n = s.n;
  ZeroPoints z = unset_zero_points(n);
  for (int i = 1; i <= n; ++i) {
    const double le = s.le[i], h = 0.05 * le, bl = s.width[i], br = s.width[i + 1];
    SpanZeroPoints span{m_min[i], drop_tiny(ms_min[i]), drop_tiny(ms_min[i + 1]), bl, br, le,
                        h,        z.merge[i] == 1};
    span.run();
    z.zl[i] = span.zl;
    z.zr[i] = span.zr;
    z.tl[i] = span.tl;
    z.tr[i] = span.tr;
    if (span.merge) z.merge[i + 1] = 1;

    const std::vector<double>& mx = m_max[i];
    z.p1[i] = max_zero_point(drop_tiny(ms_max[i]), 0.5 * bl, le, h,
                             std::vector<double>(mx.begin() + 1, mx.end()));
    z.p2[i] = max_zero_point(drop_tiny(ms_max[i + 1]), 0.5 * br, le, h,
                             std::vector<double>(mx.rbegin() + 1, mx.rend()));
  }
  return z;
}

}  // namespace solvo::reference
