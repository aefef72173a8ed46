// The profiled steel deck under the slab: fixed section constants of the deck, per metre
// width of slab unless a constant says "per pitch". Units kN and m (strengths kN/m2).
#pragma once

namespace solvo::comdat {

inline constexpr float kDeckFyp = 320000.0f;  // yield strength of the deck steel, kN/m2

inline constexpr float kProfileHeight = 0.045f;     // hp: height of the ribs
inline constexpr float kRibPitch = 0.15f;           // s: centre to centre of the ribs
inline constexpr float kRibWidth1 = 0.03f;          // w1
inline constexpr float kRibWidth2 = 0.06f;          // w2: concrete width at the soffit
inline constexpr float kRibConcreteWidth = 0.098f;  // b0: concrete in the rib zone, per pitch

inline constexpr float kDeckCentroid = 0.019f;   // e: from the soffit to the deck's centroid
inline constexpr float kRibVoidDepth = 0.0165f;  // concrete missing in the rib zone, as a depth
inline constexpr float kDeckArea = 0.000955f;    // Ap, m2/m
inline constexpr float kDeckInertia = 3.3E-7f;   // Ip, m4/m

inline constexpr float kDeckWeight = 0.089f;           // kN/m2
inline constexpr float kDeckShearStrength = 306.0f;    // longitudinal shear, kN/m2
inline constexpr float kDeckMomentResistance = 5.29f;  // deck alone, kNm/m
inline constexpr float kConcreteUnitWeight = 25.0f;    // kN/m3

}  // namespace solvo::comdat
