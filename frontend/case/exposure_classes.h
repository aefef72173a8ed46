// The largest crack width over the supports by exposure class (EN 1992-1-1 Table 7.1N,
// reinforced members under the quasi-permanent load), as the input form's list beside the field
// "Sprickbredd max (mm)" offers it. A pick fills the field; the engineer can type another value
// within the range of the case file's table (case_format.h).
#pragma once

#include <array>
#include <cmath>

namespace solvow {

struct ExposureClass {
  const char16_t* name;  // as the list shows it
  float wmax;            // mm; 0 = no check
};

inline constexpr std::array<ExposureClass, 3> kExposureClasses{{
    {u"X0, XC1", 0.4f},
    {u"XC2-XC4, XD, XS", 0.3f},
    {u"Ingen kontroll", 0.0f},
}};

// The list position whose value a crack width is, or -1 (a value of the engineer's own).
inline int exposurePosition(float wmax) {
  for (std::size_t k = 0; k < kExposureClasses.size(); ++k)
    if (std::fabs(kExposureClasses[k].wmax - wmax) < 1.0E-4f) return static_cast<int>(k);
  return -1;
}

}  // namespace solvow
