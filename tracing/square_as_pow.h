#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "scene/power.h"

namespace kaldra {

// The exact error t^2 - tt of tt, the rounded product t * t (Dekker): t is
// split into two halves of 26 bits whose products are all exact.
// Precondition: t = 0 or 2^-480 < |t| < 2^995, so that the split does not
// overflow and no product underflows.
inline double SquareError(double t, double tt) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double c = kSplitter * t;
  const double hi = c - (c - t);
  const double lo = t - hi;
  return ((hi * hi - tt) + 2 * hi * lo) + lo * lo;
}

// Square(t), the library's pow(t, 2.0), mostly without calling it.
//
// The error bound. Dekker's product gives the exact error e = t^2 - t * t of
// the rounded product tt (exact here: the build forbids fused multiply-adds).
// The library's pow computes exp(2 * log t) with a relative error before its
// final rounding of at most about 0.012 units in the last place while
// |2 log t| < 50, that is for |t| < 2^36, which every arc parameter of a
// canvas up to 8192 pixels a side satisfies by far. So when |e| <= 0.47 ulp(tt),
// pow's unrounded result lies within 0.482 ulp of tt and rounds to tt itself.
// When tt is a power of two, the spacing below it is half an ulp, and a true
// square below tt need not round up to it: that case asks pow. Everywhere
// else, near a rounding boundary, pow is asked too.
inline double SquareAsPow(double t) {
  const double tt = t * t;
  const double error = SquareError(t, tt);
  // tt's power of two; one unit in the last place is that times 2^-52.
  const double binade = std::bit_cast<double>(std::bit_cast<std::uint64_t>(tt) &
                                              0x7FF0000000000000ull);
  if (std::fabs(error) <= 0.47 * 0x1p-52 * binade && !(tt == binade && error < 0)) return tt;
  return Square(t);
}

}  // namespace kaldra
