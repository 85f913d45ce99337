#pragma once

#include "arithmetic/big_fixed.h"

namespace kaldra::arithmetic {

// x = k pi/2 + r with k = quadrant (mod 4) and |r| <= pi/4 + 2^-60.
struct BigReduction {
  int quadrant = 0;
  BigFixed r;
  double error_units = 0;  // |r - (x - k pi/2)| in units of 2^-64n
};

// The reduction of x to the nearest multiple of pi/2, Payne and Hanek's way:
// only the bits of 2/pi that can reach the fraction of x 2/pi are multiplied,
// so the largest double is reduced as cheaply as 1. r has n fraction limbs
// and lies within 4 units of the exact remainder.
// 0 <= x finite; n <= kMaxFractionLimbs.
BigReduction ReduceBig(double x, int n);

}  // namespace kaldra::arithmetic
