// The checks of report page 6, for one metre width of slab:
//  - the profiled deck as formwork while the concrete is wet: each span divided by its
//    temporary props into equal deck spans, the deck continuous over supports and props or
//    simply supported between them, the slab's cantilevers as deck cantilevers; permanent
//    load deck + wet concrete (26 kN/m3) with ponding; construction load 0.75 kN/m2
//    everywhere and the working-area load on top of it on one deck span or on two that meet
//    at a support or prop; every deck span or cantilever still without its concrete where
//    that worsens a moment (the casting sequence); ultimate moments against the deck's
//    resistance, deflections under the permanent load against deck span / 180 (a cantilever:
//    twice its length / 180); the least number of props of every span that fails; the line
//    loads on props and supports;
//  - the least top reinforcement over the supports against cracking, 0.2 % of the concrete
//    above the ribs (0.4 % next to a propped span), at least 80 mm2/m, and the spacing of the
//    case's top bar that gives it, at most 2 h and 350 mm;
//  - the lowest natural frequency of the slab as one continuous beam over its clear spans and
//    cantilevers, with the short-term composite stiffness of every span and the mass of self
//    weight + permanent load + 0.1 x imposed load.
// Units: kN, m, kN/m2, kNm/m; deflections in mm in the results.
#pragma once

#include "run_state.h"

namespace solvo {

// What slab_checks works out: everything page 6 prints, or only what the verdict reads (the
// props a failing span needs are left out: they pass or fail nothing, and finding them
// takes several more calculations of the deck; a design search asks for the verdict).
enum class CheckScope { kPage, kVerdict };

// All checks into run.checkdat, and the verdict: whether the slab passes and which check
// governs. Requires the case read and derived (insolvo, or blkdat + berdat with the clear
// spans); independent of the analysis and the design, so a design search can call it on a
// candidate without them. Leaves run.snitt as it found it.
const CheckVerdict& slab_checks(Run& run, CheckScope scope = CheckScope::kPage);

// The steps of slab_checks.
void casting_checks(Run& run);
// For every span that fails a construction-stage check: the number of props with which all
// of its checks pass, the failing spans taking one prop more at a time together (a span's
// hogging over a support depends on its neighbour's props). After casting_checks.
void props_needed(Run& run);
void crack_reinforcement(Run& run);
void natural_frequency(Run& run);
// The largest utilisation of the results of n spans (and the cantilevers and the natural
// frequency), the check and the span or support it belongs to.
CheckVerdict check_verdict(const Checkdat& d, int n);

// Whether the top bars designed over support j (run.utdat, after the design) give the least
// area against cracking at no more than its spacing. After crack_reinforcement.
bool crack_steel_provided(const Run& run, int j);

}  // namespace solvo
