#pragma once

#include <cmath>
#include <limits>

namespace kaldra {

// Squares and square roots of the drawing are taken as the general power
// x^2 and x^0.5, correctly rounded: the double nearest to the exact power.
// The nearest double to x^2 is exactly the IEEE product x * x, and the nearest
// to x^0.5 the IEEE square root, so both are single correctly rounded
// operations on every machine, whatever its C library's pow would return.
inline double Square(double x) {
  // Also for the edge cases: (-0)^2 = +0, (+-inf)^2 = +inf, NaN stays NaN, and
  // a square beyond the range overflows to +inf.
  return x * x;
}

inline double Root(double x) {
  // The power differs from the IEEE root in two edge cases, kept here:
  // (-0)^0.5 is +0, where sqrt(-0) is -0, and (-inf)^0.5 is +inf, where
  // sqrt(-inf) is NaN. A negative number's root is NaN (invalid) in both.
  // The drawing only takes roots of sums of squares, which are never -0 or
  // negative.
  if (x == 0) return 0.0;
  if (x == -std::numeric_limits<double>::infinity()) return -x;
  return std::sqrt(x);
}

}  // namespace kaldra
