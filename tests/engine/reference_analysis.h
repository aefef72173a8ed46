// A second analysis of the continuous slab, written apart from the engine's and in double
// precision, to hold the engine's envelopes against: the three-moment equations solved by
// plain Gaussian elimination, each load set analysed with its arrangements and folded into
// envelopes the same way (base plus the positive or the negative differences).
//
// The distributed load is either the twenty point loads at the centres of the twentieths of
// the clear span, as the engine carries it, or the exact uniform load (end-rotation terms
// w L^3 / 24). The first tells whether the engine computes what it should; the second how
// far the twenty point loads stand from the uniform load they replace.
#pragma once

#include <vector>

namespace solvo::reference {

enum class Distributed { TwentyPointLoads, Uniform };

// A line load in a span after placement: P kN/m at a m from the left support face.
struct PointLoad {
  int span = 0;  // 1..n
  double a = 0, P = 0;
};

// One metre width of slab with the loads of one load set. Vectors indexed from 1 (spans
// 1..n, supports 1..n+1) with [0] unused.
struct Slab {
  int n = 1;
  std::vector<double> le, ei;  // clear span (m), stiffness (N m2/m) per span
  std::vector<double> width;   // support widths
  double cant_left = 0, cant_right = 0;
  std::vector<double> g, q;  // permanent load on every span, extra load of a loaded span
  // Line loads, factored. In the spans, on the left cantilever at a lever (from support 1),
  // and at the tip of the right cantilever.
  std::vector<PointLoad> in_spans;
  std::vector<double> left_lever, left_load;
  std::vector<double> right_tip;
};

// The envelopes of one load set, with the same meaning as the engine's tables: support
// moments, support reactions including the permanent load on the support strip, end shears,
// and per span the largest value over the points p = 1..19 of each moment and deflection
// envelope (deflections in m, downward positive).
struct Envelopes {
  std::vector<double> ms_max, ms_min, r_max, r_min;
  std::vector<double> vl_max, vl_min, vr_max, vr_min;
  std::vector<double> m_span_max, m_span_min, d_span_max, d_span_min;
  // The envelopes at the points p = 0..20 of each span: [span][p].
  std::vector<std::vector<double>> m_max, m_min, d_max, d_min;
};

Envelopes analyse(const Slab& slab, Distributed how);

// One loading of the slab (no arrangements): the permanent load `g` on every span, the line
// loads, the cantilevers. Support moments, reactions (without the support strip), end shears
// and per span the moments and deflections at the points p = 0..20, indexed like the slab.
struct Loading {
  std::vector<double> m, r, vl, vr;
  std::vector<std::vector<double>> mom, defl;  // [span][p]
};

// The interior support moments from the three-moment equations, the end ones from the
// cantilevers.
Loading analyse_loading(const Slab& slab, Distributed how);

// With every support moment given, `support_moments[1..n+1]`, the ends included: the curves
// are the simple-span curves and the line of the given moments; the loads on the cantilevers
// still add to the end reactions.
Loading analyse_loading(const Slab& slab, Distributed how,
                        const std::vector<double>& support_moments);

// Where the top bars may stop, per span, measured from the support centres (m): the zero
// points of the min moment envelope seen from the left and the right support, the distances
// at which it has fallen to half the support moment, the zero points of the max envelope;
// per support the flag that joins its top bars to those of the support before. A distance
// that the rules leave unset is NaN.
struct ZeroPoints {
  std::vector<double> zl, zr, tl, tr, p1, p2;
  std::vector<int> merge;
};

// The zero points of n spans with every distance unset and no merge flag.
ZeroPoints unset_zero_points(int n);

// The zero points of a load set from its point curves (min and max moment envelopes) and its
// support moments.
ZeroPoints zero_points(const Slab& slab, const std::vector<std::vector<double>>& m_min,
                       const std::vector<std::vector<double>>& m_max,
                       const std::vector<double>& ms_min, const std::vector<double>& ms_max);

}  // namespace solvo::reference
