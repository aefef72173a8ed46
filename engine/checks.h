// The checks of report page 6, for one metre width of slab:
//  - the profiled deck as formwork while the concrete is wet: each span divided by its
//    temporary props into equal deck spans, the deck continuous over supports and props or
//    simply supported between them; permanent load deck + wet concrete (26 kN/m3), with
//    ponding; construction load 0.75 kN/m2 everywhere and, one deck span at a time, the
//    working-area load; ultimate moments against the deck's resistance, the deflection
//    under the permanent load against deck span / 180;
//  - the least top reinforcement over the ribs against cracking, 0.2 % of the concrete above
//    the ribs (0.4 % for a propped span), and the spacing of the case's top bar that gives it;
//  - the natural frequency of each span, 18 / sqrt(deflection in mm) under self weight +
//    permanent load + 0.1 x imposed load with the short-term composite stiffness.
// Units: kN, m, kN/m2, kNm/m; deflections in mm in the results.
#pragma once

#include "run_state.h"

namespace solvo {

// All three checks into run.checkdat, and the verdict: whether the slab passes and which
// check governs. Requires the case read and derived (insolvo, or blkdat + berdat with the
// clear spans); independent of the analysis and the design, so a design search can call it
// on a candidate without them. Leaves run.snitt as it found it.
const CheckVerdict& slab_checks(Run& run);

// The steps of slab_checks.
void casting_checks(Run& run);
void crack_reinforcement(Run& run);
void natural_frequency(Run& run);
// The largest utilisation of the results of n spans, the check and the span it belongs to.
CheckVerdict check_verdict(const Checkdat& d, int n);

}  // namespace solvo
