// The shortcuts of the per-sample path against the arithmetic they stand for.
#include "tracing/fast_compare.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "geometry/power.h"

namespace kaldra {
namespace {

// The library's pow with an exponent the compiler cannot see.
double LibraryPow(double base, double exponent) {
  volatile double e = exponent;
  return std::pow(base, e);
}

TEST(SquareAsPow, EqualsThePowerFunctionBitForBit) {
  std::mt19937_64 engine(12345);
  std::uniform_real_distribution<double> walk_values(-3000.0, 3000.0);
  int product_differs = 0;
  for (int n = 0; n < 2'000'000; ++n) {
    // A few exact squares and zero among the walk's values.
    const double t = n < 4 ? std::ldexp(n, n) : walk_values(engine);
    const double expected = LibraryPow(t, 2.0);
    ASSERT_EQ(SquareAsPow(t), expected) << "t = " << t;
    if (t * t != expected) ++product_differs;
  }
  // The shortcut would be pointless if the product always agreed, and the
  // test would prove nothing if the hard cases never came up.
  EXPECT_GT(product_differs, 100);
}

// The segment from (100, 100) to (200, 200), with its constants as the sweeps
// compute them.
SegmentConstants Diagonal() {
  SegmentConstants s{};
  s.x1 = 100;
  s.y1 = 100;
  s.x2 = 200;
  s.y2 = 200;
  s.slope = 1;
  s.intercept = 0;
  s.perp = -1 / s.slope;
  s.foot_den = s.slope - s.perp;
  s.inv_foot_den = 1 / s.foot_den;
  s.norm = Root(Square(s.slope) + 1);
  s.norm2 = s.norm * s.norm;
  return s;
}

// The foot's x exactly as the closer-segment test computes it.
bool ExactFootInside(const SegmentConstants& s, double x, double y) {
  const double mp = -1 / s.slope;
  const double cp = y - mp * x;
  const double fx = (cp - s.intercept) / (s.slope - mp);
  return s.x1 <= fx && fx <= s.x2;
}

TEST(FootInside, AgreesWithTheQuotientNearBothEnds) {
  const SegmentConstants s = Diagonal();
  // Walk points whose feet straddle each end by a few units in the last place,
  // the end itself among them: both ends belong to the segment.
  for (const double end : {100.0, 200.0}) {
    double x = end - 1e-12;
    for (int n = 0; n < 2000; ++n, x = std::nextafter(x, 1e9)) {
      const double y = 2 * end - x;  // on the perpendicular through the end
      const bool inside = FootInside(s, (y - s.perp * x) - s.intercept);
      EXPECT_EQ(inside, ExactFootInside(s, x, y)) << x;
      if (x == end) {
        EXPECT_TRUE(inside);
      }
    }
  }
}

}  // namespace
}  // namespace kaldra
