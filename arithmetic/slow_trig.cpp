#include <cmath>

#include "arithmetic/big_fixed.h"
#include "arithmetic/big_series.h"
#include "arithmetic/double_bits.h"
#include "arithmetic/elementary_paths.h"
#include "arithmetic/reduce_big.h"
#include "arithmetic/slow_path.h"

// The slow path of sin, cos and tan: Payne and Hanek's reduction and the
// Taylor series in BigFixed arithmetic, at rising precision until the
// rounding is decided.

namespace kaldra::arithmetic {
namespace {

enum class Trig { kSin, kCos, kTan };

struct Estimate {
  BigFixed value;
  double error_units = 0;
};

// An error that no rounding test accepts, for estimates too coarse to use.
constexpr double kUseless = 0x1p200;

// tan r = sin r / cos r, cos r >= 0.7 since |r| <= pi/4 + 2^-60:
// |1/c~ - 1/c| <= 9 + e_c / 0.49 and |s~ y~ - s y| <= |s~| (9 + 2.1 e_c) +
// 1.42 e_s + 1.
Estimate TanEven(const BigSinCos& sc, double es, double ec) {
  return {Mul(sc.sin, Reciprocal(sc.cos)), 10 + 2.1 * ec + 1.5 * es};
}

// tan(r + pi/2) = -cos r / sin r, where sin r may be as small as 2^-62: sin r
// is scaled by 2^k into [1/2, 1), exactly, before the reciprocal, and the
// quotient scaled back. With the scaled error e = e_s 2^k below 2^100 units,
// far below the scaled sine's 2^(64n-1) for n >= 2, |1/s'~ - 1/s'| <= 9 + 8 e,
// and the product by cos r adds 2.01 e_c + 1 before the scaling by 2^k.
Estimate TanOdd(const BigSinCos& sc, double es, double ec) {
  const int n = sc.sin.n;
  if (IsZero(sc.sin)) return {BigZero(n), kUseless};
  const int k = -1 - TopBitExponent(sc.sin);
  if (k > 62) return {BigZero(n), kUseless};
  const double scaled_error = ScaleByPowerOfTwo(es, k);
  if (!(scaled_error < 0x1p100)) return {BigZero(n), kUseless};
  BigFixed scaled_sin = ShiftLeft(sc.sin, k);
  scaled_sin.negative = false;
  const BigFixed quotient = ShiftLeft(Mul(sc.cos, Reciprocal(scaled_sin)), k);
  const double error = ScaleByPowerOfTwo(10 + 8 * scaled_error + 2.01 * ec, k);
  return {sc.sin.negative ? quotient : Negated(quotient), error};
}

Estimate Evaluate(Trig f, double ax, int n) {
  const BigReduction red = ReduceBig(ax, n);
  const BigSinCos sc = SinCosSeries(red.r);
  // sin and cos are 1-Lipschitz: the reduction's error adds to each.
  const double es = sc.sin_error + red.error_units;
  const double ec = sc.cos_error + red.error_units;
  const int q = red.quadrant;
  switch (f) {
    case Trig::kSin:  // sin(r + q pi/2): sin r, cos r, -sin r, -cos r
      if (q == 0) return {sc.sin, es};
      if (q == 1) return {sc.cos, ec};
      if (q == 2) return {Negated(sc.sin), es};
      return {Negated(sc.cos), ec};
    case Trig::kCos:  // cos(r + q pi/2): cos r, -sin r, -cos r, sin r
      if (q == 0) return {sc.cos, ec};
      if (q == 1) return {Negated(sc.sin), es};
      if (q == 2) return {Negated(sc.cos), ec};
      return {sc.sin, es};
    case Trig::kTan:
      return (q & 1) == 0 ? TanEven(sc, es, ec) : TanOdd(sc, es, ec);
  }
  return {BigZero(n), kUseless};
}

double TrigSlow(Trig f, double x) {
  const double ax = std::fabs(x);
  const bool negate = f != Trig::kCos && x < 0;  // sin and tan are odd, cos even
  Estimate last;
  for (const int n : kSlowPathLimbs) {
    last = Evaluate(f, ax, n);
    if (negate) last.value = Negated(last.value);
    if (const std::optional<double> rounded = RoundedWithin(last.value, last.error_units)) {
      return *rounded;
    }
  }
  return ToNearestDouble(last.value);
}

}  // namespace

double SinSlow(double x) { return TrigSlow(Trig::kSin, x); }
double CosSlow(double x) { return TrigSlow(Trig::kCos, x); }
double TanSlow(double x) { return TrigSlow(Trig::kTan, x); }

}  // namespace kaldra::arithmetic
