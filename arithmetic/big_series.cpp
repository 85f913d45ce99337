#include "arithmetic/big_series.h"

#include <cassert>
#include <cstdint>

namespace kaldra::arithmetic {

// Each computed term t~_k of either series below is within e_k units of the
// exact term t_k, and the terms alternate in sign and shrink, so once a
// computed term is zero the exact one is at most e_k and so is the whole rest
// of the series. Summing is exact; the error is the sum of the e_k plus that
// rest.
BigSinCos SinCosSeries(const BigFixed& r) {
  const int n = r.n;
  BigFixed a = r;
  a.negative = false;
  // a^2 is within 1 unit, and below 0.64.
  const BigFixed a2 = Mul(a, a);
  BigSinCos out;

  // sin a: t_k = t_(k-1) a^2 / ((2k)(2k+1)), t_0 = a exactly. The product
  // errs by at most 0.64 e + t + 1 (t <= 0.8) and the division by at least 6
  // leaves (0.64 e + 1.8) / 6 + 1: e_k <= 1.5 units throughout.
  BigFixed term = a;
  BigFixed sum = a;
  int terms = 1;
  for (std::uint64_t k = 1; !IsZero(term); ++k, ++terms) {
    term = DivSmall(Mul(term, a2), (2 * k) * (2 * k + 1));
    sum = (k % 2 == 1) ? Sub(sum, term) : Add(sum, term);
  }
  out.sin = r.negative ? Negated(sum) : sum;
  out.sin_error = 1.5 * terms + 1.5;

  // cos a: t_k = t_(k-1) a^2 / ((2k-1)(2k)), t_0 = 1; e_1 <= 2 and after it
  // the division by 12 or more keeps e_k <= 2 units.
  term = BigFromDouble(1, n);
  sum = term;
  terms = 1;
  for (std::uint64_t k = 1; !IsZero(term); ++k, ++terms) {
    term = DivSmall(Mul(term, a2), (2 * k - 1) * (2 * k));
    sum = (k % 2 == 1) ? Sub(sum, term) : Add(sum, term);
  }
  out.cos = sum;
  out.cos_error = 2.0 * terms + 2;
  return out;
}

// atan u = u - u^3/3 + u^5/5 - ...: the powers p_k = p_(k-1) u^2 err by at
// most e/4 + |u|^(2k-1) + 1 <= 2 units, and the terms p_k / (2k+1) by
// 2/3 + 1 <= 2.
double AtanSeries(const BigFixed& u, BigFixed& atan_u) {
  const BigFixed u2 = Mul(u, u);
  BigFixed power = u;
  atan_u = u;
  int terms = 1;
  for (std::uint64_t k = 1; !IsZero(power); ++k, ++terms) {
    power = Mul(power, u2);
    const BigFixed term = DivSmall(power, 2 * k + 1);
    atan_u = (k % 2 == 1) ? Sub(atan_u, term) : Add(atan_u, term);
  }
  return 2.0 * terms + 2;
}

// With e = 1 - d y the relative error of y, one step y' = y + y e, computed
// as e~ = 1 - trunc(d y) and y' = y + trunc(y e~), leaves
//   1 - d y' = e^2 - (1 - e) tau1 - d tau2,   |tau1|, |tau2| < 1 unit,
// so |e'| <= e^2 + 3.01 units. From |e_0| <= 2^-51, each step doubles the
// bits; once 2^-bits <= 2^-(64n+2), |e| <= 4.25 units and
// |y - 1/d| = |e| / d <= 8.5 units.
BigFixed Reciprocal(const BigFixed& d) {
  const int n = d.n;
  const double approximation = ToNearestDouble(d);
  assert(approximation >= 0.5 && approximation <= 2);
  BigFixed y = BigFromDouble(1 / approximation, n);  // exact: 1/2 <= y <= 2, 53 bits
  const BigFixed one = BigFromDouble(1, n);
  for (int bits = 51; bits < 64 * n + 2; bits *= 2) {
    const BigFixed e = Sub(one, Mul(d, y));
    y = Add(y, Mul(y, e));
  }
  return y;
}

}  // namespace kaldra::arithmetic
