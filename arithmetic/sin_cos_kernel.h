#pragma once

#include <cmath>

#include "arithmetic/double_double.h"
#include "arithmetic/sin_cos_table.h"

// sin r and cos r in double-double arithmetic for a reduced argument r,
// normalised, |r.hi| <= pi/4 + 2^-40: the fast paths of sin, cos and tan.
//
// |r| = a + b with a = j/128 the nearest table point and |b| <= 2^-8, so
//   sin |r| = sin a + cos a b + (sin a (cos b - 1) + cos a (sin b - b))
//   cos |r| = cos a - sin a b + (cos a (cos b - 1) - sin a (sin b - b))
// with the table's sin a and cos a, the products by b in double-double and
// the bracket, below 2^-16.5 of the result, in doubles.
//
// Error budget of sin |r|, relative to it, for j >= 1; sin a is at most
// rho = 2 times sin |r| (j = 1, b = -2^-8), and rho b^2 / 2 <= 2^-16:
//   the table entries, within 2^-106 each:                   < 2^-104
//   cos a b in double-double (2^-102) over cos a b <= sin |r|:  2^-102
//   cos b - 1 in doubles: b.hi^2, the Horner sum and product, the term
//   b.hi b.lo and its sum round by u = 2^-53 each, within 4.01 u; times
//   sin a.hi, with sin a.lo dropped, 6.01 u of sin a (cos b - 1), and the
//   three sums into the tail 3 u more: 9.01 u rho b^2 / 2         < 2^-65.8
//   sin b - b = b.hi ts in doubles, 8 u of |b|^3 / 6 <= 2^-16 / 6 sin |r| < 2^-68.5
//   the series stopped after b^7 and b^6:                       < 2^-78
// in all below 2^-65.5. For j = 0 (sin a = 0) only the last two lines remain;
// for cos |r| >= 0.7 the same terms are smaller: below 2^-66. Both results are
// normalised double-doubles.

namespace kaldra::arithmetic {

// The quantities both results share.
struct SinCosKernel {
  const SinCosEntry* entry = nullptr;  // sin a, cos a
  DoubleDouble b;                      // |r| - a, exactly
  double sin_b_minus_b = 0;            // sin b - b
  double cos_b_minus_1 = 0;            // cos b - 1
  bool negative = false;               // r < 0
};

inline SinCosKernel SinCosKernelOf(const DoubleDouble& r) {
  SinCosKernel k;
  k.negative = r.hi < 0;
  const double a = std::fabs(r.hi);
  const double t = a * 128;
  int j = static_cast<int>(t);
  if (t - j > 0.5) ++j;
  k.entry = &kSinCosTable[j];
  // a - j/128 is exact: Sterbenz for j >= 1, and nothing to do for j = 0.
  k.b = TwoSum(a - j * 0x1p-7, k.negative ? -r.lo : r.lo);
  const double b2 = k.b.hi * k.b.hi;
  const double ts = b2 * (-1.0 / 6 + b2 * (1.0 / 120 - b2 * (1.0 / 5040)));
  k.sin_b_minus_b = k.b.hi * ts;
  k.cos_b_minus_1 = b2 * (-0.5 + b2 * (1.0 / 24 - b2 * (1.0 / 720))) - k.b.hi * k.b.lo;
  return k;
}

// sin r.
inline DoubleDouble SinOf(const SinCosKernel& k) {
  const SinCosEntry& e = *k.entry;
  const DoubleDouble cb = Mul(e.cos, k.b);
  const DoubleDouble h = FastTwoSum(e.sin.hi, cb.hi);  // sin a >= 2|cos a b|, or 0
  const double bracket = e.sin.hi * k.cos_b_minus_1 + e.cos.hi * k.sin_b_minus_b;
  const DoubleDouble s = FastTwoSum(h.hi, h.lo + ((e.sin.lo + cb.lo) + bracket));
  return k.negative ? DoubleDouble{-s.hi, -s.lo} : s;
}

// cos r.
inline DoubleDouble CosOf(const SinCosKernel& k) {
  const SinCosEntry& e = *k.entry;
  const DoubleDouble sb = Mul(e.sin, k.b);
  const DoubleDouble h = FastTwoSum(e.cos.hi, -sb.hi);  // cos a > 0.7 > |sin a b|
  const double bracket = e.cos.hi * k.cos_b_minus_1 - e.sin.hi * k.sin_b_minus_b;
  return FastTwoSum(h.hi, h.lo + ((e.cos.lo - sb.lo) + bracket));
}

}  // namespace kaldra::arithmetic
