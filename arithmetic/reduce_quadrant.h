#pragma once

#include "arithmetic/double_double.h"

namespace kaldra::arithmetic {

// x = k pi/2 + r with k = quadrant (mod 4), as the fast paths need it.
struct QuadrantReduction {
  int quadrant = 0;
  DoubleDouble r;    // normalised, |r.hi| <= pi/4 + 2^-40
  double error = 0;  // |r - (x - k pi/2)| <= error
};

// The reduction of x to the nearest multiple of pi/2 in double-double
// arithmetic: none below pi/4, Cody and Waite's below 2^10, which covers every
// argument the sweeps make, and Payne and Hanek's above.
// 0 <= x finite.
QuadrantReduction ReduceQuadrant(double x);

}  // namespace kaldra::arithmetic
