// A second fire design of a case, written apart from the engine's and in double precision:
// the temperatures and reduction factors of the fire class from hand-written tables, the
// support capacities in fire, the elastic fire-load analysis, the support moments laid
// through the design row's zero points and bounded by the capacities, the redistributed
// analysis, its zero points and the bottom bars. The section routines (the hogging capacity
// in fire and the bottom area in fire) are the engine's, called with the reference's inputs.
#pragma once

#include <vector>

#include "reference_analysis.h"
#include "run_state.h"

namespace solvo::reference {

// Temperatures (deg C), reduction factors and section coefficients (m) of a fire class.
struct FireClass {
  double theta_d = 0, theta_b = 0;  // deck, bottom bars
  double ky_d = 1, ky_b = 1, ke_b = 1;
  double c1 = 0, c2 = 0, c3 = 0, c4 = 0;
};
FireClass fire_class(int minutes, int ceiling);

// Yield strength of reinforcing steel and its modulus at theta, relative to 20 deg C.
double strength_factor(double theta);
double modulus_factor(double theta);

// The slab under the fire load: row 8's load of a loaded span on every span (as `g`), its
// line loads (times psi2 gammaD), the short-term stiffness.
Slab fire_slab(const Run& run);

// The straight line laid through the elastic curve of a span near the design row's zero
// points: x1, x2 from the left support face (m), and the values YL, YR it takes at the two
// supports (1000 where no line is laid).
struct FireLine {
  double x1 = 0, x2 = 0, yl = 0, yr = 0;
};

// The bottom bars of a span: the moment designed for, the area (m2/m; 10000 without a
// solution), spacing and length (mm) and the unrounded quotients they are truncated from.
struct BottomBars {
  double moment = 0, area = 0;
  int sb = 0, lb = 0;
  double sb_exact = 0, lb_exact = 0;
};

struct FireDesign {
  FireClass fire;
  std::vector<double> mr;       // support capacities in fire, supports 1..n+1
  Slab slab;                    // the fire load
  Loading elastic, limited;     // the first and the second analysis
  std::vector<FireLine> lines;  // spans 1..n
  std::vector<double> left_candidate, right_candidate, moments;  // supports 1..n+1
  std::vector<double> m_span;    // largest of points 1..19 of the limited curve, spans 1..n
  ZeroPoints zero;               // zl, zr, tl, tr and merge of the limited curves
  std::vector<BottomBars> bars;  // spans 1..n
  double weight = 0;             // kg/m2 of slab
};

// The fire design of `run` after its reinforcement design (the top areas As(j) and the
// material values are the engine's), with the design row's zero points `design`.
FireDesign fire_design(const Run& run, const ZeroPoints& design);

// The zero points, half-moment points and merge flags of the limited curves: each end's
// zero point is the first point from its own support that reaches zero; a span negative
// at every point takes (B + Le)/2 at both ends and sets the flag of its right support unless
// its left one is set.
ZeroPoints fire_zero_points(const Slab& slab, const std::vector<std::vector<double>>& curves);

}  // namespace solvo::reference
