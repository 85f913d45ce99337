#pragma once

#include <cstdint>

// The multiples of pi that the reductions and atan need, at the precisions
// they need them.

namespace kaldra::arithmetic {

// 2/pi = sum over i of kTwoOverPiWords[i] 2^(-64 (i + 1)). A double's exponent
// picks the window of words its reduction multiplies by (reduce_big.cpp): up to
// word 15 for the largest doubles, then 34 more for 2048 bits after the point.
inline constexpr int kTwoOverPiWordCount = 52;
extern const std::uint64_t kTwoOverPiWords[kTwoOverPiWordCount];

// pi/2 = 1 + sum over i of kHalfPiFractionWords[i] 2^(-64 (i + 1)).
inline constexpr int kHalfPiFractionWordCount = 34;
extern const std::uint64_t kHalfPiFractionWords[kHalfPiFractionWordCount];

// pi/2 as a double-double: the double nearest pi/2 and the double nearest the
// rest, together within 2^-107 of pi/2.
inline constexpr double kHalfPiHi = 0x1.921fb54442d18p+0;
inline constexpr double kHalfPiLo = 0x1.1a62633145c07p-54;

// The double nearest pi/4, just below it; the reductions start above it.
inline constexpr double kQuarterPi = 0x1.921fb54442d18p-1;

// A double near 2/pi, for picking the nearest multiple of pi/2.
inline constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// pi/2 in four pieces of 43 bits for Cody and Waite's reduction: each piece is
// pi/2 minus the pieces before it, truncated to 43 bits, so k times a piece
// is exact for every integer k < 2^10, and pi/2 exceeds the four by less than
// 2^-173. The first is below pi/2 by more than 2^-44.
inline constexpr double kHalfPiPieces[4] = {0x1.921fb54442cp+0, 0x1.18469898cc4p-44,
                                            0x1.1701b839a24p-88, 0x1.2049c1114ccp-132};

}  // namespace kaldra::arithmetic
