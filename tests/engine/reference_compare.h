// What the comparisons of the engine with the reference analysis share: the comparison of a
// group of tables, the float noise of an envelope, the scale of a load set's moments and the
// screen of spans whose zero points rest on a decision that float noise can tip.
#pragma once

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "reference_analysis.h"

namespace solvo::reference {

// One engine table beside the reference's: entries first..last (spans or supports from 1,
// points from 0).
struct Table {
  const char* name;
  const float* engine;
  const std::vector<double>* reference;
  int last;
  int first = 1;
};

// Where the engine and the reference disagree by more than `tolerance` times the largest
// magnitude of a group of tables (the moments, the forces or the deflections of one row: an
// error in a support moment shows in the span moments beside it).
class Comparison {
 public:
  explicit Comparison(double tolerance) : tol_(tolerance) {}

  void group(const std::string& what, const std::vector<Table>& tables) {
    double scale = 1e-9;
    for (const Table& t : tables)
      for (int i = t.first; i <= t.last; ++i)
        scale = std::max(scale, std::fabs(at(*t.reference, i)));
    for (const Table& t : tables) {
      for (int i = t.first; i <= t.last; ++i) {
        const double want = at(*t.reference, i);
        const double got = t.engine[i];
        const double off = std::fabs(got - want) / scale;
        worst_ = std::max(worst_, off);
        if (!(off <= tol_))
          failures_ << what << " " << t.name << "[" << i << "]: " << got << ", reference " << want
                    << " (off by " << off << " of " << scale << ")\n";
      }
    }
  }

  std::string failures() const { return failures_.str(); }
  double worst() const { return worst_; }

 private:
  static double at(const std::vector<double>& v, int i) { return v[static_cast<size_t>(i)]; }
  double tol_;
  double worst_ = 0;
  std::ostringstream failures_;
};

// Whether x and y lie within eps of each other, so that float noise can tip a test of one
// against the other. Two values that are both exactly 0 are 0 in the engine too (an end
// support without a cantilever has no moment, a span without load no curve).
inline bool near(double x, double y, double eps) {
  return !(x == 0 && y == 0) && std::fabs(x - y) < eps;
}

// The engine in single precision against the reference in double, both with the twenty point
// loads. A float carries 24 bits (6e-8); a value here is a sum of some hundred products, and
// an envelope the sum of up to eleven analyses, each with the cancellation of simple-span and
// support moments: 2e-5 of the largest value of its group is well above that noise and far
// below any fault of a formula.
inline constexpr double kFloatNoise = 2e-5;

// A decision of the zero points (a value against zero, half a support moment or its
// neighbour) closer than this share of the row's largest moment is one that float noise
// (some 2e-6 of that moment) may tip.
inline constexpr double kDecisionMargin = 1e-4;

// The largest moment of a load set (support moments of the min envelope, span moments of the
// max envelope), the scale of its moments' float noise.
inline double moment_scale(const Envelopes& e, int n) {
  double scale = 0;
  for (int j = 1; j <= n + 1; ++j)
    scale = std::max(scale, std::fabs(e.ms_min[static_cast<size_t>(j)]));
  for (int i = 1; i <= n; ++i)
    scale = std::max(scale, std::fabs(e.m_span_max[static_cast<size_t>(i)]));
  return scale;
}

// Whether float noise can tip one of the decisions that the zero points of a span rest on:
// a point of the min or the max envelope, or a support moment, within `eps` of zero, of half a
// support moment, or of its neighbour (the turn-down test). A value that is exactly 0 here
// (an end support without a cantilever has no moment, a span without load no curve) is 0 in
// the engine too; two equal values that are not 0 are a tie that noise can tip.
inline bool near_a_decision(const std::vector<double>& m, const std::vector<double>& mx, double ms,
                            double mr, double ms_max_l, double ms_max_r, double eps) {
  auto near = [eps](double x, double y) { return reference::near(x, y, eps); };
  for (double v : {ms, mr, ms_max_l, ms_max_r})
    if (near(v, 0) || (v != 0 && near(std::fabs(v), 0.0001))) return true;
  for (size_t p = 0; p <= 20; ++p) {
    if (near(m[p], 0) || near(m[p], 0.5 * ms) || near(m[p], 0.5 * mr) || near(mx[p], 0))
      return true;
    // The turn-down test runs up to the point where the envelope crosses zero.
    const bool before_crossing = m[p] < 0 || (p > 0 && m[p - 1] < 0);
    if (p < 20 && before_crossing && near(m[p + 1], m[p])) return true;
  }
  return false;
}

// near_a_decision for span i of a load set's envelopes.
inline bool span_near_a_decision(const Envelopes& e, int i, double eps) {
  const size_t u = static_cast<size_t>(i);
  return near_a_decision(e.m_min[u], e.m_max[u], e.ms_min[u], e.ms_min[u + 1], e.ms_max[u],
                         e.ms_max[u + 1], eps);
}

}  // namespace solvo::reference
