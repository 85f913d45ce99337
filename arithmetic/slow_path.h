#pragma once

// The precisions the slow path tries in turn, in 64-bit fraction limbs. At
// 128 bits the error is near 2^-121, which decides every argument whose result
// lies farther than that from a midpoint between doubles; the hardest cases
// known lie about 2^-(53+78) from one, relatively, and each failure doubles
// the precision.

namespace kaldra::arithmetic {

inline constexpr int kSlowPathLimbs[] = {2, 4, 8, 16, 32};

// Ending the loop undecided would take an exact result within about 2^-2040 of
// a midpoint, relatively 2^-1978 since every result of the slow path exceeds
// 2^-62. The exhaustive searches for hardest-to-round cases (Lefevre and
// Muller; the CORE-MATH project) find none nearer than about 2^-(53+78), and
// by the usual count the nearest of all 2^64 doubles lies around
// 2^-(53+64): the last estimate is returned for form's sake only.

}  // namespace kaldra::arithmetic
