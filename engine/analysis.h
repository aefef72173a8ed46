// The continuous slab: elastic analysis of one metre width under the eight load sets and
// their span-by-span arrangements, the envelopes, zero points and cut-off distances, and the
// moment-curve files MOMK.DAT and AL.DAT.
//
// Moments kNm/m sagging positive, loads kN/m2 on spans and kN/m for line loads, stiffness
// N m2/m, deflections m (downward positive).
#pragma once

#include <cstdint>
#include <string>

#include "run_state.h"

namespace solvo {

// The analysis of all load sets. Fills run.arbvar and run.snitt, adds MOMK.DAT and AL.DAT
// to run.files. `flag` is handed on to krdef and has no effect.
void snikra(Run& run, int32_t& flag);

// MOMD.DAT, the moment curves of the load set the design uses (design_row): n, the row
// (1 = 6.10a, 2 = 6.10b, 3 = both), then the max and the min block in the layout of MOMK.DAT.
// For row 3 the inner points are the envelope of rows 1 and 2, so the largest values are
// those of the report's ultimate-limit-state page. REQUIRES: snikra has run.
std::string design_curves(const Run& run);

// The bending stiffness EI of span i (N m2 per m) for a creep factor, from the section of the
// slab on the deck.
float span_stiffness(const Run& run, float creep, int i);

// The 21 points of a curve and three more, so that loops over the points go in whole groups
// of four (the spare points hold nothing used).
using PaddedCurve = std::array<float, 24>;

// A span with both ends on supports under its own loads: moments at the 21 points, the
// deflections times EI (kN m3), the end shears and the end-rotation load terms (times EI).
struct SimpleSpan {
  PaddedCurve mom{}, defl{};
  float vl = 0, vr = 0, rot_l = 0, rot_r = 0;
};

// A line load acting in a span: P kN/m at a m from the left support face.
struct SpanLoad {
  float P = 0, a = 0;
};
struct SpanLoads {
  int count = 0;
  std::array<SpanLoad, kMaxLineLoads> at{};
};

// What a point load at a (from the left support face) does to the points 1..20 of a span,
// apart from its size P: the moment at a point is P lever factor (lever b and factor x / L
// left of the load, lever a and factor (L - x) / L right of it, b = L - a), the deflection
// times EI that times L^2 shape / 6 (shape `left_factor` - xi^2 left of the load,
// 2 xi - `aa` - xi^2 right of it); the end-rotation terms are P b `rot_l` / (6 L) and
// P a `rot_r` / (6 L). The point curves are formed where they are added: a few operations
// a point cost less than the memory that whole curves for every load would fill.
struct PointLoadShape {
  float a = 0, b = 0, rot_l = 0, rot_r = 0;
  float left_factor = 0, aa = 0;
  int first_right = 1;  // the first point at or right of the load
};

// The sampling points x = (p 0.05) L of one clear span L, the factors of the point curves
// that depend on them alone (xi = x / L, 1 - xi, xi^2, 1 - (1 - xi)^2, 1 - xi^2), and the
// shapes of the 20 point loads that carry the distributed load.
struct SpanGrid {
  float le = 0;
  bool valid = false;
  // Set when the grid is made (valid); a cache holds several, so they are not cleared first.
  PaddedCurve x, xi, one_minus_xi, xi_sq, one_minus_u_sq, one_minus_xi_sq;
  std::array<PointLoadShape, 20> distributed;
};

// What the arrangements of one analysis share: per span the sampling points of its clear
// span and the simple-span results of its loads (distributed load and line loads) for the
// last two loadings met. krdef takes an entry only when span, intensity and line loads are
// the same bits, so a used cache gives the results of a fresh one.
class KrdefCache {
 public:
  const SpanGrid& grid(int i, float le);
  // The simple-span results of span i (clear span le, intensity w, line loads `loads`).
  const SimpleSpan& simple_span(int i, float le, float w, const SpanLoads& loads);

 private:
  struct Entry {
    bool valid = false;
    float le = 0, w = 0;
    SpanLoads loads;
    SimpleSpan result;
  };
  std::array<SpanGrid, kMaxSpans + 1> grids_;
  std::array<std::array<Entry, 2>, kMaxSpans + 1> entries_{};
  std::array<int, kMaxSpans + 1> next_{};
};

// One load arrangement from run.snitt's load vector (w, ei, line loads) and the cantilevers
// of the case. mode 0: the support moments come from the cantilevers and the three-moment
// equations. mode 1: the support moments in run.snitt.m are given and kept. The cache holds
// what earlier arrangements of the same case computed; without one, a fresh one is used.
void krdef(Run& run, int32_t mode, KrdefCache& cache);
void krdef(Run& run, int32_t mode);

// Solves the tridiagonal system coef[0] (sub), coef[1] (main), coef[2] (super) of the
// unknowns 1..count with right side rhs into x (Thomas algorithm, no pivoting).
void ekv3(const std::array<Span1<kMaxSupports>, 3>& coef, const Span1<kMaxSupports>& rhs,
          Span1<kMaxSupports>& x, int count);

}  // namespace solvo
