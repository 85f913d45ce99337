#include <cmath>
#include <limits>

#include "arithmetic/elementary.h"
#include "arithmetic/elementary_paths.h"
#include "arithmetic/reduce_quadrant.h"
#include "arithmetic/rounding_test.h"
#include "arithmetic/sin_cos_kernel.h"

// The diagram takes sin and cos of a parabola's turn, pi - alpha or
// 2 pi - alpha with alpha the arctangent of a slope, in (-pi/2, pi/2), and of
// the turn's negation (pi taken as 3.14159265358979). So the sweeps'
// arguments satisfy |x| < 5 pi/2 < 8, all on the fast path's Cody-Waite side;
// both functions are correct for every double all the same.

namespace kaldra {
namespace {

// Below this, sin x rounds to x: sin x lies between x - x^3/6 and x, and
// x^3/6 < 2^-52 |x| / 6 is less than half the gap below x (at least 2^-54 |x|).
constexpr double kSinTiny = 0x1p-26;

// Below this, cos x rounds to 1: cos x lies between 1 - x^2/2 and 1, and
// x^2/2 < 2^-55 is less than half the gap below 1 (2^-54).
constexpr double kCosTiny = 0x1p-27;

bool IsNanOrInfinite(double ax) { return !(ax < std::numeric_limits<double>::infinity()); }

}  // namespace

namespace arithmetic {
namespace {

// The kernel's relative error bound, 2^-65.5 (sin_cos_kernel.h), widened to
// cover |h| against the exact value; the reduction's error adds to it.
constexpr double kSinCosFastBound = 0x1p-65;

DoubleDouble Negative(const DoubleDouble& a) { return {-a.hi, -a.lo}; }

// sin or cos of x, quadrant by quadrant: cos(r + k pi/2) is cos r, -sin r,
// -cos r, sin r for k = 0, 1, 2, 3, and sin(r + k pi/2) = cos(r + (k - 1) pi/2).
std::optional<double> FastFromQuadrant(double ax, int quadrant_shift, bool negate) {
  const QuadrantReduction red = ReduceQuadrant(ax);
  const SinCosKernel kernel = SinCosKernelOf(red.r);
  const int k = (red.quadrant + quadrant_shift) & 3;
  DoubleDouble v = (k & 1) != 0 ? SinOf(kernel) : CosOf(kernel);
  if (k == 1 || k == 2) v = Negative(v);
  if (negate) v = Negative(v);
  // sin and cos are 1-Lipschitz: the reduction's error passes on unchanged.
  return RoundedIfDecided(v, std::fabs(v.hi) * kSinCosFastBound + 2 * red.error);
}

}  // namespace

std::optional<double> SinFast(double x) { return FastFromQuadrant(std::fabs(x), 3, x < 0); }

std::optional<double> CosFast(double x) { return FastFromQuadrant(std::fabs(x), 0, false); }

}  // namespace arithmetic

double Sin(double x) {
  const double ax = std::fabs(x);
  if (IsNanOrInfinite(ax)) return x - x;  // NaN either way
  if (ax < kSinTiny) return x;
  if (const std::optional<double> fast = arithmetic::SinFast(x)) return *fast;
  return arithmetic::SinSlow(x);
}

double Cos(double x) {
  const double ax = std::fabs(x);
  if (IsNanOrInfinite(ax)) return x - x;
  if (ax < kCosTiny) return 1;
  if (const std::optional<double> fast = arithmetic::CosFast(x)) return *fast;
  return arithmetic::CosSlow(x);
}

}  // namespace kaldra
