// The fire design: steel temperatures and reduction factors of the fire class, the hogging
// capacity in fire of every support with its top bars, the fire-case analysis with the
// support moments limited to those capacities (row 9 of the analysis tables, and the file
// MOMENTBRAND.RES), and the bottom bars that the redistributed span moments need.
//
// Temperatures in deg C; capacities and moments kNm/m (sagging positive); spacings and
// lengths whole mm, truncated toward zero.
#pragma once

#include <cstdint>

#include "run_state.h"

namespace solvo {

// The whole fire design, called as the design's last step: fire_parameters,
// fire_support_capacities, brand, bottom_bars.
void fire(Run& run);

// Temperature of the deck profile (fsd1) and of the bottom bars (fsd2) for the fire class
// `r` in minutes: 29 < r < 31 is REI 30, 59 < r < 61 REI 60, anything else REI 90. `ceiling`
// 1 (none) and 2 (13 mm gypsum) give the same tables; any other value gives 0 deg C.
float fsd1(float r, int32_t ceiling);
float fsd2(float r, int32_t ceiling);

// Reduction factors at temperature `theta`, linear between the tabulated 100 deg C steps
// (a temperature on a step takes the step below it): yield strength of reinforcing steel
// (red; 1 up to 400 deg C) and its modulus (ered; 1 up to 100 deg C); 0 from 1200 deg C.
float red(float theta);
float ered(float theta);

// Temperatures, reduction factors and section coefficients of the case's fire class.
void fire_parameters(Run& run);

// Hogging capacity in fire of every support with its top area As(j); 0 when the section
// finds no capacity.
void fire_support_capacities(Run& run);

// The fire-case analysis: elastic moments of the fire load, support moments limited to
// the capacities in fire, the redistributed curves, envelopes and zero points in row 9, and
// MOMENTBRAND.RES appended to run.files.
void brand(Run& run);

// Bottom bars of every span for the fire span moment of row 9, and their weight.
void bottom_bars(Run& run);

}  // namespace solvo
