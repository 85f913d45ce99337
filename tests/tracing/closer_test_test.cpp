// The closer-segment test of the sweeps against CountCloserSegments, above
// all where a third segment lies at exactly the pair's distance.
#include "tracing/closer_test.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/power.h"
#include "tests/tracing/scene_builders.h"
#include "tracing/segment_constants.h"

namespace kaldra {
namespace {

using testing::GivenScene;
using testing::Seg;

// Segments 0 and 1 are the pair and stay out of the scan; segment 2 runs from
// (100, 100) to (200, 200) on the line y = x.
GivenScene DiagonalScene() {
  return GivenScene({Seg(600, 30, 700, 60), Seg(610, 500, 720, 420), Seg(100, 100, 200, 200)}, 788,
                    565);
}

bool FastCloser(const SceneConstants& scene, double x, double y, double d) {
  CloserTest closer(scene, 0, 1);
  return closer.AnyCloser(x, y, d * d, [d] { return d; });
}

struct Row {
  const char* name;
  double x, y, d;
  int expected;
};

class CloserRows : public ::testing::TestWithParam<Row> {};

TEST_P(CloserRows, AgreesWithCountCloserSegments) {
  GivenScene scene = DiagonalScene();
  const SceneConstants constants = ComputeSceneConstants(scene.mdl);
  const Row& row = GetParam();
  EXPECT_EQ(scene.mdl.CountCloserSegments(0, 1, row.x, row.y, row.d), row.expected);
  EXPECT_EQ(scene.mdl.CountCloserSegments(1, 0, row.x, row.y, row.d), row.expected);
  EXPECT_EQ(FastCloser(constants, row.x, row.y, row.d) ? 1 : 0, row.expected);
}

// The line distance of (150, 100) from y = x, and the distance of (50, 0)
// from (100, 100), each exactly as the test computes them.
const double kLineDistance = std::fabs(1.0 * 150 - 100 + 0) / Root(Square(1.0) + 1);
const double kEndDistance = PointDistance(50, 0, 100, 100);

INSTANTIATE_TEST_SUITE_P(
    Rows, CloserRows,
    ::testing::Values(Row{"FootInsideLineCloser", 150, 100, 40, 1},
                      Row{"LineNotCloser", 150, 100, 35, 0},
                      Row{"FootOutsideEndsFar", 50, 0, 100, 0},
                      Row{"FootOutsideEndCloser", 50, 0, 120, 1},
                      // At exactly d a third segment is not closer; one unit above, it is.
                      Row{"LineAtExactlyD", 150, 100, kLineDistance, 0},
                      Row{"LineJustCloser", 150, 100, std::nextafter(kLineDistance, 1e9), 1},
                      Row{"EndAtExactlyD", 50, 0, kEndDistance, 0},
                      Row{"EndJustCloser", 50, 0, std::nextafter(kEndDistance, 1e9), 1},
                      Row{"OnTheSegment", 150, 150, 1e-9, 1}, Row{"AtTheEndZeroD", 100, 100, 0, 0}),
    [](const ::testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(CloserTest, TheRememberedSegmentDoesNotChangeLaterAnswers) {
  GivenScene scene({Seg(20, 30, 90, 40), Seg(700, 500, 760, 540), Seg(100, 100, 200, 200),
                    Seg(300, 310, 400, 350)},
                   788, 565);
  const SceneConstants constants = ComputeSceneConstants(scene.mdl);
  CloserTest closer(constants, 0, 1);
  // A grid of questions asked in one order through one test object, so the
  // segment asked first keeps changing; each answer must stay the plain one.
  for (double x = 50; x < 500; x += 37.5) {
    for (double y = 50; y < 500; y += 41.25) {
      for (const double d : {5.0, 40.0, 120.0}) {
        const bool fast = closer.AnyCloser(x, y, d * d, [d] { return d; });
        EXPECT_EQ(fast ? 1 : 0, scene.mdl.CountCloserSegments(0, 1, x, y, d))
            << x << ", " << y << ", " << d;
      }
    }
  }
}

}  // namespace
}  // namespace kaldra
