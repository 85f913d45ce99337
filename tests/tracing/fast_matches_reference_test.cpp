// The fast sweeps against the plain ones: the same points, in the same order,
// in the same colours, bit for bit, wherever a point can reach the canvas.
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "scene/generate_segments.h"
#include "scene/random_source.h"
#include "tests/support/recording_canvas.h"
#include "tests/tracing/reference_sweeps.h"
#include "tracing/start_up.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

using testing::RecordingCanvas;

// The points PSet puts on the canvas; points off it may be skipped.
std::vector<PlotPoint> OnCanvas(const std::vector<PlotPoint>& plots, int width, int height) {
  std::vector<PlotPoint> kept;
  for (const PlotPoint& p : plots) {
    if (p.x > -0.5f && p.x < static_cast<float>(width) - 0.5f && p.y > -0.5f &&
        p.y < static_cast<float>(height) - 0.5f) {
      kept.push_back(p);
    }
  }
  return kept;
}

struct Traced {
  std::vector<PlotPoint> sweep1;
  std::vector<PlotPoint> sweep2;
  std::uint64_t samples1;
  std::uint64_t samples2;
};

// A scene of `count` segments with whole-number ends on a coarse grid, where
// distances tie exactly far more often than between random ends.
std::vector<Candidate> GridScene(std::uint32_t seed, int count) {
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> column(2, 78);
  std::uniform_int_distribution<int> row(2, 55);
  SegmentTable table;
  table.SegCount = static_cast<std::int16_t>(count);
  std::vector<Candidate> segments;
  testing::RecordingCanvas scratch;
  while (static_cast<int>(segments.size()) < count) {
    const double x1 = 10.0 * column(engine);
    const double y1 = 10.0 * row(engine);
    const double x2 = 10.0 * column(engine);
    const double y2 = 10.0 * row(engine);
    if (JudgeCandidate(table, x1, y1, x2, y2).refusal != Refusal::kNone) continue;
    segments.push_back(MakeCandidate(x1, y1, x2, y2));
    PlaceSegment(table, scratch, segments.back());
  }
  return segments;
}

template <typename SetUp, typename One, typename Two>
Traced Trace(SetUp set_up, One sweep_one, Two sweep_two) {
  mdlKaldra mdl;
  RecordingCanvas canvas;
  set_up(mdl, canvas);
  Traced out{};
  canvas.plots.clear();
  out.samples1 = sweep_one(mdl, canvas).samples;
  out.sweep1 = OnCanvas(canvas.plots, 788, 565);
  canvas.plots.clear();
  out.samples2 = sweep_two(mdl, canvas).samples;
  out.sweep2 = OnCanvas(canvas.plots, 788, 565);
  return out;
}

void ExpectSamePoints(const std::vector<PlotPoint>& fast, const std::vector<PlotPoint>& plain,
                      const char* sweep, std::uint32_t seed) {
  ASSERT_EQ(fast.size(), plain.size()) << sweep << ", seed " << seed;
  for (std::size_t n = 0; n < fast.size(); ++n) {
    ASSERT_EQ(fast[n].x, plain[n].x) << sweep << ", seed " << seed << ", point " << n;
    ASSERT_EQ(fast[n].y, plain[n].y) << sweep << ", seed " << seed << ", point " << n;
    ASSERT_EQ(fast[n].color, plain[n].color) << sweep << ", seed " << seed << ", point " << n;
  }
}

void ExpectSameDiagram(const Traced& fast, const Traced& plain, std::uint32_t seed) {
  EXPECT_EQ(fast.samples1, plain.samples1);
  EXPECT_EQ(fast.samples2, plain.samples2);
  EXPECT_FALSE(plain.sweep1.empty());
  ExpectSamePoints(fast.sweep1, plain.sweep1, "sweep 1", seed);
  ExpectSamePoints(fast.sweep2, plain.sweep2, "sweep 2", seed);
}

class FastMatchesReference : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(FastMatchesReference, SamePlotsAndSampleCounts) {
  const std::uint32_t seed = GetParam();
  auto set_up = [seed](mdlKaldra& mdl, Canvas& canvas) {
    SeededRandom random(seed);
    SetUpRandomScene(mdl, canvas, random, 788, 565);
  };
  ExpectSameDiagram(Trace(set_up, SweepOne, SweepTwo),
                    Trace(set_up, reference::SweepOne, reference::SweepTwo), seed);
}

class FastMatchesReferenceOnAGrid : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(FastMatchesReferenceOnAGrid, SamePlotsAndSampleCounts) {
  const std::vector<Candidate> segments = GridScene(GetParam(), 9);
  auto set_up = [&segments](mdlKaldra& mdl, Canvas& canvas) {
    SetUpGivenScene(mdl, canvas, segments, 788, 565);
  };
  ExpectSameDiagram(Trace(set_up, SweepOne, SweepTwo),
                    Trace(set_up, reference::SweepOne, reference::SweepTwo), GetParam());
}

#ifdef NDEBUG
// Seeds 4, 45, 56, 194 and 237 draw 17 segments, the most a run can have.
INSTANTIATE_TEST_SUITE_P(Seeds, FastMatchesReference,
                         ::testing::Values(0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 45u,
                                           56u, 194u, 237u, 1000u, 65535u, 4294967295u));
INSTANTIATE_TEST_SUITE_P(Seeds, FastMatchesReferenceOnAGrid, ::testing::Range(1u, 13u));
#else
// The unoptimised sanitizer build is many times slower: a few seeds only.
INSTANTIATE_TEST_SUITE_P(Seeds, FastMatchesReference, ::testing::Values(2u, 4u));
INSTANTIATE_TEST_SUITE_P(Seeds, FastMatchesReferenceOnAGrid, ::testing::Values(1u, 2u));
#endif

}  // namespace
}  // namespace kaldra
