#include <cmath>

#include "arithmetic/atan_table.h"
#include "arithmetic/elementary.h"
#include "arithmetic/elementary_paths.h"
#include "arithmetic/pi_constants.h"
#include "arithmetic/rounding_test.h"

// The diagram takes atan of segment slopes and of the slopes perpendicular to
// them: any double, including slopes near +-1e300 in awkward scenes, so atan
// is correct over the whole range.

namespace kaldra {
namespace {

// Below this, atan x rounds to x: atan x lies between x - x^3/3 and x, and
// x^3/3 < 2^-54 |x| / 3 is less than half the gap below x (at least 2^-54 |x|).
constexpr double kAtanTiny = 0x1p-27;

// From this on, atan x rounds to the double nearest pi/2: that double lies
// 6.1e-17 below pi/2, and atan x lies within 1/x <= 1.2e-16 below pi/2, so
// atan x is within 6.1e-17 of it, less than half its ulp (1.1e-16).
constexpr double kAtanHuge = 0x1p53;

// The fast path's relative error bound, 2^-67.5 (see AtanEstimate), widened
// to cover |h| against |atan x|.
constexpr double kAtanFastBound = 0x1p-67;

}  // namespace

namespace arithmetic {

DoubleDouble AtanEstimate(double x) {
  // y = x, or y = 1/x for x > 1, where atan x = pi/2 - atan y. The double-
  // double 1/x is within 3.01 u^2 y (u = 2^-53): 1 - q x is exact as
  // (1 - p.hi) - p.lo up to one rounding, and q and the product add two.
  const bool inverted = x > 1;
  DoubleDouble y{x, 0};
  if (inverted) {
    const double q = 1 / x;
    const DoubleDouble p = TwoProd(q, x);
    y = FastTwoSum(q, ((1 - p.hi) - p.lo) * q);
  }

  // c = i/128 nearest y: atan y = atan c + atan z with z = (y - c) / (1 + y c),
  // |z| <= 2^-8 (1 + 2^-44). y.hi - c is exact (Sterbenz: c/2 <= y.hi <= 2c
  // for i >= 1); the denominator is within 4u^2 and the quotient within 2^-100.
  const double t = y.hi * 128;
  int i = static_cast<int>(t);
  if (t - i > 0.5) ++i;
  const double c = i * 0x1p-7;
  const DoubleDouble numerator = TwoSum(y.hi - c, y.lo);
  const DoubleDouble yc = TwoProd(y.hi, c);
  const DoubleDouble one_plus = FastTwoSum(1, yc.hi);
  const DoubleDouble denominator = FastTwoSum(one_plus.hi, one_plus.lo + (yc.lo + y.lo * c));
  const DoubleDouble z = Div(numerator, denominator);

  // atan z = z.hi + z.hi P(s) + z.lo (1 - s) with s = z.hi^2 and
  // P(s) = -s/3 + s^2/5 - s^3/7 + s^4/9. Error budget, relative to |z|, which
  // is at most (1 + 2^-15) atan y:
  //   the series stopped after z^9:             |z|^10 / 11       < 2^-83
  //   P in doubles: s, the coefficient -1/3, its sum and product, and the
  //   product by z.hi round by u each:          5.01 u |z|^2 / 3  < 2^-68.2
  //   z.lo's term, linearised:                                    < 2^-85
  //   the three sums into the tail, each u times at most 2^-17.5 |z|: 2^-68.9
  //   z itself, the table entry and 1/x:                          < 2^-99
  // in all below 2^-67.5 |atan y|. For x > 1 the same absolute error sits on
  // pi/2 - atan y >= atan y, with pi/2 within 2^-107 and two more roundings
  // below 2^-105: still below 2^-67.5 relatively.
  const double s = z.hi * z.hi;
  const double p = s * (-1.0 / 3 + s * (1.0 / 5 + s * (-1.0 / 7 + s * (1.0 / 9))));
  const DoubleDouble entry = kAtanTable[i];
  DoubleDouble r = FastTwoSum(entry.hi, z.hi);  // entry.hi >= atan(1/128) > |z|, or 0
  r = FastTwoSum(r.hi, r.lo + (entry.lo + ((z.lo - z.lo * s) + z.hi * p)));
  if (inverted) {
    const DoubleDouble d = FastTwoSum(kHalfPiHi, -r.hi);
    r = FastTwoSum(d.hi, d.lo + (kHalfPiLo - r.lo));
  }
  return r;
}

std::optional<double> AtanFast(double x) {
  const DoubleDouble r = AtanEstimate(std::fabs(x));
  const std::optional<double> rounded = RoundedIfDecided(r, std::fabs(r.hi) * kAtanFastBound);
  if (!rounded) return std::nullopt;
  return x < 0 ? -*rounded : *rounded;
}

}  // namespace arithmetic

double Atan(double x) {
  const double ax = std::fabs(x);
  if (ax != ax) return x;  // NaN
  if (ax < kAtanTiny) return x;
  if (ax >= kAtanHuge) return x < 0 ? -arithmetic::kHalfPiHi : arithmetic::kHalfPiHi;
  if (const std::optional<double> fast = arithmetic::AtanFast(x)) return *fast;
  return arithmetic::AtanSlow(x);
}

}  // namespace kaldra
