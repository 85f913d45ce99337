// The diagram of a table of scenes, pinned: for each, the segment count, the
// samples walked, the points that land on the canvas and a hash of those
// points in order, or the run-time error that ends the drawing. The fast
// sweeps must give every row, and so must the plain oracle, which shares no
// code with them.
#include "tests/support/pinned_scenes.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/run_time_error.h"
#include "scene/scene_builder.h"
#include "tests/support/recording_canvas.h"
#include "tests/tracing/plain_diagram.h"
#include "tools/plot_summary.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

using testing::PinnedRow;
using testing::SceneOf;

// What the table pins of one diagram on the window's canvas.
template <typename Points>
std::string Summarise(int segments, std::uint64_t samples, const Points& points) {
  return PlotSummary(segments, samples, points, kDefaultCanvasWidth, kDefaultCanvasHeight);
}

plain::PlainDiagram TracePlain(const Scene& scene, std::uint64_t sample_limit = UINT64_MAX) {
  std::vector<plain::PlainSegment> segments;
  for (const Segment& s : scene.Segments()) {
    segments.push_back({s.x1, s.y1, s.x2, s.y2, s.slope, s.intercept});
  }
  return plain::TracePlainly(segments, scene.Width(), scene.Height(), sample_limit);
}

std::string Describe(const plain::PlainDiagram& d, int segments) {
  return d.error.empty() ? Summarise(segments, d.samples, d.plots) : "error: " + d.error;
}

// Where a diagram departs from the plain one: the first point that differs,
// or the counts.
std::string FirstDifference(const std::vector<PlotPoint>& fast,
                            const std::vector<plain::PlainPoint>& plain_points) {
  std::vector<plain::PlainPoint> on_canvas;
  for (const plain::PlainPoint& p : plain_points) {
    if (p.x > -0.5f && p.x < kDefaultCanvasWidth - 0.5f && p.y > -0.5f &&
        p.y < kDefaultCanvasHeight - 0.5f) {
      on_canvas.push_back(p);
    }
  }
  for (std::size_t k = 0; k < fast.size() && k < on_canvas.size(); ++k) {
    const PlotPoint& f = fast[k];
    const plain::PlainPoint& p = on_canvas[k];
    if (f.x != p.x || f.y != p.y || f.color != p.color) {
      std::ostringstream out;
      out << std::hexfloat << "point " << k << ": (" << f.x << ", " << f.y << ", " << std::hex
          << f.color << "), plainly (" << p.x << ", " << p.y << ", " << p.color << ")";
      return out.str();
    }
  }
  return "the first " + std::to_string(std::min(fast.size(), on_canvas.size())) +
         " points agree; " + std::to_string(fast.size()) + " points against " +
         std::to_string(on_canvas.size()) + " plainly";
}

// The fast sweeps' row, and when it is not the pinned one, where they depart
// from the plain oracle.
void ExpectFastPinnedRow(const PinnedRow& row, bool parallel) {
  const Scene scene = SceneOf(row);
  testing::RecordingCanvas canvas;
  std::string got;
  try {
    const std::uint64_t samples = TraceDiagram(scene, canvas, {.threads = parallel ? 2 : 1})
                                      .samples;
    got = Summarise(scene.Count(), samples, canvas.plots);
  } catch (const RunTimeError& error) {
    got = std::string("error: ") + error.what();
  }
  if (got == row.pinned) return;
  ADD_FAILURE() << (parallel ? "parallel" : "sequential") << " sweeps give " << got
                << "\n             pinned " << row.pinned << "\n"
                << FirstDifference(canvas.plots, TracePlain(scene, 5'000'000).plots);
}

class PinnedScenes : public ::testing::TestWithParam<PinnedRow> {};

TEST_P(PinnedScenes, FastSweepsGiveThePinnedDiagram) {
  ExpectFastPinnedRow(GetParam(), false);
  ExpectFastPinnedRow(GetParam(), true);
}

TEST_P(PinnedScenes, PlainOracleGivesThePinnedDiagram) {
  const PinnedRow& row = GetParam();
#ifndef NDEBUG
  // Unoptimised, the oracle takes minutes over the whole table.
  if (row.kind != "hand") GTEST_SKIP() << "in release builds only";
#endif
  if (row.name == "10x10") GTEST_SKIP() << "44 million samples: the fast sweeps pin it";
  const Scene scene = SceneOf(row);
  EXPECT_EQ(Describe(TracePlain(scene), scene.Count()), row.pinned);
}

INSTANTIATE_TEST_SUITE_P(Table, PinnedScenes, ::testing::ValuesIn(testing::LoadPinnedRows()),
                         [](const auto& row) { return testing::PinnedRowName(row.param); });

// Skipping rejections and tracing on two threads change nothing: on many
// random scenes the canvas receives the calls of the plain sequential sweeps,
// point for point and in order, each pair announced before its points.
TEST(PinnedScenes, ParallelSkippingSweepsMakeThePlainSweepsCalls) {
#ifdef NDEBUG
  constexpr std::uint32_t kSeeds = 150;
#else
  constexpr std::uint32_t kSeeds = 5;
#endif
  for (std::uint32_t seed = 1000; seed < 1000 + kSeeds; ++seed) {
    SeededRandom random(seed);
    const Scene scene = GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
    testing::RecordingCanvas plain, fast;
    const std::uint64_t samples = SweepOne(scene, plain, Skipping::kOff).samples +
                                  SweepTwo(scene, plain, Skipping::kOff).samples;
    EXPECT_EQ(SweepOneParallel(scene, fast, 2).samples + SweepTwoParallel(scene, fast, 2).samples,
              samples);
    ASSERT_EQ(fast.plots.size(), plain.plots.size()) << seed;
    EXPECT_EQ(
        std::memcmp(fast.plots.data(), plain.plots.data(), sizeof(PlotPoint) * plain.plots.size()),
        0)
        << seed;
    EXPECT_EQ(fast.fore_colors, plain.fore_colors) << seed;
    EXPECT_EQ(fast.calls, plain.calls) << seed;  // each pair announced, each yield
  }
}

}  // namespace
}  // namespace kaldra
