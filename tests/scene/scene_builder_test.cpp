#include "scene/scene_builder.h"

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/run_time_error.h"
#include "tests/support/build_scene.h"
#include "tests/support/recording_canvas.h"

namespace kaldra {
namespace {

using testing::BuildScene;

TEST(SegCountFromRandom, RoundsHalfToEvenThenAddsThree) {
  const std::pair<float, int> rows[] = {{0.0f, 3},      {0.03125f, 3},    {0.0390625f, 4},
                                        {0.25f, 7},     {0.75f, 13},      {0.9609375f, 16},
                                        {0.96875f, 17}, {0.99999994f, 17}};
  for (const auto& [r, count] : rows) EXPECT_EQ(SegCountFromRandom(r), count) << r;
}

// A segment is kept left end first, but its line and which end came first are
// those of the end generated first. A subscript past the table is a run-time
// error.
TEST(SceneBuilder, KeepsTheLineOfTheEndGeneratedFirst) {
  const Scene scene = BuildScene({{300.1, 200.3, 100.7, 150.9}, {400.2, 500.6, 700.4, 300.8}});
  const Segment& right_first = scene[0];
  EXPECT_EQ(right_first.x1, 100.7);
  EXPECT_EQ(right_first.y2, 200.3);
  EXPECT_FALSE(right_first.left_end_first);
  const double slope = (150.9 - 200.3) / (100.7 - 300.1);
  EXPECT_EQ(right_first.slope, slope);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(right_first.intercept),
            std::bit_cast<std::uint64_t>(200.3 - slope * 300.1));
  EXPECT_TRUE(scene[1].left_end_first);
  EXPECT_THROW(static_cast<void>(scene[2]), RunTimeError);
}

// The count label, then each segment, left end first, with its index at its
// midpoint, where PSet marks a pixel; all in white on black.
TEST(DrawScene, DrawsTheCountThenEachSegmentWithItsIndex) {
  testing::RecordingCanvas canvas(400, 300);
  DrawScene(BuildScene({{300, 250, 100, 50}, {200, 20, 260, 44}}, 400, 300), canvas);
  EXPECT_EQ(canvas.calls,
            (std::vector<std::string>{"BackColor 0", "Print 180 20 ffffff 'N= 2 '",
                                      "Line 100 50 300 250 ffffff", "Print 200 150 ffffff ' 0 '",
                                      "Line 200 20 260 44 ffffff", "Print 230 32 ffffff ' 1 '"}));
  EXPECT_EQ(canvas.plots.size(), 3u);
}

}  // namespace
}  // namespace kaldra
