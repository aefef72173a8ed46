// Sizes of the slab the engine handles, and the arrays indexed from 1 that it uses.
#pragma once

#include <array>
#include <cstdint>

namespace solvo {

inline constexpr int kMaxSpans = 10;
inline constexpr int kMaxSupports = kMaxSpans + 1;
inline constexpr int kMaxLineLoads = 5;
inline constexpr int kLoadSets = 9;  // rows 1..8 of the analysis, row 9 the fire case
inline constexpr int kPoints = 21;   // sampling points p = 0..20 along a span

template <int N>
using Span1 = std::array<float, N + 1>;  // used 1..N
template <int N>
using Int1 = std::array<int32_t, N + 1>;

}  // namespace solvo
