// A continuous beam over any number of spans, with a cantilever at each end, under a uniform
// load on every span: the profiled deck while the concrete is wet, resting on the supports and
// the temporary props. One metre width; the stiffness is the same in every span.
//
// Units: kN, m; loads kN/m2 (kN/m on the metre width), moments kNm/m sagging positive,
// stiffness kNm2/m, deflections m (downward positive). Spans are indexed 1..spans and
// supports 1..spans+1, as in the rest of the engine; element 0 of every vector is unused.
#pragma once

#include <array>
#include <vector>

namespace solvo {

// Each span is sampled at kBeamSteps + 1 points x = p L / kBeamSteps, p = 0..kBeamSteps,
// p = 0 and p = kBeamSteps at the supports. An even count puts a point at mid-span.
inline constexpr int kBeamSteps = 40;
using BeamCurve = std::array<float, kBeamSteps + 1>;

struct Beam {
  std::vector<float> length;  // [1..spans], support centre to support centre
  float cant_left = 0;        // cantilever lengths, 0 = none
  float cant_right = 0;
  float ei = 0;  // bending stiffness, kNm2/m
  // true: continuous over every support (three-moment equations); false: every span simply
  // supported, the cantilevers still hanging on the end spans.
  bool continuous = true;

  int spans() const { return static_cast<int>(length.size()) - 1; }
};

// The load of one arrangement: an intensity on every span and on each cantilever.
struct BeamLoad {
  std::vector<float> w;  // [1..spans]
  float w_left = 0;      // on the left cantilever
  float w_right = 0;     // on the right cantilever
};

struct BeamResult {
  std::vector<float> m;         // support moments [1..spans+1]
  std::vector<BeamCurve> mom;   // bending moment at the points of every span [1..spans]
  std::vector<BeamCurve> defl;  // deflection at the points of every span, m
  std::vector<float> reaction;  // support reactions [1..spans+1], the cantilevers' loads included
  float tip_left = 0;           // deflection at the tip of each cantilever, m (0 without one)
  float tip_right = 0;
};

// The support moments alone (what solve_beam puts in BeamResult::m), for a caller that forms
// the moments of many loads from them.
std::vector<float> support_moments(const Beam& beam, const BeamLoad& load);

// The support reactions [1..spans+1] of a load with its support moments `m`: each span's
// simple-span reactions w L / 2 and the shear (M(right) - M(left)) / L of its end moments,
// and the load of each cantilever on its end support.
std::vector<float> support_reactions(const Beam& beam, const BeamLoad& load,
                                     const std::vector<float>& m);

// The beam under one load. A cantilever's tip deflects by the rotation of the end span at the
// support times its length and by its own load, w c^4 / (8 EI). The support moments come from the
// cantilevers and, when the beam is continuous, from the three-moment equations with the exact
// terms of a uniform load, solved by the tridiagonal (Thomas) algorithm. Requires at least one
// span, every length and the stiffness positive; a beam that breaks this gives results that are not
// finite.
BeamResult solve_beam(const Beam& beam, const BeamLoad& load);

// The envelopes of a base load and loads added one at a time: for every point the base value
// plus the sum of the positive (max) or the negative (min) effects of the added loads.
struct BeamEnvelope {
  std::vector<BeamCurve> mom_max, mom_min;  // [1..spans]
};

// `extra` lists the added loads (each applied alone on top of `base`). Since the beam is
// linear, each added load's effect is the beam's result under that load alone.
BeamEnvelope envelope(const Beam& beam, const BeamLoad& base, const std::vector<BeamLoad>& extra);

}  // namespace solvo
