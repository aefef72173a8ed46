// The design of one run: the top reinforcement over every support (area, bar spacing, bar
// lengths of both bar layouts, weight per square metre) and the checks of every span
// (moment, shear at both ends, longitudinal shear, deflections, slenderness), all for the
// load set that the case selects (row k = 1, 2 or 3 of the analysis tables). Results go to
// run.utdat; the fire design follows as the last step.
//
// Units: kN and m; moments kNm/m; spacings and bar lengths whole mm, truncated toward zero.
#pragma once

#include <vector>

#include "run_state.h"

namespace solvo {

// Least overall depth of the slab: 80 mm, and 40 mm of concrete above the 45 mm ribs.
inline constexpr float kLeastSlabDepth = 0.085f;
// Largest spacing of the top bars over a support: twice the thinner slab there, and 250 mm.
inline constexpr int32_t kMostTopSpacing = 250;
// Least clear distance between bars: their diameter, and 20 mm.
inline constexpr int32_t kLeastClearDistance = 20;
// The bottom bars for fire lie in the ribs, one to a rib at most: not closer than the pitch.
inline constexpr int32_t kLeastBottomSpacing = 150;

// Least centre spacing of bars of diameter `dia` mm: the diameter plus the clear distance.
int32_t least_top_spacing(float dia);
// Largest spacing of the top bars over a support of slab thickness `h` m, whole mm.
int32_t most_top_spacing(float h);

// The first supports j of the merged pairs of row k (the bar over supports j and j + 1), in
// the order in which the bar lengths walk the interior supports.
std::vector<int> merged_pairs(const Indat& c, const Arbvar& av, int k);

// The whole design: design_supports, design_spans, top_bar_lengths, fire, then the crack
// widths over the supports with the bars designed (crack_width.h).
// Requires the analysis tables of rows k, 4..7 in run.arbvar and run.snitt.
void dimen(Run& run);

// Steps of dimen, each reading the results of the ones before it.

// a(j), As(j) and S(j) of every support, from the most hogging moment of row k; the spacing
// within what can be built (at most most_top_spacing, else no solution below
// least_top_spacing), the area that the checks credit and why a support has no solution.
// Both supports of a merged pair have no solution when one of them has none.
void design_supports(Run& run);

// The utilisations of every span.
void design_spans(Run& run);

// Bar lengths of both layouts at the interior supports and at cantilevers, and the weights
// WA and WB. A support with spacing 0 has no bars and adds no weight.
void top_bar_lengths(Run& run);

}  // namespace solvo
