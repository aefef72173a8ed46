// The lowest natural frequency of a beam over segments against closed forms of beams in
// bending (Euler-Bernoulli): f = lambda^2/(2 pi L^2) sqrt(EI/m) with lambda^2 = pi^2 for a
// simply supported span, 15.418 clamped at one end and pinned at the other, 22.373 clamped at
// both, 3.5160 for a cantilever; a joint between two supports very close together holds the
// rotation (a clamp). And a mass on a line of a light beam: f = sqrt(48 EI/(M L^3))/(2 pi).
#include "vibration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace solvo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEi = 4.529E6;  // N m2
constexpr double kMass = 395.2;  // kg/m

double closed(double lambda2, double length) {
  return lambda2 / (2.0 * kPi * length * length) * std::sqrt(kEi / kMass);
}

VibrationBeam beam_of(std::initializer_list<double> lengths, std::initializer_list<bool> held) {
  VibrationBeam b;
  for (double l : lengths) b.segments.push_back({l, kEi, kMass});
  b.supported.assign(held);
  return b;
}

TEST(Vibration, ClosedForms) {
  struct Row {
    const char* name;
    VibrationBeam beam;
    double want;
    int segment;  // where the mode deflects most; -1: either of two symmetric ones
  };
  const double pi2 = kPi * kPi;
  const Row rows[] = {
      {"simply supported", beam_of({6.0}, {true, true}), closed(pi2, 6.0), 0},
      {"two equal spans", beam_of({6.0, 6.0}, {true, true, true}), closed(pi2, 6.0), -1},
      {"four equal spans", beam_of({5.0, 5.0, 5.0, 5.0}, {true, true, true, true, true}),
       closed(pi2, 5.0), -1},
      {"clamped-pinned", beam_of({6.0, 0.003}, {true, true, true}), closed(15.418, 6.0), 0},
      {"clamped both ends", beam_of({0.003, 6.0, 0.003}, {true, true, true, true}),
       closed(22.373, 6.0), 1},
      {"cantilever", beam_of({0.002, 1.5}, {true, true, false}), closed(3.5160, 1.5), 1},
      {"long and short span", beam_of({6.0, 2.0}, {true, true, true}), -1.0, 0},
  };
  for (const Row& r : rows) {
    const VibrationMode m = lowest_mode(r.beam);
    if (r.want > 0) {
      EXPECT_NEAR(m.frequency, r.want, 0.005 * r.want) << r.name;
    }
    if (r.segment >= 0) {
      EXPECT_EQ(m.segment, r.segment) << r.name;
    }
  }
  // A 6 m span next to a 2 m one lies between the simply supported and clamped-pinned values.
  const double f = lowest_mode(beam_of({6.0, 2.0}, {true, true, true})).frequency;
  EXPECT_GT(f, closed(pi2, 6.0));
  EXPECT_LT(f, closed(15.418, 6.0));
}

// Four elements a segment are within 0.1 % of sixteen (the first mode converges as h^4).
TEST(Vibration, FourElementsASegmentAreEnough) {
  const VibrationBeam beams[] = {
      beam_of({6.0}, {true, true}),
      beam_of({1.2, 4.2, 6.0, 3.0, 0.8}, {false, true, true, true, true, false}),
      beam_of({6.0, 0.5}, {true, true, true}),
  };
  for (const VibrationBeam& b : beams) {
    const double coarse = lowest_mode(b, 4).frequency;
    const double fine = lowest_mode(b, 16).frequency;
    EXPECT_NEAR(coarse, fine, 0.001 * fine);
  }
}

// A light beam of 6 m with 2000 kg on its middle line: 48 EI/(M L^3) = 48 * 4.529E6/(2000 *
// 216) = 503.2 1/s^2, f = 22.43/(2 pi) = 3.570 Hz (the beam's own mass 1/10000 of it).
TEST(Vibration, MassOnALine) {
  VibrationBeam b;
  b.segments.push_back({6.0, kEi, 2000.0 / 6.0 / 10000.0});
  b.supported = {true, true};
  b.points.push_back({0, 3.0, 2000.0});
  EXPECT_NEAR(lowest_mode(b).frequency, 3.570, 0.005 * 3.570);
}

TEST(Vibration, BadBeamsHaveNoMode) {
  const VibrationBeam bad[] = {
      VibrationBeam{},                                        // no segment
      beam_of({6.0}, {true}),                                 // joints missing
      beam_of({0.0}, {true, true}),                           // no length
      beam_of({std::nan("")}, {true, true}),                  // not a number
      VibrationBeam{{{6.0, -1.0, kMass}}, {true, true}, {}},  // negative stiffness
  };
  for (const VibrationBeam& b : bad) EXPECT_TRUE(std::isnan(lowest_mode(b).frequency));
  // One support only: the beam turns about it without bending, f = 0.
  EXPECT_NEAR(lowest_mode(beam_of({6.0}, {true, false})).frequency, 0.0, 1e-3);
}

}  // namespace
}  // namespace solvo
