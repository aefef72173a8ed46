// Cross-section routines against hand calculations. Common values (market SVERIGE, C35/45,
// grade 500): fcd = 35000/1.5 = 23333.3 kN/m2, so the stress block 0.85 fcd = 19833.3;
// fyd = 500000/1.15 = 434782.6; Es = 2.1E8, yield strain fyd/Es = 0.0020704.
#include "section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace solvo {
namespace {

constexpr float kFcd = 35000.0f / 1.5f;
constexpr float kFyd = 500000.0f / 1.15f;
constexpr float kEs = 2.1E8f;
constexpr float kPrior = -7.0f;  // a caller's value that status 3 must hand back

// The iterations stop when two successive depths differ by at most 0.0001 m; the damped
// step then leaves the depth within about 1.5 times that of the exact root.
constexpr float kDepthTol = 0.00015f;

// ---- samm5 -----------------------------------------------------------------------------

// 0.14 m slab of C35/45 on the deck, creep factor 0 (worked by hand):
//   n = 2.1E11 / 3.4E10 = 6.1765; nAp = 0.0058985; dp = 0.14 - 0.019 = 0.121
//   xu = (0.5 h^2 + nAp dp - hp (s - b0)(h - hp/2)/s) / (h + nAp - hp (s - b0)/s)
//      = (0.0098 + 0.00071372 - 0.0018330) / (0.14 + 0.0058985 - 0.0156) = 0.066622 m
//   Iu = 0.095^3/12 + 0.095 (0.019122)^2 + n Ip + nAp (0.054378)^2
//        + 0.0294 (0.045^2/12 + 0.050878^2)
//      = 7.1448E-5 + 3.4737E-5 + 2.0382E-6 + 1.7442E-5 + 8.1070E-5 = 2.0673E-4 m4/m
//   xc = nAp (sqrt(2 dp/nAp + 1) - 1) = 0.032341; concrete xc^3/3 = 1.1275E-5;
//   deck n (Ip + Ap (dp - xc)^2) = 4.8403E-5; Icr = 5.9679E-5
//   EI = 3.4E10 * 0.5 * (2.0673E-4 + 5.9679E-5) = 4.5289E6 N m2/m
// With Es taken in kN/m2 against Ec in N/m2, n would be 0.0061765 and Icr 8.7E-8.
TEST(Samm5, ModularRatioHasBothModuliInNewtonsPerSquareMetre) {
  const StiffnessResult r =
      samm5(3.4E10f, kEs, 0.0f, 0.14f, 0.045f, 0.15f, 0.098f, 0.121f, 0.000955f, 3.3E-7f);
  ASSERT_EQ(r.status, 0);
  EXPECT_NEAR(r.n, 6.1765f, 0.0001f);
  EXPECT_NEAR(r.xu, 0.066622f, 0.000001f);
  EXPECT_NEAR(r.iu, 2.0673E-4f, 0.0001E-4f);
  EXPECT_NEAR(r.xc, 0.032341f, 0.000001f);
  EXPECT_NEAR(r.icr, 5.9679E-5f, 0.0001E-5f);
  const float deck_part = r.icr - r.xc * r.xc * r.xc / 3.0f;
  EXPECT_GT(deck_part, 0.8f * r.icr) << "the cracked section is mostly the deck";
  EXPECT_NEAR(r.ei, 4.5289E6f, 0.0001E6f);
}

TEST(Samm5, CreepFactorDividesTheConcreteModulus) {
  auto at = [](float phi) {
    return samm5(3.4E10f, kEs, phi, 0.14f, 0.045f, 0.15f, 0.098f, 0.121f, 0.000955f, 3.3E-7f);
  };
  const StiffnessResult short_term = at(0.0f);
  const StiffnessResult long_term = at(2.0f);
  EXPECT_EQ(short_term.ec_eff, 3.4E10f);
  // Ec,eff = Ec/3, so n triples (to float rounding).
  EXPECT_NEAR(long_term.n, 3.0f * short_term.n, 1E-5f * short_term.n);
  EXPECT_NEAR(long_term.ec_eff, 3.4E10f / 3.0f, 1E-6f * 3.4E10f);
  EXPECT_LT(long_term.ei, short_term.ei);
}

// ---- samm1s ----------------------------------------------------------------------------

struct TopCase {
  const char* name;
  RibGeometry rib;
  float d, m;
  float want_area, want_x;
  int32_t want_status;
  float rel_tol;  // on the area
};

// Each case starts from a chosen depth x and takes the moment that it carries, so the
// routine must find that x again.
const TopCase kTopCases[] = {
    // Rectangular block in the ribs: with w1 + w2 = s the zone is w2 = 0.06 wide per pitch
    // of 0.15 at every height. x = 0.04: C = 19833.3 * 0.06 * 0.04 / 0.15 = 317.33 kN/m,
    // centroid 0.02, lever 0.12 - 0.02 = 0.10, M = 31.733 kNm/m; strain (0.12/0.04 - 1)
    // * 0.0035 = 0.007 > 0.00207, bars yield: As = 317.33 / 434782.6 = 7.2987E-4 m2/m.
    // Tolerance: x within 0.00015 moves the lever arm 0.10 by 0.08 %.
    {"rectangle in the ribs",
     {0.045f, 0.15f, 0.09f, 0.06f},
     0.12f,
     31.7333f,
     7.2987E-4f,
     0.04f,
     kSteelYields,
     0.002f},
    // The deck's ribs, widening: x = 0.03, t = 0.03 * 0.06 / 0.09 = 0.02, B = 0.08,
    // area 0.0024 per pitch, zc = (0.5*0.06*0.0009 + 2/3*0.02*0.0009)/0.0024 = 0.01625;
    // C = 317.33 kN/m, d = 0.10, M = 317.33 * 0.08375 = 26.577; As = 7.2987E-4.
    {"trapezoid in the ribs", kDeckRibs, 0.10f, 26.5767f, 7.2987E-4f, 0.03f, kSteelYields, 0.002f},
    // Above the ribs, bars elastic: x = 0.06, Ar = 0.5*0.045*0.18 = 0.00405, At = 0.015*0.15
    // = 0.00225, zc = (0.002025*0.33/6 + 0.5*0.105*0.00225)/0.0063 = 0.036429; C = 19833.3
    // * 0.0063/0.15 = 833.0 kN/m; d = 0.09: M = 833.0 * 0.053571 = 44.625. Strain (1.5 - 1)
    // * 0.0035 = 0.00175 < 0.00207: stress 367500, As = 833.0/367500 = 2.2667E-3.
    // Tolerance: the stress goes with d/x - 1 = 0.5; x within 0.00015 moves it 1.1 %.
    {"above the ribs, bars elastic", kDeckRibs, 0.09f, 44.625f, 2.2667E-3f, 0.06f, kSteelElastic,
     0.015f},
    {"no moment", kDeckRibs, 0.12f, 0.0f, 0.0f, 0.0f, kSteelYields, 0.0f},
    // 0.0005 kNm/m needs about 0.0005/(434782.6 * 0.12) = 9.6E-9 m2/m, below 1 mm2/m.
    {"less than 1 mm2/m", kDeckRibs, 0.12f, 0.0005f, 0.0f, -1.0f, kSteelYields, 0.0f},
    // The most the ribs can give at d = 0.12 is at x = d: area 0.0153 per pitch, C = 2023
    // kN/m at zc = 0.06794, 105.3 kNm/m. 200 kNm/m has no equilibrium.
    {"beyond equilibrium", kDeckRibs, 0.12f, 200.0f, 1000000.0f, -1.0f, kNoEquilibrium, 0.0f},
};

TEST(Samm1s, RequiredTopReinforcement) {
  for (const TopCase& c : kTopCases) {
    const AreaResult r = samm1s(kFcd, kFyd, kEs, c.rib, c.d, c.m, kPrior);
    EXPECT_EQ(r.status, c.want_status) << c.name;
    EXPECT_NEAR(r.area, c.want_area, c.rel_tol * c.want_area) << c.name;
    if (c.want_x >= 0) {
      EXPECT_NEAR(r.x, c.want_x, kDepthTol) << c.name;
    }
  }
}

// ---- samm2s ----------------------------------------------------------------------------

// REI 60 zone: hp = 0.026, s = 0.15, w1 = w2 = 0.032; d = 0.12, As = 4.0E-4 m2/m, full
// fcd (no 0.85). Assuming the bars yield: Nc = 0.15 * 4E-4 * 434782.6 / 23333.3 = 0.0011180
// m2 per pitch. In the ribs the area is x (w2 + k x) with k = (0.15 - 0.064)/0.052 =
// 1.65385: 1.65385 x^2 + 0.032 x - 0.0011180 = 0 gives x = 0.018067 (< hp; strain
// (0.12/0.018067 - 1) * 0.0035 = 0.0197, yields). t = 0.029881, zc = x (0.016 + 2/3 t) /
// (0.032 + t) = 0.010488. Mr = 434782.6 * 4E-4 * (0.12 - 0.010488) = 19.046 kNm/m.
// Tolerance: x within 0.00015 moves zc by less than 0.0001, Mr by 0.02 %.
TEST(Samm2s, HoggingCapacityInFire) {
  const RibGeometry rei60{0.026f, 0.15f, 0.032f, 0.032f};
  const CapacityResult r = samm2s(kFcd, kFyd, kEs, rei60, 0.12f, 4.0E-4f, kPrior);
  EXPECT_EQ(r.status, kSteelYields);
  EXPECT_NEAR(r.x, 0.018067f, kDepthTol);
  EXPECT_NEAR(r.mr, 19.046f, 0.001f * 19.046f);
}

// A ceiling code without fire coefficients leaves the zone as zeros: a solid block s wide.
// x = As fy / fc = 4E-4 * 434782.6 / 23333.3 = 0.0074534; Mr = 173.913 * (0.12 - 0.0037267)
// = 20.221 kNm/m.
TEST(Samm2s, ZoneWithoutRibsIsASolidBlock) {
  const CapacityResult r = samm2s(kFcd, kFyd, kEs, {0, 0.15f, 0, 0}, 0.12f, 4.0E-4f, kPrior);
  EXPECT_EQ(r.status, kSteelYields);
  EXPECT_NEAR(r.x, 0.0074534f, kDepthTol);
  EXPECT_NEAR(r.mr, 20.221f, 0.001f * 20.221f);
}

// A support whose top reinforcement found no equilibrium carries the area 1000000 into the
// fire design: the bars go into compression and the search breaks down.
TEST(Samm2s, NoEquilibriumAreaGivesNoConvergenceAndKeepsThePriorCapacity) {
  const CapacityResult r = samm2s(kFcd, kFyd, kEs, kDeckRibs, 0.12f, 1000000.0f, kPrior);
  EXPECT_EQ(r.status, kNoConvergence);
  EXPECT_EQ(r.mr, kPrior);
}

// ---- samm2 -----------------------------------------------------------------------------

// Span of a 0.14 m slab, the deck as layer 2 (d2 = 0.121, Ap = 0.000955, fypd = 320000),
// layer 1 empty as the span design calls it. x = 305.6 / 19833.3 = 0.015408 (strain
// (0.121/0.015408 - 1) * 0.0035 = 0.024, yields); Mr = (0.121 - 0.007704) * 305.6 = 34.623.
// Tolerance: x within 0.00015 moves Mr by 0.5 * 0.00015 * 305.6 = 0.023 kNm/m.
TEST(Samm2, SpanCapacityWithEmptyLayer1) {
  const CapacityResult r = samm2(kFcd, 0.0f, 320000.0f, kEs, 0.121f, 0.0f, 0.000955f, 0.0f, kPrior);
  EXPECT_EQ(r.status, kSteelYields);
  EXPECT_NEAR(r.x, 0.015408f, kDepthTol);
  EXPECT_NEAR(r.mr, 34.623f, 0.023f);
  // Layer 1 contributes nothing: Mr is exactly the deck's term at the returned depth.
  EXPECT_FLOAT_EQ(r.mr, (0.121f - 0.5f * r.x) * 320000.0f * 0.000955f);
}

// ---- samm1 -----------------------------------------------------------------------------

// 0.10 m slab at REI 60: dd = 0.081; bars 60 mm above the soffit give db = 0.040.
// Deck at 818 C: ky = 0.11 - 18 * 0.05 * 0.01 = 0.101, fyp = 32320. Bars at 433 C:
// ky = 1 - 33 * 0.22 * 0.01 = 0.9274, fyb = 403217; kE = 0.7 - 33 * 0.1 * 0.01 = 0.667,
// Es = 1.4007E8. The deck yields from the start ((0.081/0.02025 - 1) * 0.0035 = 0.0105).
// The deck's own moment about the bars: 0.041 * 0.000955 * 32320 = 1.2655 kNm/m.
// The most the section can carry (its reach): concrete about the bars at x = db,
// 19833.3 * 0.04^2 / 2 = 15.87, plus the deck's 1.27: 17.13 kNm/m.
struct FireCase {
  const char* name;
  float fyp, es, db, m;
  float want_area;
  int32_t want_status;
  bool want_deck_alone;
  float abs_tol;
};

constexpr float kFyb = kFyd * 0.9274f;
constexpr float kFyp = 320000.0f * 0.101f;
constexpr float kEsFire = kEs * 0.667f;

const FireCase kFireCases[] = {
    {"no moment", kFyp, kEsFire, 0.04f, 0.0f, 0.0f, kSteelYields, true, 0.0f},
    // 1.0 < 1.2655: the deck alone. y = 0.081 (1 - sqrt(1 - 2/(0.081^2 * 19833.3))) =
    // 0.000625; Ap = 0.000955 > 19833.3 * 0.000625 / 32320 = 0.000383: no bars.
    {"the deck carries it", kFyp, kEsFire, 0.04f, 1.0f, 0.0f, kSteelYields, true, 0.0f},
    // Deck elastic throughout: fyp/Es = 320000/2.1E7 = 0.0152 > 0.0105, status 1. The zero
    // area stays a zero area.
    {"the deck carries it elastically", 320000.0f, 2.1E7f, 0.04f, 0.5f, 0.0f, kSteelElastic, true,
     0.0f},
    // 19833.3 x (0.04 - x/2) = 10 - 1.2655 gives x = 0.013182; bars yield ((0.04/x - 1) *
    // 0.0035 = 0.0071 > 0.00288); Ab = (10 - 30.866 * (0.081 - 0.006591)) / (403217 *
    // (0.04 - 0.006591)) = 5.7184E-4 m2/m. Tolerance: x within 0.00015 moves Ab by 0.3 %.
    {"bars needed", kFyp, kEsFire, 0.04f, 10.0f, 5.7184E-4f, kSteelYields, false,
     0.003f * 5.7184E-4f},
    // 30 > 17.13: no depth carries it; x passes 2 db and the search stops.
    {"beyond the section", kFyp, kEsFire, 0.04f, 30.0f, kPrior, kNoConvergence, false, 0.0f},
    // Bars 90 mm up: db = 0.01, and the start depth 0.25 * 0.081 = 0.02025 is already past
    // 2 db. Reach 19833.3 * 0.01^2 / 2 + 0.071 * 0.000955 * 32320 = 0.99 + 2.19 = 3.18.
    // 1.0 is within it, and the deck alone carries it as above: no bars, not "no solution".
    {"bars high, the deck carries it", kFyp, kEsFire, 0.01f, 1.0f, 0.0f, kSteelYields, true, 0.0f},
    // 5.0 > 3.18: no solution.
    {"bars high, beyond the section", kFyp, kEsFire, 0.01f, 5.0f, kPrior, kNoConvergence, false,
     0.0f},
};

TEST(Samm1, RequiredBottomReinforcementInFire) {
  for (const FireCase& c : kFireCases) {
    const FireAreaResult r = samm1(kFcd, kFyb, c.fyp, c.es, 0.081f, c.db, 0.000955f, c.m, kPrior);
    EXPECT_EQ(r.status, c.want_status) << c.name;
    EXPECT_EQ(r.deck_alone, c.want_deck_alone) << c.name;
    EXPECT_NEAR(r.area, c.want_area, c.abs_tol) << c.name;
  }
}

// ---- samm3 -----------------------------------------------------------------------------

// q = 10 kN/m2, X = 5 m, Mr = 30, Mp = 5.29, Ap fypd = 305.6 kN/m. c = 2.5 - 2.471/a;
// a = 1.6: c = 0.9556, (5 - c) c q/2 = 19.32 < 24.71 c/a + 5.29 = 20.05;
// a = 1.7: c = 1.0465, 20.69 >= 20.50: found. v = 305.6 / 1.7 = 179.76 kN/m.
TEST(Samm3, FirstShearSpanThatSatisfiesTheCondition) {
  const BondResult r = samm3(10.0f, 5.0f, 0.000955f, 320000.0f, 5.29f, 30.0f);
  EXPECT_NEAR(r.a, 1.7f, 0.00001f);
  EXPECT_NEAR(r.v, 179.76f, 0.01f);
}

TEST(Samm3, NoLoadSearchesToTheEnd) {
  const BondResult r = samm3(0.0f, 5.0f, 0.000955f, 320000.0f, 5.29f, 30.0f);
  EXPECT_GT(r.a, 20.0f);
  EXPECT_LT(r.a, 20.1f);
  EXPECT_NEAR(r.v, 305.6f / 20.0f, 0.01f);
}

// ---- samm4 -----------------------------------------------------------------------------

struct ShearCase {
  const char* name;
  float h, as;
  int32_t end_support, cover;
  float want_d, want_k, want_vr;
};

// C35/45 (fck 35 MPa), gamma_c 1.5: CRd,c = 0.12.
const ShearCase kShearCases[] = {
    // d = 0.265 - 0.015 = 0.25: k = 1 + sqrt(0.8) = 1.8944, not capped; no bars, so
    // vmin = 0.035 * 1.8944^1.5 * sqrt(35) = 0.53991 MPa and VR = 0.53991 * 0.25 * 1000.
    {"k below the cap", 0.265f, 0.0f, 0, 15, 0.25f, 1.8944f, 134.98f},
    // d = 0.15: 1 + sqrt(1.333) = 2.155, capped at 2; vmin = 0.035 * 2^1.5 * sqrt(35) =
    // 0.58566, VR = 87.85.
    {"k capped", 0.17f, 0.0f, 0, 20, 0.15f, 2.0f, 87.85f},
    // d = 0.18, no bars: v = 0, VR = vmin * d * 1000 = 0.58566 * 180 = 105.42.
    {"interior support without bars", 0.2f, 0.0f, 0, 20, 0.18f, 2.0f, 105.42f},
    // 785 mm2/m: rho = 0.0043611, v = 0.12 * 2 * (100 * 0.0043611 * 35)^(1/3) = 0.59534
    // > vmin, VR = 107.16.
    {"interior support, bars govern", 0.2f, 7.85E-4f, 0, 20, 0.18f, 2.0f, 107.16f},
    // End support: d = 0.2 - 0.019 = 0.181, the deck (rho = 0.000955/(0.62 * 0.181) =
    // 0.0085101), the given area ignored: v = 0.12 * 2 * (29.785)^(1/3) = 0.74395,
    // VR = 0.74395 * 0.181 * 0.62 * 1000 = 83.486.
    {"end support uses the deck", 0.2f, 1000000.0f, 1, 20, 0.181f, 2.0f, 83.486f},
};

TEST(Samm4, ShearResistance) {
  for (const ShearCase& c : kShearCases) {
    const ShearResult r = samm4(c.h, c.as, c.end_support, c.cover, 35000.0f, 1.5f);
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_NEAR(r.d, c.want_d, 1E-6f) << c.name;
    EXPECT_NEAR(r.k, c.want_k, 0.0001f) << c.name;
    EXPECT_NEAR(r.vr, c.want_vr, 0.01f) << c.name;
  }
}

// ---- guards ----------------------------------------------------------------------------

// Numbers a case file can deliver that describe no section: zero or negative thickness
// (depths below zero), a creep factor of -1, a ceiling code without fire coefficients, a
// bottom-bar placement above the slab. Each gives its status and finite results, never a
// division by zero.
struct Degenerate {
  std::string name;
  std::function<std::vector<float>()> outputs;  // status first, then the results
  int32_t want_status;
};

std::vector<float> of(const StiffnessResult& r) {
  return {float(r.status), r.ei, r.n, r.xu, r.iu, r.xc, r.icr};
}
std::vector<float> of(const AreaResult& r) { return {float(r.status), r.area, r.x}; }
std::vector<float> of(const CapacityResult& r) { return {float(r.status), r.mr, r.x}; }
std::vector<float> of(const FireAreaResult& r) { return {float(r.status), r.area, r.x}; }
std::vector<float> of(const ShearResult& r) {
  return {float(r.status), r.vr, r.d, r.k, r.rho, r.v, r.vmin};
}

TEST(SectionGuards, DegenerateSectionsGiveAStatusAndFiniteResults) {
  const RibGeometry no_coefficients{0, 0.15f, 0, 0};
  const std::vector<Degenerate> cases = {
      {"samm5 h = 0",
       [] {
         return of(samm5(3.4E10f, kEs, 2, 0, 0.045f, 0.15f, 0.098f, -0.019f, 0.000955f, 3.3E-7f));
       },
       kNoEquilibrium},
      {"samm5 creep -1",
       [] {
         return of(
             samm5(3.4E10f, kEs, -1, 0.14f, 0.045f, 0.15f, 0.098f, 0.121f, 0.000955f, 3.3E-7f));
       },
       kNoEquilibrium},
      {"samm1s d = 0", [] { return of(samm1s(kFcd, kFyd, kEs, kDeckRibs, 0, 10, kPrior)); },
       kNoEquilibrium},
      {"samm1s d < 0", [] { return of(samm1s(kFcd, kFyd, kEs, kDeckRibs, -0.02f, 10, kPrior)); },
       kNoEquilibrium},
      {"samm2s d < 0",
       [&] { return of(samm2s(kFcd, kFyd, kEs, no_coefficients, -0.05f, 4E-4f, kPrior)); },
       kNoEquilibrium},
      {"samm2s no bars, no fire coefficients",
       [&] { return of(samm2s(kFcd, kFyd, kEs, no_coefficients, 0.1f, 0, kPrior)); }, kSteelYields},
      {"samm2 h = 0",
       [] { return of(samm2(kFcd, 0, 320000, kEs, -0.019f, 0, 0.000955f, 0, kPrior)); },
       kNoEquilibrium},
      {"samm2 no steel", [] { return of(samm2(kFcd, 0, 320000, kEs, 0.1f, 0, 0, 0, kPrior)); },
       kNoEquilibrium},
      {"samm1 h = 0",
       [] { return of(samm1(kFcd, kFyb, kFyp, kEsFire, -0.019f, -0.042f, 0.000955f, 5, kPrior)); },
       kNoConvergence},
      {"samm1 bars above the slab",
       [] { return of(samm1(kFcd, kFyb, kFyp, kEsFire, 0.081f, -0.02f, 0.000955f, 5, kPrior)); },
       kNoConvergence},
      {"samm4 h = 0", [] { return of(samm4(0, 0, 0, 15, 35000, 1.5f)); }, kNoEquilibrium},
      {"samm4 end support h = 0", [] { return of(samm4(0, 0, 1, 15, 35000, 1.5f)); },
       kNoEquilibrium},
  };
  for (const Degenerate& c : cases) {
    const std::vector<float> out = c.outputs();
    EXPECT_EQ(static_cast<int32_t>(out[0]), c.want_status) << c.name;
    for (float v : out) EXPECT_TRUE(std::isfinite(v)) << c.name;
  }
}

TEST(SectionGuards, BreakdownsInsideTheSearchGiveTheirStatus) {
  // samm1s with zero-width ribs at the soffit (w2 = 0, w1 = s): no zone, no equilibrium.
  const AreaResult top = samm1s(kFcd, kFyd, kEs, {0.045f, 0.15f, 0.15f, 0}, 0.12f, 10, kPrior);
  EXPECT_EQ(top.status, kNoEquilibrium);
  EXPECT_EQ(top.area, kNoEquilibriumArea);
  // samm1 with no strength in the bars (area would divide by zero): no solution.
  const FireAreaResult bottom = samm1(kFcd, 0, kFyp, kEsFire, 0.081f, 0.04f, 0.000955f, 10, kPrior);
  EXPECT_EQ(bottom.status, kNoConvergence);
  EXPECT_EQ(bottom.area, kPrior);
}

}  // namespace
}  // namespace solvo
