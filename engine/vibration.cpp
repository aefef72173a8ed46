#include "vibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace solvo {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Deflection and rotation at a node: a beam element couples the 4 unknowns of its two nodes,
// so every row of K and M reaches 3 places beyond its diagonal.
constexpr int kBand = 3;

// A symmetric band matrix: at(i, k) = A(i, i + k), k = 0..kBand.
class BandMatrix {
 public:
  explicit BandMatrix(int n) : n_(n), a_(static_cast<size_t>(n) * (kBand + 1), 0.0) {}
  int size() const { return n_; }
  double& at(int i, int k) {
    return a_[static_cast<size_t>(i) * (kBand + 1) + static_cast<size_t>(k)];
  }
  double at(int i, int k) const {
    return a_[static_cast<size_t>(i) * (kBand + 1) + static_cast<size_t>(k)];
  }
  // A(i, j) for |i - j| <= kBand.
  double get(int i, int j) const { return i <= j ? at(i, j - i) : at(j, i - j); }
  void add(int i, int j, double v) {
    if (i <= j)
      at(i, j - i) += v;
    else
      at(j, i - j) += v;
  }
  // Row and column i cleared, `diagonal` on the diagonal: the unknown is held at 0.
  void hold(int i, double diagonal) {
    for (int k = 1; k <= kBand; ++k) {
      if (i + k < n_) at(i, k) = 0.0;
      if (i - k >= 0) at(i - k, k) = 0.0;
    }
    at(i, 0) = diagonal;
  }

 private:
  int n_;
  std::vector<double> a_;
};

// The factors L D L^T of a symmetric band matrix, without pivoting. By Sylvester's law of
// inertia the number of negative pivots of K - s M is the number of eigenvalues below s.
struct BandFactors {
  std::vector<double> d;                         // pivots
  std::vector<std::array<double, kBand + 1>> l;  // l[j][k] = L(j + k, j)
  int negatives = 0;
};

BandFactors factor(const BandMatrix& a) {
  const int n = a.size();
  BandFactors f;
  f.d.assign(static_cast<size_t>(n), 0.0);
  f.l.assign(static_cast<size_t>(n), {});
  double scale = 0.0;
  for (int i = 0; i < n; ++i) scale = std::fmax(scale, std::fabs(a.at(i, 0)));
  const double tiny = 1e-300 + 1e-14 * scale;
  auto L = [&](int i, int j) { return f.l[static_cast<size_t>(j)][static_cast<size_t>(i - j)]; };
  for (int j = 0; j < n; ++j) {
    double dj = a.at(j, 0);
    for (int k = std::max(0, j - kBand); k < j; ++k)
      dj -= L(j, k) * L(j, k) * f.d[static_cast<size_t>(k)];
    if (std::fabs(dj) < tiny)
      dj = dj < 0.0 ? -tiny : tiny;  // a pivot of exactly 0: s is an eigenvalue
    f.d[static_cast<size_t>(j)] = dj;
    if (dj < 0.0) ++f.negatives;
    f.l[static_cast<size_t>(j)][0] = 1.0;
    for (int i = j + 1; i <= std::min(n - 1, j + kBand); ++i) {
      double v = a.get(i, j);
      for (int k = std::max(0, i - kBand); k < j; ++k)
        v -= L(i, k) * L(j, k) * f.d[static_cast<size_t>(k)];
      f.l[static_cast<size_t>(j)][static_cast<size_t>(i - j)] = v / dj;
    }
  }
  return f;
}

// x = A^-1 b from the factors.
std::vector<double> solve(const BandFactors& f, std::vector<double> b) {
  const size_t n = f.d.size();
  const auto band = static_cast<size_t>(kBand);
  for (size_t j = 0; j < n; ++j)
    for (size_t k = 1; k <= band && j + k < n; ++k) b[j + k] -= f.l[j][k] * b[j];
  for (size_t j = 0; j < n; ++j) b[j] /= f.d[j];
  for (size_t j = n; j-- > 0;)
    for (size_t k = 1; k <= band && j + k < n; ++k) b[j] -= f.l[j][k] * b[j + k];
  return b;
}

std::vector<double> times(const BandMatrix& a, const std::vector<double>& x) {
  const int n = a.size();
  std::vector<double> y(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i)
    for (int j = std::max(0, i - kBand); j <= std::min(n - 1, i + kBand); ++j)
      y[static_cast<size_t>(i)] += a.get(i, j) * x[static_cast<size_t>(j)];
  return y;
}

