#include "scene/scene_builder.h"

#include <bit>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/run_time_error.h"
#include "tests/support/recording_canvas.h"

namespace kaldra {
namespace {

TEST(SegCountFromRandom, RoundsHalfToEvenThenAddsThree) {
  const struct {
    float r;
    int count;
  } rows[] = {{0.0f, 3},   {0.03125f, 3},    {0.0390625f, 4}, {0.25f, 7},
              {0.75f, 13}, {0.9609375f, 16}, {0.96875f, 17},  {0.99999994f, 17}};
  for (const auto& row : rows) EXPECT_EQ(SegCountFromRandom(row.r), row.count) << row.r;
}

// Each verdict names the accepted segment it conflicts with: the first one,
// in order, that the candidate breaks a rule against.
TEST(SceneBuilder, NamesTheSegmentACandidateConflictsWith) {
  SceneBuilder builder(400, 300);
  ASSERT_TRUE(builder.Add(10, 10, 60, 35).Accepted());      // 0: y = 0.5 x + 5
  ASSERT_TRUE(builder.Add(100, 200, 150, 150).Accepted());  // 1: y = -x + 300
  const struct {
    double x1, y1, x2, y2;
    Refusal refusal;
    int other;
  } rows[] = {
      {-1, 50, 20, 60, Refusal::kOutside, -1},
      {30, 50, 30, 60, Refusal::kVertical, -1},
      {30, 50, 40, 50, Refusal::kHorizontal, -1},
      {200, 110, 220, 90, Refusal::kParallel, 1},
      {200, 10, 220, 20, Refusal::kParallel, 0},
      {150, 20, 170, 30.5, Refusal::kSharedCoordinate, 1},
      {70, 35, 90, 40, Refusal::kSharedCoordinate, 0},
      {200, 100, 210, 130, Refusal::kEndOnLine, 1},  // (200, 100) is on y = -x + 300
      {130, 130, 170, 190, Refusal::kCrossing, 1},
      {300, 120, 320, 170, Refusal::kNone, -1},
  };
  for (const auto& r : rows) {
    const Verdict v = builder.Judge(r.x1, r.y1, r.x2, r.y2);
    EXPECT_EQ(v.refusal, r.refusal) << r.x1 << " " << r.y1 << " " << r.x2 << " " << r.y2;
    EXPECT_EQ(v.other, r.other) << r.x1 << " " << r.y1 << " " << r.x2 << " " << r.y2;
  }
  EXPECT_EQ(builder.Count(), 2);  // judging places nothing
}

TEST(SceneBuilder, RefusesTheHundredAndSecondSegment) {
  SceneBuilder builder(2000, 2000);
  for (int k = 0; k < Scene::kMaxSegments; ++k) {
    ASSERT_TRUE(
        builder.Add(10 + 15 * k, 10 + 7 * k, 20 + 15 * k, 13.25 + 7.0078125 * k).Accepted());
  }
  EXPECT_EQ(builder.Add(1900, 1900, 1950, 1990).refusal, Refusal::kTooMany);
  EXPECT_EQ(builder.Build().Count(), Scene::kMaxSegments);
}

// A segment is kept left end first, but its line and which end came first are
// those of the end generated first.
TEST(SceneBuilder, KeepsTheLineOfTheEndGeneratedFirst) {
  SceneBuilder builder(800, 600);
  ASSERT_TRUE(builder.Add(300.1, 200.3, 100.7, 150.9).Accepted());
  ASSERT_TRUE(builder.Add(400.2, 500.6, 700.4, 300.8).Accepted());
  const Scene scene = builder.Build();
  const Segment& right_first = scene[0];
  EXPECT_EQ(right_first.x1, 100.7);
  EXPECT_EQ(right_first.y2, 200.3);
  EXPECT_FALSE(right_first.left_end_first);
  const double slope = (150.9 - 200.3) / (100.7 - 300.1);
  EXPECT_EQ(right_first.slope, slope);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(right_first.intercept),
            std::bit_cast<std::uint64_t>(200.3 - slope * 300.1));
  EXPECT_TRUE(scene[1].left_end_first);
  EXPECT_EQ(scene[1].perp, -1 / scene[1].slope);
  EXPECT_THROW(static_cast<void>(scene[2]), RunTimeError);
}

// The count comes from the first number; a refused candidate uses up its four
// numbers and leaves nothing behind.
TEST(GenerateScene, DrawsFourNumbersPerCandidateAndSkipsRefusedOnes) {
  testing::ScriptedRandom random({0.0f,                       // 3 segments
                                  0.1f, 0.1f, 0.2f, 0.3f,     // accepted
                                  0.5f, 0.4f, 0.5f, 0.9f,     // vertical: refused
                                  0.6f, 0.5f, 0.8f, 0.7f,     // accepted
                                  0.3f, 0.9f, 0.4f, 0.65f});  // accepted
  const Scene scene = GenerateScene(random, 430, 330);
  ASSERT_EQ(scene.Count(), 3);
  EXPECT_FLOAT_EQ(scene[0].x1, 0.1f * 400 + 15);
  EXPECT_FLOAT_EQ(scene[1].y2, 0.7f * 300 + 15);
  EXPECT_FLOAT_EQ(scene[2].x1, 0.3f * 400 + 15);
  EXPECT_EQ(random.Taken(), 17u);
}

// Colours are 0xBBGGRR; image memory takes 0xAARRGGBB.
TEST(Color, LandsInImageMemoryWithItsChannelsSwapped) {
  EXPECT_EQ(ToArgbPixel(kBlue), 0xFF0000FFu);
  EXPECT_EQ(ToArgbPixel(kRed), 0xFFFF0000u);
  EXPECT_EQ(ToArgbPixel(kYellow), 0xFFFFFF00u);
}

TEST(DrawScene, DrawsTheCountThenEachSegmentWithItsIndex) {
  SceneBuilder builder(400, 300);
  ASSERT_TRUE(builder.Add(300, 250, 100, 50).Accepted());
  ASSERT_TRUE(builder.Add(200, 20, 260, 44).Accepted());
  testing::RecordingCanvas canvas(400, 300);
  DrawScene(builder.Build(), canvas);
  EXPECT_EQ(canvas.back_colors, std::vector<Color>{kBlack});
  ASSERT_EQ(canvas.prints.size(), 3u);
  EXPECT_EQ(canvas.prints[0].text, "N= 2 ");
  EXPECT_EQ(canvas.prints[0].x, kCountLabelX);
  EXPECT_EQ(canvas.prints[0].y, kCountLabelY);
  EXPECT_EQ(canvas.prints[1].text, " 0 ");
  EXPECT_EQ(canvas.prints[1].x, 200);  // the midpoint
  EXPECT_EQ(canvas.prints[2].text, " 1 ");
  EXPECT_EQ(canvas.prints[2].y, 32);
  ASSERT_EQ(canvas.lines.size(), 2u);
  EXPECT_EQ(canvas.lines[0].x1, 100);  // left end first
  EXPECT_EQ(canvas.lines[0].y1, 50);
  EXPECT_EQ(canvas.lines[1].color, kWhite);
  EXPECT_EQ(canvas.Pixel(230, 32), ToArgbPixel(kWhite));
}

}  // namespace
}  // namespace kaldra
