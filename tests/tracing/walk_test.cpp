// How a clipped line is walked: the axis, the bounds and the guard of the
// angle bisectors.
#include "tracing/walk.h"

#include <gtest/gtest.h>

namespace kaldra {
namespace {

struct WalkRow {
  const char* name;
  ClippedLine line;
  bool steep;
  double p;
  double q;
};

class WalkAxis : public ::testing::TestWithParam<WalkRow> {};

TEST_P(WalkAxis, AxisAndBoundsFollowTheSlope) {
  const WalkRow& row = GetParam();
  const LineWalk walk = WalkEndpointBisector(row.line);
  EXPECT_EQ(walk.steep, row.steep);
  EXPECT_DOUBLE_EQ(walk.p, row.p);
  EXPECT_DOUBLE_EQ(walk.q, row.q);
  EXPECT_LE(walk.p, walk.q);
}

INSTANTIATE_TEST_SUITE_P(Lines, WalkAxis,
                         ::testing::Values(
                             // A slope of exactly 1 is walked along x, from StartX to EndX.
                             WalkRow{"SlopeOneAlongX", {0, 0, 300, 300}, false, 0, 300},
                             WalkRow{"SlopeMinusOneAlongX", {100, 300, 400, 0}, false, 100, 400},
                             WalkRow{"ShallowAlongX", {0, 150, 400, 170}, false, 0, 400},
                             // Steep and rising: from the first end's y up to the second end's.
                             WalkRow{"SteepRisingFromStartY", {100, 0, 200, 300}, true, 0, 300},
                             // Steep and falling: from the second end's y up to the first end's.
                             WalkRow{"SteepFallingFromEndY", {100, 300, 200, 0}, true, 0, 300}),
                         [](const ::testing::TestParamInfo<WalkRow>& row) {
                           return row.param.name;
                         });

TEST(WalkLineBisector, EqualEndsWalkOneSampleWithTheGuardSlope) {
  // A bisector that misses the rectangle has two equal ends.
  const ClippedLine missed{1400, 0, 1400, 0};
  const LineWalk walk = WalkLineBisector(missed);
  EXPECT_EQ(walk.slope, 9999);
  EXPECT_TRUE(walk.steep);
  EXPECT_EQ(walk.p, walk.q);
  int samples = 0;
  for (double v = walk.p; v <= walk.q; v = v + kLineStep) ++samples;
  EXPECT_EQ(samples, 1);
  EXPECT_NEAR(walk.XAt(walk.p), 1400, 1e-9);
  EXPECT_NEAR(walk.YAt(walk.p), 0, 1e-9);
}

}  // namespace
}  // namespace kaldra