struct System {
  BandMatrix k, m;
  std::vector<bool> held;  // unknowns held at 0
  std::vector<int> segment_of_node;
};

bool valid(const VibrationBeam& beam, int elements) {
  if (elements < 1 || beam.segments.empty()) return false;
  if (beam.supported.size() != beam.segments.size() + 1) return false;
  for (const VibrationSegment& s : beam.segments)
    if (!(s.length > 0 && s.ei > 0 && s.mass > 0) || !std::isfinite(s.length + s.ei + s.mass))
      return false;
  return true;
}

// Element matrices of length h added at node `first` (unknowns 2 first .. 2 first + 3).
void add_element(System& s, int first, double h, double ei, double mass) {
  const double k = ei / (h * h * h);
  const double ke[4][4] = {{12 * k, 6 * h * k, -12 * k, 6 * h * k},
                           {6 * h * k, 4 * h * h * k, -6 * h * k, 2 * h * h * k},
                           {-12 * k, -6 * h * k, 12 * k, -6 * h * k},
                           {6 * h * k, 2 * h * h * k, -6 * h * k, 4 * h * h * k}};
  const double m = mass * h / 420.0;
  const double me[4][4] = {{156 * m, 22 * h * m, 54 * m, -13 * h * m},
                           {22 * h * m, 4 * h * h * m, 13 * h * m, -3 * h * h * m},
                           {54 * m, 13 * h * m, 156 * m, -22 * h * m},
                           {-13 * h * m, -3 * h * h * m, -22 * h * m, 4 * h * h * m}};
  const int base = 2 * first;
  for (int r = 0; r < 4; ++r)
    for (int c = r; c < 4; ++c) {
      s.k.add(base + r, base + c, ke[r][c]);
      s.m.add(base + r, base + c, me[r][c]);
    }
}

// A point mass at xi (0..1) of the element from node `first`: N^T N m with the Hermite shapes.
void add_point(System& s, int first, double h, double xi, double mass) {
  const double x2 = xi * xi, x3 = x2 * xi;
  const double n[4] = {1 - 3 * x2 + 2 * x3, h * (xi - 2 * x2 + x3), 3 * x2 - 2 * x3, h * (x3 - x2)};
  const int base = 2 * first;
  for (int r = 0; r < 4; ++r)
    for (int c = r; c < 4; ++c) s.m.add(base + r, base + c, mass * n[r] * n[c]);
}

System assemble(const VibrationBeam& beam, int elements) {
  const int segments = static_cast<int>(beam.segments.size());
  const int nodes = segments * elements + 1;
  System s{BandMatrix(2 * nodes), BandMatrix(2 * nodes),
           std::vector<bool>(2 * static_cast<size_t>(nodes), false),
           std::vector<int>(static_cast<size_t>(nodes), 0)};
  double stiffest = 0.0;
  for (int g = 0; g < segments; ++g) {
    const VibrationSegment& seg = beam.segments[static_cast<size_t>(g)];
    const double h = seg.length / elements;
    for (int e = 0; e < elements; ++e) {
      const int first = g * elements + e;
      add_element(s, first, h, seg.ei, seg.mass);
      const int last = first + 1;
      s.segment_of_node[static_cast<size_t>(last)] = g;
    }
    stiffest = std::fmax(stiffest, 12.0 * seg.ei / (h * h * h));
  }
  for (const VibrationPoint& p : beam.points) {
    if (p.segment < 0 || p.segment >= segments || !(p.mass > 0)) continue;
    const double length = beam.segments[static_cast<size_t>(p.segment)].length;
    const double h = length / elements;
    const double at = std::clamp(p.at, 0.0, length);
    const int e = std::min(elements - 1, static_cast<int>(at / h));
    add_point(s, p.segment * elements + e, h, at / h - e, p.mass);
  }
  for (int j = 0; j <= segments; ++j) {
    if (!beam.supported[static_cast<size_t>(j)]) continue;
    const int w = 2 * j * elements;
    s.held[static_cast<size_t>(w)] = true;
    s.k.hold(w, stiffest);
    s.m.hold(w, 0.0);
  }
  return s;
}

