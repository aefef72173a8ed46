// The lowest natural frequency of a beam in bending over any number of segments: the slab as
// one continuous beam over its spans and cantilevers. Each segment has its own stiffness and
// mass; the joints between segments are supported (no deflection, free rotation) or free.
//
// Beam finite elements (cubic Hermite shape functions, deflection and rotation at every node)
// with the consistent mass matrix give K and M; the lowest eigenvalue of K x = w^2 M x is found
// by bisection on the count of negative pivots of K - s M (the number of eigenvalues below s),
// and its mode by inverse iteration with that shift. Double precision inside.
//
// Units: lengths m, stiffness N m2, mass kg/m, frequency Hz.
#pragma once

#include <vector>

namespace solvo {

struct VibrationSegment {
  double length = 0;
  double ei = 0;    // N m2 (per metre width)
  double mass = 0;  // kg/m (per metre width)
};

// A mass on a line across the slab (a line load's share), kg per metre width.
struct VibrationPoint {
  int segment = 0;
  double at = 0;  // from the segment's left end, m
  double mass = 0;
};

struct VibrationBeam {
  std::vector<VibrationSegment> segments;  // left to right
  std::vector<bool> supported;             // every joint 0..segments: deflection held there
  std::vector<VibrationPoint> points;      // added to the consistent mass
};

struct VibrationMode {
  double frequency = 0;  // Hz; NaN when the beam has no lowest mode (a mechanism, bad data)
  int segment = -1;      // the segment where the mode's deflection is largest
};

// Elements per segment: four give the first mode of a simply supported span within 0.03 %.
inline constexpr int kVibrationElements = 4;

VibrationMode lowest_mode(const VibrationBeam& beam, int elements = kVibrationElements);

}  // namespace solvo
