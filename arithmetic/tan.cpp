#include <cmath>
#include <limits>

#include "arithmetic/elementary.h"
#include "arithmetic/elementary_paths.h"
#include "arithmetic/reduce_quadrant.h"
#include "arithmetic/rounding_test.h"
#include "arithmetic/sin_cos_kernel.h"

// The diagram takes tan of the angle bisectors' directions: the mean of two
// arctangents, in (-pi/2, pi/2) as they are, and that mean plus a quarter
// turn (pi taken as 3.14159265358979), in (0, pi). So the sweeps' arguments
// satisfy |x| < pi < 4, all on the fast path's Cody-Waite side; tan is
// correct for every double all the same.

namespace kaldra {
namespace {

// Below this, tan x rounds to x: tan x lies between x and x + x^3/3 (1 + x^2),
// less than half the gap above x (at least 2^-54 |x|) for |x| < 2^-27.
constexpr double kTanTiny = 0x1p-27;

// sin r and cos r each within 2^-65.5, their quotient within 2^-100 more:
// 2^-64.49, widened to cover |h| against the exact value.
constexpr double kTanFastBound = 0x1p-64;

}  // namespace

namespace arithmetic {

std::optional<double> TanFast(double x) {
  const QuadrantReduction red = ReduceQuadrant(std::fabs(x));
  const SinCosKernel kernel = SinCosKernelOf(red.r);
  const DoubleDouble s = SinOf(kernel);
  const DoubleDouble c = CosOf(kernel);
  // The reduction's error moves sin r and cos r by at most red.error each,
  // relatively red.error / |sin r| and red.error / |cos r|: taken twice over,
  // which covers the computed values standing in for the exact ones while the
  // error is below 2^-60 of them (else the slow path decides).
  if (red.error > 0x1p-60 * std::fabs(s.hi)) return std::nullopt;
  DoubleDouble t = (red.quadrant & 1) != 0 ? Div(c, s) : Div(s, c);
  if ((red.quadrant & 1) != 0) t = {-t.hi, -t.lo};  // tan(r + pi/2) = -cos r / sin r
  if (x < 0) t = {-t.hi, -t.lo};
  const double relative = kTanFastBound +
                          2 * red.error * (1 / std::fabs(s.hi) + 1 / std::fabs(c.hi));
  return RoundedIfDecided(t, std::fabs(t.hi) * relative);
}

}  // namespace arithmetic

double Tan(double x) {
  const double ax = std::fabs(x);
  if (!(ax < std::numeric_limits<double>::infinity())) return x - x;  // NaN either way
  if (ax < kTanTiny) return x;
  if (const std::optional<double> fast = arithmetic::TanFast(x)) return *fast;
  return arithmetic::TanSlow(x);
}

}  // namespace kaldra