// The number of eigenvalues below `shift`: the negative pivots of K - shift M, formed row by
// row without keeping more than the last kBand columns of L (nothing allocated).
int count_below(const System& s, double shift) {
  const int n = s.k.size();
  double scale = 0.0;
  for (int i = 0; i < n; ++i) scale = std::fmax(scale, std::fabs(s.k.at(i, 0)));
  const double tiny = 1e-300 + 1e-14 * scale;
  // ring[r % 4]: pivot d of row r and L(r + k, r) for k = 1..kBand.
  std::array<std::array<double, kBand + 1>, kBand + 1> ring{};
  int negatives = 0;
  for (int j = 0; j < n; ++j) {
    auto a = [&](int r, int c) {  // (K - shift M)(r, c), r <= c
      return s.k.at(r, c - r) - shift * s.m.at(r, c - r);
    };
    double dj = a(j, j);
    for (int k = std::max(0, j - kBand); k < j; ++k) {
      const auto& rk = ring[static_cast<size_t>(k % (kBand + 1))];
      const double l = rk[static_cast<size_t>(j - k)];
      dj -= l * l * rk[0];
    }
    if (std::fabs(dj) < tiny) dj = dj < 0.0 ? -tiny : tiny;
    if (dj < 0.0) ++negatives;
    auto& rj = ring[static_cast<size_t>(j % (kBand + 1))];
    for (int i = j + 1; i <= std::min(n - 1, j + kBand); ++i) {
      double v = a(j, i);
      for (int k = std::max(0, i - kBand); k < j; ++k) {
        const auto& rk = ring[static_cast<size_t>(k % (kBand + 1))];
        v -= rk[static_cast<size_t>(i - k)] * rk[static_cast<size_t>(j - k)] * rk[0];
      }
      rj[static_cast<size_t>(i - j)] = v / dj;
    }
    rj[0] = dj;
  }
  return negatives;
}

// The segment where the mode of the eigenvalue just above `shift` deflects most, by inverse
// iteration with that shift.
int peak_segment(const System& s, double shift) {
  BandMatrix a = s.k;
  for (int i = 0; i < a.size(); ++i)
    for (int k = 0; k <= kBand && i + k < a.size(); ++k) a.at(i, k) -= shift * s.m.at(i, k);
  const BandFactors f = factor(a);
  std::vector<double> x(static_cast<size_t>(a.size()), 0.0);
  for (size_t i = 0; i < x.size(); i += 2) x[i] = s.held[i] ? 0.0 : 1.0;
  for (int it = 0; it < 4; ++it) {
    x = solve(f, times(s.m, x));
    double big = 0.0;
    for (double v : x) big = std::fmax(big, std::fabs(v));
    if (!(big > 0.0) || !std::isfinite(big)) return -1;
    for (double& v : x) v /= big;
  }
  int best = -1;
  double most = -1.0;
  for (size_t node = 0; node < s.segment_of_node.size(); ++node) {
    const double v = std::fabs(x[2 * node]);
    if (v > most) {
      most = v;
      best = s.segment_of_node[node];
    }
  }
  return best;
}

}  // namespace

VibrationMode lowest_mode(const VibrationBeam& beam, int elements) {
  VibrationMode mode;
  mode.frequency = std::numeric_limits<double>::quiet_NaN();
  if (!valid(beam, elements)) return mode;
  const System s = assemble(beam, elements);
  // A bracket [lo, hi] of the lowest eigenvalue w^2 (none below lo, at least one below hi),
  // hi = 2 lo, from the simply supported value of the first span between supports; then
  // bisection to a relative 1E-8 (a frequency within 5E-9).
  double start = 0.0;
  for (size_t g = 0; g < beam.segments.size(); ++g)
    if (beam.supported[g] && beam.supported[g + 1]) {
      const VibrationSegment& seg = beam.segments[g];
      start = std::pow(kPi / seg.length, 4) * seg.ei / seg.mass;
      break;
    }
  if (!(start > 0.0)) start = beam.segments.front().ei / beam.segments.front().mass;
  double lo = start, hi = start;
  for (int grow = 0; count_below(s, hi) == 0; ++grow) {
    if (grow > 200) return mode;
    lo = hi;
    hi *= 2.0;
  }
  if (lo == hi) {  // the start was above the lowest eigenvalue: halve down to it
    for (int shrink = 0; count_below(s, lo) > 0; ++shrink) {
      if (shrink > 200) {  // no eigenvalue above 0: a mechanism, frequency 0
        lo = 0.0;
        break;
      }
      hi = lo;
      lo *= 0.5;
    }
  }
  for (int it = 0; it < 200 && hi - lo > 1e-8 * hi; ++it) {
    const double mid = 0.5 * (lo + hi);
    if (count_below(s, mid) == 0)
      lo = mid;
    else
      hi = mid;
  }
  mode.frequency = std::sqrt(0.5 * (lo + hi)) / (2.0 * kPi);
  if (lo == 0.0) return mode;
  mode.segment = peak_segment(s, lo);
  return mode;
}

}  // namespace solvo
