#include "arithmetic/reduce_quadrant.h"

#include <cassert>
#include <cmath>

#include "arithmetic/big_fixed.h"
#include "arithmetic/pi_constants.h"
#include "arithmetic/reduce_big.h"

namespace kaldra::arithmetic {
namespace {

// Below this, k pi/2 has k < 2^10 and Cody and Waite's pieces multiply exactly.
constexpr double kCodyWaiteLimit = 0x1p10;

// The limbs of the Payne-Hanek reduction above kCodyWaiteLimit: 192 bits, so
// that r keeps more than 120 of them. No double comes nearer a multiple of
// pi/2 than 6381956970095103 2^797 does, 2^-60.9 (Muller, Elementary
// Functions); the error bound below holds whatever r is all the same.
constexpr int kBigReductionLimbs = 3;

QuadrantReduction CodyWaite(double x) {
  // k, the nearest integer to x 2/pi give or take 2^-42 (the rounding of the
  // product), so |r| <= pi/4 + 2^-41; t - k is exact.
  const double t = x * kTwoOverPi;
  int k = static_cast<int>(t);
  if (t - k > 0.5) ++k;
  const double kd = k;
  // x - k P1 is exact: k P1 has 43 + 10 bits at most, and Sterbenz's lemma holds since
  // x >= pi/4 > P1 / 2 for k = 1 (P1 is below pi/2 by more than 2^-44) and
  // x >= (k - 1/2 - 2^-42) pi/2 >= k P1 / 2 for k >= 2. The products by the
  // other pieces are exact too, and the first difference is kept exactly.
  const DoubleDouble h = TwoSum(x - kd * kHalfPiPieces[0], -(kd * kHalfPiPieces[1]));
  // The next two differences round by at most u (|h.lo| + 2^-77.5) each, since
  // k P3 < 2^-77.5 and k P4 < 2^-121; the pieces fall short of k pi/2 by less
  // than 2^-163. In all |r - r*| <= 2^-105 |h.hi| + 2^-129, and |h.hi| <= 2 |r.hi|
  // unless both are below 2^-70.
  const double tail = (h.lo - kd * kHalfPiPieces[2]) - kd * kHalfPiPieces[3];
  QuadrantReduction out;
  out.quadrant = k & 3;
  const DoubleDouble r = TwoSum(h.hi, tail);
  out.r = r;
  out.error = std::fabs(r.hi) * 0x1p-104 + 0x1p-128;
  return out;
}

QuadrantReduction PayneHanek(double x) {
  const BigReduction big = ReduceBig(x, kBigReductionLimbs);
  // r as the nearest double and the nearest double to the rest, within
  // u |rest| <= 2^-106 |r|; the units of the big reduction are 2^-192.
  const double hi = ToNearestDouble(big.r);
  const double lo = ToNearestDouble(Sub(big.r, BigFromDouble(hi, kBigReductionLimbs)));
  QuadrantReduction out;
  out.quadrant = big.quadrant;
  out.r = {hi, lo};
  out.error = (big.error_units + 1) * 0x1p-192 + std::fabs(lo) * 0x1p-53;
  return out;
}

}  // namespace

QuadrantReduction ReduceQuadrant(double x) {
  assert(x >= 0);
  if (x < kQuarterPi) return {0, {x, 0}, 0};
  if (x < kCodyWaiteLimit) return CodyWaite(x);
  return PayneHanek(x);
}

}  // namespace kaldra::arithmetic
