#pragma once

// Double-double arithmetic from IEEE +, -, * and / alone: the error-free
// transformations of Knuth and Dekker, with Veltkamp's split standing in for a
// fused multiply-add (which the build forbids). u = 2^-53 is the unit roundoff
// of round to nearest; every bound below is a multiple of u^2 = 2^-106.
//
// A double-double a = a.hi + a.lo is normalised when |a.lo| <= u |a.hi|, as
// FastTwoSum leaves it.

namespace kaldra::arithmetic {

// The unevaluated sum hi + lo.
struct DoubleDouble {
  double hi = 0;
  double lo = 0;
};

// hi + lo == a + b exactly, hi = RN(a + b) (Knuth). Any finite a and b whose
// sum does not overflow.
inline DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double a_part = s - b;
  const double b_part = s - a_part;
  return {s, (a - a_part) + (b - b_part)};
}

// The same in three operations, when a == 0 or |a| >= |b| (Dekker).
inline DoubleDouble FastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a == hi + lo exactly, each half 26 bits or fewer (Veltkamp). |a| < 2^995.
inline DoubleDouble Split(double a) {
  constexpr double kSplitter = 0x1p27 + 1;
  const double c = kSplitter * a;
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// hi + lo == a * b exactly, hi = RN(a * b) (Dekker). |a|, |b| < 2^995 and
// |a * b| >= 2^-969, so that no partial product underflows.
inline DoubleDouble TwoProd(double a, double b) {
  const double p = a * b;
  const DoubleDouble as = Split(a);
  const DoubleDouble bs = Split(b);
  const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
  return {p, e};
}

// a * b for normalised a and b, normalised, within 2^-102 |a * b|.
// The dropped a.lo b.lo is at most u^2 |a.hi b.hi|; the two cross products
// and their sum round by at most u^2 |a.hi b.hi| each and 2u^2 together, and
// adding them to the product's tail by 3u^2: 8u^2 (1 + 4u) < 2^-102.
inline DoubleDouble Mul(const DoubleDouble& a, const DoubleDouble& b) {
  const DoubleDouble p = TwoProd(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// a / b for normalised a and b, normalised, within 2^-100 |a / b|.
// q = RN(a.hi / b.hi); a.hi - q b.hi is exact (Sterbenz: q b.hi is within
// 2u of a.hi), so the remainder a - q b is computed with three roundings of
// terms below 4u |a|, 12u^2 |a| in all; dividing it by b.hi instead of b and
// rounding adds 6u^2 |a / b|: 18u^2 (1 + 4u) < 2^-100.
inline DoubleDouble Div(const DoubleDouble& a, const DoubleDouble& b) {
  const double q = a.hi / b.hi;
  const DoubleDouble p = TwoProd(q, b.hi);
  const double remainder = (((a.hi - p.hi) - p.lo) + a.lo) - q * b.lo;
  return FastTwoSum(q, remainder / b.hi);
}

}  // namespace kaldra::arithmetic
