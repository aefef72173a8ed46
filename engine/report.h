// The six-page result report: the case as entered, the utilisations and weights, the
// section forces of the ultimate, serviceability and fire cases, the reinforcement over the
// supports and in the spans, the spacing of the bar chairs, and (page 6) the deck during
// casting, the anti-crack reinforcement and the natural frequency. Every page starts with a
// header and ends with a line holding only "^", where printing breaks the page.
#pragma once

#include <ctime>

#include "run_state.h"

namespace solvo {

// Adds MOMD.DAT (the diagram's curves of the design's load set) and then the report, named by
// utfil, to run.files. `now` is printed in every page header.
void utskr(Run& run, const std::tm& now);

// The same with the local date and time, read once.
void utskr(Run& run);

}  // namespace solvo
