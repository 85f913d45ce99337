#pragma once

#include <cmath>

namespace kaldra {

// Where the sweeps' shortcuts may stand in for the plain arithmetic of a
// sample, faults included.
//
// On a scene whose slopes are all moderate (scene.h: between 2^-400 and 2^400
// in size, so that intercepts stay below 2^414), a sample whose computed
// position lies within 2^510 of the origin in both coordinates takes no step
// that can fault: its squared differences to the ends stay below 2^1022 and
// their sums below 2^1023; slope * x stays below 2^910 and a line distance's
// numerator below 2^911, over a norm of at least 1; a perpendicular's slope
// -1 / slope stays below 2^400, its products below 2^910, and a foot's
// divisor slope - perp is at least 2 in size. The fast comparisons of
// squares, made only within the canvas's reach (coordinates below 2^14),
// stay below 2^860: squared line distances and squared distances times a
// squared norm of at most 2^800. Its position was computed
// without a fault as well, since an overflow or a NaN on the way would have
// left the position infinite or NaN, and so not moderate. Such a sample may be
// skipped, or decided the fast way, without losing a fault.
//
// Any other sample is taken plainly, every step checked; so is every sample of
// a scene with an immoderate slope, where the plain count of closer segments
// could fault at any sample and in the order it asks the segments.
inline constexpr double kModerateCoordinate = 0x1p510;

// Windows of skipped samples stay within half of that, so that every sample
// they cover, up to a window's reach further, is moderate.
inline constexpr double kWindowCoordinate = 0x1p509;

inline bool ModeratePosition(double x, double y) {
  return std::fabs(x) <= kModerateCoordinate && std::fabs(y) <= kModerateCoordinate;
}

}  // namespace kaldra
