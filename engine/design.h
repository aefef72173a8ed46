// The design of one run: the top reinforcement over every support (area, bar spacing, bar
// lengths of both bar layouts, weight per square metre) and the checks of every span
// (moment, shear at both ends, longitudinal shear, deflections, slenderness), all for the
// load set that the case selects (row k = 1, 2 or 3 of the analysis tables). Results go to
// run.utdat; the fire design follows as the last step.
//
// Units: kN and m; moments kNm/m; spacings and bar lengths whole mm, truncated toward zero.
#pragma once

#include "run_state.h"

namespace solvo {

// The whole design: design_supports, design_spans, top_bar_lengths, then fire.
// Requires the analysis tables of rows k, 4..7 in run.arbvar and run.snitt.
void dimen(Run& run);

// Steps of dimen, each reading the results of the ones before it.

// a(j), As(j) and S(j) of every support, from the most hogging moment of row k.
void design_supports(Run& run);

// The utilisations of every span.
void design_spans(Run& run);

// Bar lengths of both layouts at the interior supports and at cantilevers, and the weights
// WA and WB. A support with spacing 0 has no bars and adds no weight.
void top_bar_lengths(Run& run);

}  // namespace solvo
