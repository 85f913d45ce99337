#pragma once

// The precisions the slow path tries in turn, in 64-bit fraction limbs: 128
// bits settle every argument but a few in 2^60, the hardest known cases of
// these functions need about 130, and each failure doubles the precision.

namespace kaldra::arithmetic {

inline constexpr int kSlowPathLimbs[] = {2, 4, 8, 16, 32};

// Ending the loop undecided would take an exact result within 2^-2000 of a
// midpoint between doubles; the exhaustive searches for the hardest cases of
// atan, sin, cos and tan (Lefevre and Muller; the CORE-MATH project) find
// none closer than about 2^-(53+80) relatively, and the results here are above
// 2^-62, so the last estimate is returned only for form's sake.

}  // namespace kaldra::arithmetic
