#include <cmath>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"

namespace kaldra {
namespace {

// ------------------------------------------------------------ PointDistance

struct DistanceRow {
  const char* name;
  double x0, y0, x1, y1;
  double distance;
};

class PointDistanceTest : public ::testing::TestWithParam<DistanceRow> {};

TEST_P(PointDistanceTest, IsTheEuclideanDistanceWhicheverPointComesFirst) {
  const DistanceRow& r = GetParam();
  EXPECT_NEAR(PointDistance(r.x0, r.y0, r.x1, r.y1), r.distance, 1e-12);
  EXPECT_EQ(PointDistance(r.x0, r.y0, r.x1, r.y1), PointDistance(r.x1, r.y1, r.x0, r.y0));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PointDistanceTest,
    ::testing::Values(DistanceRow{"ThreeFourFive", 0, 0, 3, 4, 5},
                      DistanceRow{"PointAndItself", 123.25, 456.5, 123.25, 456.5, 0},
                      DistanceRow{"SameY", 10, 20, 35, 20, 25},
                      DistanceRow{"SameX", 10, 20, 10, -5, 25},
                      DistanceRow{"UpAndLeft", 300, 400, 0, 0, 500},
                      DistanceRow{"Fractional", 100.5, 200.25, 160.5, 280.25, 100}),
    [](const auto& row) { return std::string(row.param.name); });

// ------------------------------------------------------------ PointBisector

struct BisectorRow {
  const char* name;
  double ax, ay, bx, by;
  ClippedLine expected;
};

class PointBisectorTest : public ::testing::TestWithParam<BisectorRow> {
 protected:
  void SetUp() override {
    mdl_.ViewW = 600;
    mdl_.ViewH = 400;
  }
  mdlKaldra mdl_;
};

void ExpectLineNear(const ClippedLine& actual, const ClippedLine& expected, double tolerance) {
  EXPECT_NEAR(actual.StartX, expected.StartX, tolerance);
  EXPECT_NEAR(actual.StartY, expected.StartY, tolerance);
  EXPECT_NEAR(actual.EndX, expected.EndX, tolerance);
  EXPECT_NEAR(actual.EndY, expected.EndY, tolerance);
}

TEST_P(PointBisectorTest, ClipsThePerpendicularBisectorToTheBand) {
  const BisectorRow& r = GetParam();
  mdl_.PointBisector(r.ax, r.ay, r.bx, r.by);
  const ClippedLine line = mdl_.PtBis;
  ExpectLineNear(line, r.expected, 1e-6);
  // Both ends are as far from A as from B.
  for (const auto& [x, y] : {std::pair{line.StartX, line.StartY}, {line.EndX, line.EndY}}) {
    EXPECT_NEAR(PointDistance(x, y, r.ax, r.ay), PointDistance(x, y, r.bx, r.by), 1e-9);
  }
  // A line that misses the band gets the same point twice, exactly.
  if (r.expected.StartX == r.expected.EndX && r.expected.StartY == r.expected.EndY) {
    EXPECT_EQ(line.StartX, line.EndX);
    EXPECT_EQ(line.StartY, line.EndY);
  }
  // Swapping A and B gives the same line.
  mdl_.PointBisector(r.bx, r.by, r.ax, r.ay);
  ExpectLineNear(mdl_.PtBis, line, 1e-9);
}

// The bisector y = b * x + e of A and B, in a 600 x 400 rectangle.
INSTANTIATE_TEST_SUITE_P(
    Rows, PointBisectorTest,
    ::testing::Values(
        // b = -0.5, e = 275; b * 600 + e = -25 is below 0.
        BisectorRow{"LeavesThroughYZero", 100, 100, 200, 300, {0, 275, 550, 0}},
        // b = -20, e = 4205: enters through y = 400, leaves through y = 0, so
        // the first end has the larger y.
        BisectorRow{"SteepFromViewHToYZero", 100, 200, 300, 210, {190.25, 400, 210.25, 0}},
        // e exactly 0 and exactly 400, b * 600 + e exactly 0 and exactly 400:
        // the ends stay on the edges x = 0 and x = 600.
        BisectorRow{"InterceptExactlyZero", 100, 200, 200, 100, {0, 0, 400, 400}},
        BisectorRow{"InterceptExactlyViewH", 50, 250, 150, 350, {0, 400, 400, 0}},
        BisectorRow{"RightEndExactlyZero", 250, 250, 350, 350, {200, 400, 600, 0}},
        BisectorRow{"RightEndExactlyViewH", 200, 200, 400, 0, {200, 0, 600, 400}},
        // Lines that miss the band over 0 <= x <= 600.
        BisectorRow{"BelowYZeroLeftOfTheRectangle", -100, -100, 0, 0, {-100, 0, -100, 0}},
        BisectorRow{"BeyondViewHLeftOfTheRectangle", 0, 600, 100, 500, {-100, 400, -100, 400}},
        BisectorRow{"BelowYZeroRightOfTheRectangle", 700, 100, 800, 0, {700, 0, 700, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PointBisector, EndsOnTheBandsEdgesAreKeptExactly) {
  mdlKaldra mdl;
  mdl.ViewW = 600;
  mdl.ViewH = 400;
  mdl.PointBisector(100, 200, 200, 100);  // e == 0
  EXPECT_EQ(mdl.PtBis.StartX, 0.0);
  EXPECT_FALSE(std::signbit(mdl.PtBis.StartX)) << "moved to -e / b";
  EXPECT_EQ(mdl.PtBis.StartY, 0.0);
  mdl.PointBisector(250, 250, 350, 350);  // b * ViewW + e == 0
  EXPECT_EQ(mdl.PtBis.EndX, 600.0);
  EXPECT_EQ(mdl.PtBis.EndY, 0.0);
  mdl.PointBisector(200, 200, 400, 0);  // b * ViewW + e == ViewH
  EXPECT_EQ(mdl.PtBis.EndX, 600.0);
  EXPECT_EQ(mdl.PtBis.EndY, 400.0);
}

}  // namespace
}  // namespace kaldra
