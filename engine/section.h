// Cross-section routines of the composite slab: one metre width of concrete cast on the
// profiled steel deck. Stiffness for the analysis (samm5), the top reinforcement over a
// support (samm1s) and its hogging capacity in fire (samm2s), the sagging capacity of a span
// (samm2), the bottom reinforcement in fire (samm1), the bond demand (samm3) and the shear
// resistance (samm4). Each is a pure function of its arguments.
//
// Units: kN and m. Strengths and moduli in kN/m2 unless an argument says otherwise; moments
// in kNm per metre width (magnitudes: the caller passes |M|); areas in m2 per metre width;
// depths measured from the compressed face unless an argument says otherwise.
//
// Ultimate strength: concrete strain limit 0.0035, a rectangular stress block over the whole
// compression depth x, steel elastic up to its yield strain fy/Es and plastic beyond it.
//
// The iterative routines (samm1s, samm2s, samm2, samm1) start from a depth x0, compute a new
// depth x' from equilibrium, stop when |x' - x| <= 0.0001 m and otherwise go on with the
// damped x = (x + 2x')/3, for at most 41 rounds. The results belong to the last x (not x').
// Their status:
//   0 kSteelYields     the governing steel yields;
//   1 kSteelElastic    the governing steel is elastic;
//   2 kNoEquilibrium   no equilibrium: the compression depth would pass the steel, or the
//                      arguments describe no section (see each routine);
//   3 kNoConvergence   no convergence, or no solution (samm1). The main output (area or
//                      capacity) is then the `prior` argument unchanged: pass the value that
//                      the caller's variable holds to keep it as it was.
// No routine divides by zero or returns a NaN, whatever numbers it gets: where a divisor or a
// square root would go wrong, it returns one of the statuses above instead.
#pragma once

#include <cstdint>

#include "comdat_deck.h"

