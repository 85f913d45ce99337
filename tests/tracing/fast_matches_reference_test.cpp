// The fast sweeps against the plain ones: the same points, in the same order,
// in the same colours, bit for bit, wherever a point can reach the canvas.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

template <typename One, typename Two>
Traced TraceSeed(std::uint32_t seed, One sweep_one, Two sweep_two) {
  mdlKaldra mdl;
  RecordingCanvas canvas;
  SeededRandom random(seed);
  SetUpRandomScene(mdl, canvas, random, 788, 565);
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

class FastMatchesReference : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(FastMatchesReference, SamePlotsAndSampleCounts) {
  const std::uint32_t seed = GetParam();
  const Traced fast = TraceSeed(seed, SweepOne, SweepTwo);
  const Traced plain = TraceSeed(seed, reference::SweepOne, reference::SweepTwo);
  EXPECT_EQ(fast.samples1, plain.samples1);
  EXPECT_EQ(fast.samples2, plain.samples2);
  EXPECT_FALSE(plain.sweep1.empty());
  ExpectSamePoints(fast.sweep1, plain.sweep1, "sweep 1", seed);
  ExpectSamePoints(fast.sweep2, plain.sweep2, "sweep 2", seed);
}

// Seed 4 draws 17 segments, the most a run can have.
INSTANTIATE_TEST_SUITE_P(Seeds, FastMatchesReference,
                         ::testing::Values(0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 45u,
                                           56u, 194u, 237u, 1000u, 65535u, 4294967295u));

}  // namespace
}  // namespace kaldra
