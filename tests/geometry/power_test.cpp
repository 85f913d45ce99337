// Squares and roots must come from the library's pow. A build that lets the
// compiler turn pow(x, 2.0) into x * x (or pow(x, 0.5) into sqrt(x)) draws a
// slightly different diagram; these cases catch it.

#include "geometry/power.h"

#include <cmath>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"

namespace kaldra {
namespace {

// pow with an exponent the compiler cannot see, so always the library call.
double LibraryPow(double x, double exponent) {
  volatile double e = exponent;
  return std::pow(x, e);
}

// Found with a quick search: values where this libm's pow(x, 2) and x * x, or
// pow(x, 0.5) and sqrt(x), differ in the last bit.
constexpr double kSquareCases[] = {-458.711, -694.505, -124.344, -521.498,
                                   539.170,  -476.596, 390.178,  304.104};
constexpr double kRootCases[] = {990354.434, 188419.509, 153147.896, 526122.401,
                                 110505.881, 477847.877, 897901.649, 822380.479};
// Point differences whose distance changes when either the squares or the
// root are taken another way.
struct Difference {
  double dx, dy;
};
constexpr Difference kDistanceCases[] = {
    {-254.871, 424.417}, {167.547, 310.030}, {517.907, -292.007}, {-18.082, 247.472}};

TEST(Power, SquareIsTheLibrarysPow) {
  int told_apart = 0;
  for (double x : kSquareCases) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Square(x), LibraryPow(x, 2.0));
    if (LibraryPow(x, 2.0) != x * x) ++told_apart;
  }
  if (told_apart == 0) GTEST_SKIP() << "this libm's pow(x, 2) is x * x on every case";
}

TEST(Power, RootIsTheLibrarysPow) {
  int told_apart = 0;
  for (double x : kRootCases) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Root(x), LibraryPow(x, 0.5));
    if (LibraryPow(x, 0.5) != std::sqrt(x)) ++told_apart;
  }
  if (told_apart == 0) GTEST_SKIP() << "this libm's pow(x, 0.5) is sqrt(x) on every case";
}

TEST(Power, PointDistanceIsTheRootOfTheSumOfSquaresBitForBit) {
  int told_apart = 0;
  for (const Difference& c : kDistanceCases) {
    SCOPED_TRACE(::testing::Message() << c.dx << ", " << c.dy);
    const double expected = LibraryPow(LibraryPow(c.dy, 2.0) + LibraryPow(c.dx, 2.0), 0.5);
    EXPECT_EQ(PointDistance(0, 0, c.dx, c.dy), expected);
    EXPECT_EQ(PointDistance(c.dx, c.dy, 0, 0), expected);
    if (expected != std::sqrt(c.dy * c.dy + c.dx * c.dx)) ++told_apart;
  }
  if (told_apart == 0) GTEST_SKIP() << "this libm's pow agrees with x * x and sqrt here";
}

}  // namespace
}  // namespace kaldra
