#include <cmath>

#include "arithmetic/big_fixed.h"
#include "arithmetic/big_series.h"
#include "arithmetic/double_bits.h"
#include "arithmetic/elementary_paths.h"
#include "arithmetic/pi_constants.h"
#include "arithmetic/slow_path.h"

// The slow path of atan. With y = x, or y = 1/x for x > 1, and theta a double
// near atan y (from the fast path's estimate),
//   atan y = theta + atan u,   u = (y cos theta - sin theta) / (cos theta + y sin theta),
// since tan(atan y - theta) = (y - tan theta) / (1 + y tan theta). u is below
// 2^-50, so atan u needs a few terms; sin and cos of theta come from their
// series, all in BigFixed arithmetic at rising precision.

namespace kaldra::arithmetic {
namespace {

struct Estimate {
  BigFixed value;
  double error_units = 0;
};

// atan |x| at n limbs. 2^-27 <= |x| < 2^53.
Estimate Evaluate(double ax, double theta, bool inverted, int n) {
  // y exactly for x <= 1; 1/x = 2^-e / m for x = m 2^e (-52 <= e <= 0) by one
  // short division, within 1 unit.
  BigFixed y = BigFromDouble(ax, n);
  double ey = 0;
  if (inverted) {
    const IntegerTimesPowerOfTwo d = Decompose(ax);
    y = DivSmall(BigFromDouble(PowerOfTwo(-d.e), n), d.m);
    ey = 1;
  }
  // theta's bits reach 2^-106 at the finest, within n >= 2 limbs: exact.
  const BigFixed t = BigFromDouble(theta, n);
  const BigSinCos sc = SinCosSeries(t);
  const double es = sc.sin_error;
  const double ec = sc.cos_error;
  // With 0 <= y <= 1 and cos, sin of theta in [0, 1]: the numerator within
  // e_c + e_y + 1 + e_s and the denominator, in [0.7, 1.5], likewise. The
  // quotient then errs by at most e_N / 0.7 + |N| e_D / 0.49 <= 3.5 e for the
  // operands (|N| <= 1), 9 for the reciprocal and 1 for the product.
  const BigFixed numerator = Sub(Mul(y, sc.cos), sc.sin);
  const BigFixed denominator = Add(sc.cos, Mul(y, sc.sin));
  const BigFixed u = Mul(numerator, Reciprocal(denominator));
  const double eu = 3.5 * (es + ec + ey + 1) + 10;
  BigFixed atan_u;
  const double e_series = AtanSeries(u, atan_u);
  // atan is 1-Lipschitz: u's error, which holds y's, passes on unchanged.
  BigFixed value = Add(t, atan_u);
  double error = eu + e_series;
  if (inverted) {
    value = Sub(BigFromWords(1, kHalfPiFractionWords, n), value);  // pi/2 within 1 unit
    error += 1;
  }
  return {value, error};
}

}  // namespace

double AtanSlow(double x) {
  const double ax = std::fabs(x);
  const bool inverted = ax > 1;
  // Within 2^-50 of atan y: the estimate of atan x is within 2^-67, and
  // pi/2 - estimate rounds once more.
  const double estimate = AtanEstimate(ax).hi;
  const double theta = inverted ? kHalfPiHi - estimate : estimate;
  Estimate last;
  for (const int n : kSlowPathLimbs) {
    last = Evaluate(ax, theta, inverted, n);
    if (x < 0) last.value = Negated(last.value);
    if (const std::optional<double> rounded = RoundedWithin(last.value, last.error_units)) {
      return *rounded;
    }
  }
  return ToNearestDouble(last.value);
}

}  // namespace kaldra::arithmetic
