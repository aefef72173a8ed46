// Whole numbers from reals. Every float-to-integer truncation in the engine goes through
// ftrunc(): it truncates toward zero like Fortran's INT(), and is defined for every input.
// A NaN, an infinity or a value outside the 32-bit range gives kBadInt, which the
// formatter always writes as a row of asterisks.
#pragma once

#include <cmath>
#include <cstdint>

namespace solvo {

inline constexpr int32_t kBadInt = INT32_MIN;

inline int32_t ftrunc(float v) {
  if (!std::isfinite(v)) return kBadInt;
  // 2147483520 is the largest float below 2^31.
  if (v >= 2147483648.0f || v <= -2147483648.0f) return kBadInt;
  return static_cast<int32_t>(v);
}

// NINT(): nearest whole number, halves away from zero.
inline int32_t fnint(float v) {
  if (!std::isfinite(v)) return kBadInt;
  float r = std::round(v);
  if (r >= 2147483648.0f || r <= -2147483648.0f) return kBadInt;
  return static_cast<int32_t>(r);
}

// The sampling point p (0..20) of a clear span le: x = p * 0.05 * le, the fraction p * 0.05
// formed first, so that p = 20 is the support itself (20 * 0.05f rounds to 1 exactly) and
// never one float step beyond it.
inline float sample_point(int p, float le) { return (static_cast<float>(p) * 0.05f) * le; }

}  // namespace solvo
