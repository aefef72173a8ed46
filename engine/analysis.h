// The continuous slab: elastic analysis of one metre width under the eight load sets and
// their span-by-span arrangements, the envelopes, zero points and cut-off distances, and the
// moment-curve files MOMK.DAT and AL.DAT.
//
// Moments kNm/m sagging positive, loads kN/m2 on spans and kN/m for line loads, stiffness
// N m2/m, deflections m (downward positive).
#pragma once

#include <cstdint>

#include "run_state.h"

namespace solvo {

// The analysis of all load sets. Fills run.arbvar and run.snitt, adds MOMK.DAT and AL.DAT
// to run.files. `flag` is handed on to krdef and has no effect.
void snikra(Run& run, int32_t& flag);

// One load arrangement from run.snitt's load vector (w, ei, line loads) and the cantilevers
// of the case. mode 0: the support moments come from the cantilevers and the three-moment
// equations. mode 1: the support moments in run.snitt.m are given and kept.
void krdef(Run& run, int32_t mode);

// Solves the tridiagonal system coef[0] (sub), coef[1] (main), coef[2] (super) of the
// unknowns 1..count with right side rhs into x (Thomas algorithm, no pivoting).
void ekv3(const std::array<Span1<kMaxSupports>, 3>& coef, const Span1<kMaxSupports>& rhs,
          Span1<kMaxSupports>& x, int count);

}  // namespace solvo
