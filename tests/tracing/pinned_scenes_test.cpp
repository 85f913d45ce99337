// The diagram of a table of scenes, pinned: for each, the segment count, the
// samples walked, the points that land on the canvas and a hash of those
// points in order. The fast sweeps must give every row, and so must the plain
// oracle, which shares no code with them.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bench/grid_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_builder.h"
#include "tests/support/recording_canvas.h"
#include "tests/tracing/plain_diagram.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

// A row of tests/tracing/pinned_scenes.txt: "seed N", "grid CxR" or a
// hand-made scene "hand NAME" whose candidates follow a "|", each four numbers
// separated by ";"; candidates go through the builder like the generator's,
// so a refused one is skipped. The "whole_" scenes have whole-number ends,
// the ties' favourite ground. `pinned` is the rest of the row: segments,
// samples, points on the canvas and their hash.
struct Row {
  std::string kind, name, pinned;
  std::vector<std::array<double, 4>> candidates;
};

std::vector<Row> LoadRows() {
  std::ifstream in(KALDRA_PINNED_SCENES);
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line.substr(0, line.find(" |")));
    Row row;
    fields >> row.kind >> row.name >> std::ws;
    std::getline(fields, row.pinned);
    if (line.find('|') != std::string::npos) {
      std::istringstream hand(line.substr(line.find('|') + 1));
      std::array<double, 4> c{};
      for (char separator = 0; hand >> c[0] >> c[1] >> c[2] >> c[3]; hand >> separator) {
        row.candidates.push_back(c);
      }
    }
    rows.push_back(row);
  }
  return rows;
}

Scene SceneOf(const Row& row) {
  if (row.kind == "seed") {
    SeededRandom random(static_cast<std::uint32_t>(std::stoul(row.name)));
    return GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
  }
  if (row.kind == "grid") {
    return bench::GridSegments(std::stoi(row.name),
                               std::stoi(row.name.substr(row.name.find('x') + 1)));
  }
  SceneBuilder builder(kDefaultCanvasWidth, kDefaultCanvasHeight);
  for (const auto& c : row.candidates) builder.Add(c[0], c[1], c[2], c[3]);
  return builder.Build();
}

// FNV-1a over each point's coordinates, bit for bit, and colour.
void Hash(std::uint64_t& h, std::uint32_t word) {
  for (int b = 0; b < 4; ++b) h = (h ^ ((word >> (8 * b)) & 0xFF)) * 0x100000001B3ull;
}

// What the table pins of one diagram, as the table writes it.
template <typename Points>
std::string Summarise(int segments, std::uint64_t samples, const Points& points) {
  std::uint64_t plotted = 0, hash = 0xCBF29CE484222325ull;
  const float right = kDefaultCanvasWidth - 0.5f, bottom = kDefaultCanvasHeight - 0.5f;
  for (const auto& point : points) {
    if (!(point.x > -0.5f && right > point.x && point.y > -0.5f && bottom > point.y)) continue;
    ++plotted;
    Hash(hash, std::bit_cast<std::uint32_t>(point.x));
    Hash(hash, std::bit_cast<std::uint32_t>(point.y));
    Hash(hash, static_cast<std::uint32_t>(point.color));
  }
  std::ostringstream out;
  out << segments << " " << samples << " " << plotted << " " << std::hex << hash;
  return out.str();
}

std::string TraceFast(const Scene& scene, bool parallel) {
  testing::RecordingCanvas canvas;
  const std::uint64_t samples = TraceDiagram(scene, canvas, {.threads = parallel ? 2 : 1}).samples;
  return Summarise(scene.Count(), samples, canvas.plots);
}

std::string TracePlain(const Scene& scene) {
  std::vector<plain::PlainSegment> segments;
  for (const Segment& s : scene.Segments()) {
    segments.push_back({s.x1, s.y1, s.x2, s.y2, s.slope, s.intercept});
  }
  const plain::PlainDiagram d = plain::TracePlainly(segments, scene.Width(), scene.Height());
  return Summarise(scene.Count(), d.samples, d.plots);
}

class PinnedScenes : public ::testing::TestWithParam<Row> {};

TEST_P(PinnedScenes, FastSweepsGiveThePinnedDiagram) {
  EXPECT_EQ(TraceFast(SceneOf(GetParam()), false), GetParam().pinned);
  EXPECT_EQ(TraceFast(SceneOf(GetParam()), true), GetParam().pinned);
}

TEST_P(PinnedScenes, PlainOracleGivesThePinnedDiagram) {
  const Row& row = GetParam();
#ifndef NDEBUG
  // Unoptimised, the oracle takes minutes over the whole table.
  if (row.kind != "hand") GTEST_SKIP() << "in release builds only";
#endif
  if (row.name == "10x10") GTEST_SKIP() << "44 million samples: the fast sweeps pin it";
  EXPECT_EQ(TracePlain(SceneOf(row)), row.pinned);
}

INSTANTIATE_TEST_SUITE_P(Table, PinnedScenes, ::testing::ValuesIn(LoadRows()),
                         [](const auto& row) { return row.param.kind + "_" + row.param.name; });

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
