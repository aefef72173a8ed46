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

// The rows of the result tables, one per load set.
inline constexpr int kRowUlsA = 1;            // ultimate, expression 6.10a
inline constexpr int kRowUlsB = 2;            // ultimate, expression 6.10b
inline constexpr int kRowUlsBoth = 3;         // ultimate, both: formed from rows 1 and 2
inline constexpr int kRowQuasiLong = 4;       // quasi-permanent, long term (with creep)
inline constexpr int kRowQuasiShort = 5;      // quasi-permanent, short term
inline constexpr int kRowFrequent = 6;        // frequent, variable part only
inline constexpr int kRowCharacteristic = 7;  // characteristic, variable part only
inline constexpr int kRowQuasiGammaD = 8;     // quasi-permanent times gamma_d
inline constexpr int kFireRow = 9;            // the fire design's own analysis
static_assert(kFireRow == kLoadSets);

template <int N>
using Span1 = std::array<float, N + 1>;  // used 1..N
template <int N>
using Int1 = std::array<int32_t, N + 1>;

}  // namespace solvo
