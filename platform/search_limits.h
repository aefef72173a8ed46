// What the design search accepts in a plan: the engine refuses a larger plan, and the front
// end says so before it starts one.
#pragma once

#include <cstdint>

namespace solvo::platform {

// More candidate designs than this are refused: the search would take minutes.
inline constexpr int64_t kMaxSearchCandidates = 200000;

}  // namespace solvo::platform