namespace solvo {

inline constexpr int32_t kSteelYields = 0;
inline constexpr int32_t kSteelElastic = 1;
inline constexpr int32_t kNoEquilibrium = 2;
inline constexpr int32_t kNoConvergence = 3;

// Area that samm1s returns when no equilibrium exists; the design turns it into a spacing
// of 0 mm.
inline constexpr float kNoEquilibriumArea = 1000000.0f;

// The compression zone over a support lies in the concrete ribs, measured upwards from the
// soffit: width w2 at the soffit, widening linearly to (s + w2 - w1)/2 per pitch at the
// height hp, full pitch s above hp. All in m, per pitch.
struct RibGeometry {
  float hp;  // height of the ribs (0: no ribs, a solid compression zone)
  float s;   // pitch
  float w1;
  float w2;
};

// The ribs of the deck for the ordinary design. The fire design passes its own reduced
// zone (rib height, pitch 0.15 and two widths of its fire class).
inline constexpr RibGeometry kDeckRibs{comdat::kProfileHeight, comdat::kRibPitch,
                                       comdat::kRibWidth1, comdat::kRibWidth2};

struct StiffnessResult {
  float ei = 0;      // bending stiffness, N*m2 per metre width; 0 with status 2
  float ec_eff = 0;  // effective concrete modulus Ec/(1 + phi), N/m2
  float n = 0;       // modular ratio Es/Ec,eff
  float xu = 0;      // neutral axis of the uncracked section from the top, m
  float iu = 0;      // second moment of the uncracked section in concrete units, m4/m
  float xc = 0;      // neutral axis of the cracked section from the top, m
  float icr = 0;     // second moment of the cracked section in concrete units, m4/m
  // 0, or 2 when the arguments describe no section.
  int32_t status = kSteelYields;
};

// Bending stiffness of a span, the mean of the uncracked and the cracked section.
// ec: concrete modulus in N/m2 (Ecm x 1000). es: reinforcement modulus in kN/m2 (2.1E8), as
// the material values hold it; it is taken in N/m2 for the modular ratio, so that both moduli
// are in the same unit. phi: creep factor. h: slab thickness; hp, s, b0: rib height, rib pitch
// and concrete width per pitch in the rib zone; dp: depth of the deck's centroid from the top
// (h - e); ap, ip: deck area (m2/m) and second moment (m4/m).
// Status 2 with ei = 0 when the section has no stiffness: 1 + phi <= 0, a modulus or ap not
// positive, the uncracked neutral axis or the cracked one without a solution (as for h = 0),
// or a stiffness that is not positive.
StiffnessResult samm5(float ec, float es, float phi, float h, float hp, float s, float b0, float dp,
                      float ap, float ip);

struct AreaResult {
  float area = 0;  // required reinforcement, m2/m
  float x = 0;     // compression depth, m
  int32_t status = kSteelYields;
};

// Required top reinforcement over a support for the hogging moment m (kNm/m), the
// compression zone in the ribs. fcd: concrete design strength (the block is 0.85 fcd); fyd:
// design yield strength of the bars; es: their modulus; d: depth of the bars from the soffit.
// x0 = 0.25 d. An area below 1 mm2/m is returned as 0.
// m <= 0: area 0, x 0, status 0 (nothing to carry).
// Status 2, area 1000000: a damped x passed d, the converged x reached d (the bars have no
// strain), or the arguments describe no section (d, fcd, fyd, es or s not positive, a
// negative rib dimension, w1 + w2 > s).
// Status 3: area = prior.
AreaResult samm1s(float fcd, float fyd, float es, const RibGeometry& rib, float d, float m,
                  float prior);

struct CapacityResult {
  float mr = 0;  // moment capacity, kNm/m
  float x = 0;   // compression depth, m
  int32_t status = kSteelYields;
};

// Hogging capacity in fire of the top reinforcement `as` (m2/m) over a support, with the
// compression zone `rib` of the fire class. fc: concrete strength, used as it is (no 0.85);
// fy, es: strength and modulus of the bars; d: their depth from the soffit.
// x0 = min(0.25 d, d/(1 + fy/(0.0035 es))).
// Status 2, mr 0: the arguments describe no section (d, fc, fy, es or s not positive, a
// negative area or rib dimension, w1 + w2 > s).
// Status 3, mr = prior: no convergence, or the iteration left the section (x <= 0 or a zone
// without width), which leaves no meaningful depth.
CapacityResult samm2s(float fc, float fy, float es, const RibGeometry& rib, float d, float as,
                      float prior);

// Sagging capacity of a section with two tension layers; layer k has depth dk (from the top),
// area ak and strength fyk. A layer with an area of at most 10 mm2/m is absent (its depth and
// strength are then not used, except fy2 in x0). x0 = min(0.25 dref, dref/(1 + fy2/(0.0035
// es))) with dref = d2 when layer 2 is present, else d1. The status is that of layer 2 when
// present, else that of layer 1. For the span design the deck is layer 2 and layer 1 empty.
// Status 2, mr 0: no layer present, or the arguments describe no section (fcd or es not
// positive, a present layer with a depth not positive or a negative strength).
// Status 3, mr = prior: no convergence, or the iteration reached x <= 0.
CapacityResult samm2(float fcd, float fy1, float fy2, float es, float d2, float d1, float a2,
                     float a1, float prior);

struct FireAreaResult {
  float area = 0;  // required bottom reinforcement, m2/m
  float x = 0;     // compression depth, m
  int32_t status = kSteelYields;
  // The deck alone carries the moment: area is 0 and final, whatever the status (which is
  // that of the deck). A caller's rule that replaces the area on status 1 must not apply.
  bool deck_alone = false;
};

// Required bottom reinforcement in fire for the sagging moment m (kNm/m). fcd: concrete
// strength (block 0.85 fcd); fyb, fyp, es: strengths of the bars and the deck and the
// modulus, each as reduced for the fire; dd, db: depths of the deck's centroid and of the
// bars from the top; ap: deck area (present when at least 10 mm2/m). x0 = 0.25 dd.
// x' comes from moments about the bars, so it needs the concrete's lever arm db - x/2 > 0;
// x' < 0 then means that the deck's own moment about the bars exceeds m, and the deck alone
// is tried (block depth y, x = 1.25 y): area 0 with deck_alone when the deck suffices,
// otherwise the search goes on from x = 1.25 y. A depth that reaches 2 db is treated the
// same way while m is within the section's reach about the bars, 0.85 fcd db^2/2 +
// (dd - db) ap fyp (a start depth beyond 2 db when the bars lie high in a thin slab);
// beyond that reach no depth gives equilibrium and the search ends at once with status 3.
// The status is that of the deck (of the bars when there is no deck). An area below
// 1 mm2/m is returned as 0.
// Status 3, area = prior, when the section has no solution: m beyond the reach above, the
// deck alone unable to carry m either (negative root), bars without strength, no
// convergence, or the arguments describe no section (fcd, es, dd or db not positive, a
// negative strength or area).
FireAreaResult samm1(float fcd, float fyb, float fyp, float es, float dd, float db, float ap,
                     float m, float prior);

struct BondResult {
  float v = 0;  // longitudinal shear demand, kN/m per metre width
  float a = 0;  // the shear span found, m (just above 20 when none was found)
};

// Longitudinal shear demand of a span under partial shear connection. q: load intensity of
// the span (kN/m2); x: shear length; ap, fypd: deck area and design strength; mp: moment
// resistance of the deck alone; mr: the span's capacity. Tries a = 0.1, 0.2, ... (float
// steps) until the critical section c = 0.5 x - (mr - mp)/(a q) satisfies 0 <= c <= a and
// (x - c) c q/2 >= (mr - mp) c/a + mp, or until a passes 20 m; v = ap fypd / a.
// q = 0 satisfies no a, and the search then skips the division by q: a ends above 20 m.
BondResult samm3(float q, float x, float ap, float fypd, float mp, float mr);

struct ShearResult {
  float vr = 0;    // shear resistance, kN/m
  float d = 0;     // effective depth used, m
  float k = 0;     // size factor, at most 2
  float rho = 0;   // reinforcement ratio, at most 0.02
  float v = 0;     // CRd,c k (100 rho fck)^(1/3), MPa
  float vmin = 0;  // 0.035 k^1.5 fck^0.5, MPa
  // 0, or 2 when the section has no depth.
  int32_t status = kSteelYields;
};

// Shear resistance of the concrete section at a support of a slab of thickness h.
// Interior support (end_support == 0): d = h - 0.001 cover_mm, longitudinal area `as` (the
// top bars, m2/m; a negative area counts as none), width factor 1. End support (any other
// flag): d = h - e, the deck area, width factor 0.62; `as` is not used.
// fck: characteristic concrete strength in kN/m2 (as the concrete table holds it);
// gamma_c: partial factor of the market.
// Status 2, vr 0: d not positive, gamma_c not positive or fck negative.
ShearResult samm4(float h, float as, int32_t end_support, int32_t cover_mm, float fck,
                  float gamma_c);

}  // namespace solvo
