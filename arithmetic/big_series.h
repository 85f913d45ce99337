#pragma once

#include "arithmetic/big_fixed.h"

// The series and the reciprocal of the slow path, in BigFixed arithmetic,
// each with its error bound counted in units of the numbers' last limb.

namespace kaldra::arithmetic {

struct BigSinCos {
  BigFixed sin;
  BigFixed cos;
  double sin_error = 0;  // units
  double cos_error = 0;
};

// sin r and cos r by their Taylor series, summed until the terms vanish.
// |r| <= 0.8.
BigSinCos SinCosSeries(const BigFixed& r);

// atan u by its Taylor series; within the returned number of units.
// |u| <= 1/2.
double AtanSeries(const BigFixed& u, BigFixed& atan_u);

// 1/d by Newton's iteration from a double's 53 bits, within 9 units.
// 1/2 <= d <= 2.
BigFixed Reciprocal(const BigFixed& d);

}  // namespace kaldra::arithmetic
