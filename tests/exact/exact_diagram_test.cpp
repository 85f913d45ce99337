// The exact diagram as facts about distances, checked without the builder:
// along every edge of the pinned scenes its two segments are equally far and
// no third is nearer; just off an edge one of the two is strictly nearer;
// where three edges meet, three segments are equally far. Then the score of
// an approximation against it, checked against a plain computation that uses
// nothing of exact/: on small scenes, for the sweeps' points and for parts and
// shifts of them.
#include "exact/exact_diagram.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "exact/approximation_score.h"
#include "exact/edge_walk.h"
#include "exact/nearest_segments.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "tests/support/pinned_scenes.h"
#include "tests/support/plain_distance.h"
#include "tests/support/recording_canvas.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

using testing::AwayFrom;
using testing::Nearest;

// The segments by distance from p, nearest first, with a sentinel so that
// there are always three.
std::vector<std::pair<double, int>> ByDistance(const Scene& scene, CanvasPoint p) {
  std::vector<std::pair<double, int>> by{{1e300, -1}};
  for (int k = 0; k < scene.Count(); ++k) by.push_back({AwayFrom(scene[k], p.x, p.y).distance, k});
  std::sort(by.begin(), by.end());
  return by;
}

class ExactDiagramOfPinnedScenes : public ::testing::TestWithParam<testing::PinnedRow> {
 protected:
  void SetUp() override {
    std::optional<ExactDiagram> built = BuildExactDiagram(scene_, problem_);
    // Hand-made degenerate rows may hold segments that touch on the exact
    // diagram's grid; every other scene must be built.
    if (!built && GetParam().kind == "hand" && problem_.find("touch") != std::string::npos) {
      GTEST_SKIP() << problem_;
    }
    ASSERT_TRUE(built) << problem_;
    diagram_ = std::move(*built);
  }

  const Scene scene_ = testing::SceneOf(GetParam());
  std::string problem_;
  ExactDiagram diagram_;
};

// At the middle of every piece of at most 2 px, and just off it on both
// sides along the direction in which the two distances part fastest.
TEST_P(ExactDiagramOfPinnedScenes, EdgesSeparateTheirTwoSegmentsAndNoThirdIsNearer) {
  for (const ExactEdge& edge : diagram_.edges) {
    const int a = edge.sites[0].segment, b = edge.sites[1].segment;
    ForEachPiece(edge, 2.0, [&](CanvasPoint p, double) {
      SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b) + " at " + std::to_string(p.x) +
                   " " + std::to_string(p.y));
      const auto from_a = AwayFrom(scene_[a], p.x, p.y), from_b = AwayFrom(scene_[b], p.x, p.y);
      ASSERT_NEAR(from_a.distance, from_b.distance, 1e-6);
      EXPECT_GE(ByDistance(scene_, p)[2].first, from_a.distance - 1e-6);
      const double nx = from_a.ux - from_b.ux, ny = from_a.uy - from_b.uy;
      const double off = 1e-4 / std::hypot(nx, ny);
      const auto towards_a = ByDistance(scene_, {p.x + off * nx, p.y + off * ny});
      const auto towards_b = ByDistance(scene_, {p.x - off * nx, p.y - off * ny});
      EXPECT_EQ(std::pair(towards_a[0].second, towards_b[0].second), std::pair(b, a));
      EXPECT_LT(towards_a[0].first, towards_a[1].first);
      EXPECT_LT(towards_b[0].first, towards_b[1].first);
    });
  }
}

// Where three or more edges meet, as many segments are equally far, and the
// probe's nearest segments are they.
TEST_P(ExactDiagramOfPinnedScenes, VerticesAreEquallyFarFromThreeSegments) {
  for (const auto& [at, edges] : diagram_.vertices) {
    const auto by = ByDistance(scene_, at);
    const std::vector<SegmentDistance> probe = SegmentsByDistance(scene_, at);
    for (std::size_t k = 0; k < (edges >= 3 ? 3u : 2u); ++k) {
      EXPECT_NEAR(by[k].first, by[0].first, 1e-6) << at.x << " " << at.y;
      EXPECT_NEAR(probe[k].distance, by[k].first, 1e-9);
    }
    EXPECT_EQ(LargestEmptyCircle(scene_, at).radius, probe[0].distance);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ExactDiagramOfPinnedScenes,
                         ::testing::ValuesIn(testing::LoadPinnedRows()),
                         [](const auto& row) { return testing::PinnedRowName(row.param); });

constexpr int kWidth = 200;
constexpr int kHeight = 150;

// A point of the diagram where it crosses a line of a grid of spacing kGrid
// over the canvas's area (its pixels cover [-0.5, kWidth - 0.5] across),
// standing for the length of diagram per crossing: a curve with unit tangent
// t crosses the grid's lines (|tx| + |ty|) / kGrid times per pixel.
constexpr double kGrid = 0.1;
double GridLine(int k) { return k * kGrid - 0.5; }
struct Crossing {
  double x, y, length;
};

std::vector<Crossing> CrossingsOfTheGrid(const Scene& scene) {
  const int columns = static_cast<int>(kWidth / kGrid) + 1;
  const int rows = static_cast<int>(kHeight / kGrid) + 1;
  std::vector<int> labels;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) labels.push_back(Nearest(scene, GridLine(c), GridLine(r)));
  }
  auto label = [&](int c, int r) { return labels[static_cast<std::size_t>(r * columns + c)]; };
  std::vector<Crossing> crossings;
  // Halves the grid's step between two labels down to 1e-13 px; the normal is
  // where the two distances part fastest.
  auto cross = [&](double x0, double y0, double x1, double y1, int a, int b) {
    for (int halving = 0; halving < 40; ++halving) {
      const int m = Nearest(scene, (x0 + x1) / 2, (y0 + y1) / 2);
      std::tie(m == a ? x0 : x1, m == a ? y0 : y1) = std::pair((x0 + x1) / 2, (y0 + y1) / 2);
      b = m == a ? b : m;
    }
    const double x = (x0 + x1) / 2, y = (y0 + y1) / 2, e = 1e-7;
    auto apart = [&](double u, double v) {
      return AwayFrom(scene[a], u, v).distance - AwayFrom(scene[b], u, v).distance;
    };
    const double gx = apart(x + e, y) - apart(x - e, y), gy = apart(x, y + e) - apart(x, y - e);
    crossings.push_back({x, y, kGrid * std::hypot(gx, gy) / (std::abs(gx) + std::abs(gy))});
  };
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      for (const auto& [c2, r2] : {std::pair(c + 1, r), {c, r + 1}}) {
        if (c2 == columns || r2 == rows || label(c2, r2) == label(c, r)) continue;
        cross(GridLine(c), GridLine(r), GridLine(c2), GridLine(r2), label(c, r), label(c2, r2));
      }
    }
  }
  return crossings;
}

// The score, plainly: a pixel is within 1.5 px of the diagram when the
// nearest segment changes over the disk of that radius around it (checked on
// circles of 0.5, 1 and 1.5 px, points 0.01 px apart on the largest); recall
// and gaps from the crossings, those without a plotted pixel within 1.5 px
// joined into a stretch when less than 0.3 px apart.
ApproximationScore ScorePlainly(const Scene& scene, const std::vector<Crossing>& crossings,
                                const std::vector<PlotPoint>& plots) {
  std::set<std::pair<long, long>> pixels;
  for (const PlotPoint& p : plots) pixels.insert({std::lround(p.x), std::lround(p.y)});
  ApproximationScore score;
  int near = 0;
  for (const auto& [column, row] : pixels) {
    const int centre = Nearest(scene, column, row);
    bool changes = false;
    for (int k = 0; k < 3000 && !changes; ++k) {
      const double radius = 0.5 * (1 + k % 3), angle = 2 * std::numbers::pi * k / 3000;
      changes = Nearest(scene, column + radius * std::cos(angle), row + radius * std::sin(angle)) !=
                centre;
    }
    near += changes ? 1 : 0;
  }
  if (!pixels.empty())
    score.precision = static_cast<double>(near) / static_cast<double>(pixels.size());

  double total = 0, covered = 0;
  std::vector<Crossing> missed;
  for (const Crossing& c : crossings) {
    bool seen = false;
    for (long k = 0; k < 25; ++k) {
      const long column = std::lround(c.x) + k % 5 - 2, row = std::lround(c.y) + k / 5 - 2;
      seen = seen ||
             (pixels.count({column, row}) > 0 && std::hypot(column - c.x, row - c.y) <= 1.5);
    }
    total += c.length;
    covered += seen ? c.length : 0;
    if (!seen) missed.push_back(c);
  }
  if (total > 0) score.recall = covered / total;
  std::vector<std::size_t> stretch(missed.size());
  std::iota(stretch.begin(), stretch.end(), 0);
  auto find = [&](std::size_t k) {
    while (stretch[k] != k) k = stretch[k];
    return k;
  };
  for (std::size_t i = 0; i < missed.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (std::hypot(missed[i].x - missed[j].x, missed[i].y - missed[j].y) < 0.3) {
        stretch[find(i)] = find(j);
      }
    }
  }
  std::map<std::size_t, double> lengths;
  for (std::size_t k = 0; k < missed.size(); ++k) {
    score.largest_gap_px = std::max(score.largest_gap_px, lengths[find(k)] += missed[k].length);
  }
  return score;
}

class ScoreOfSmallScenes : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ScoreOfSmallScenes, AgreesWithAPlainComputation) {
  SeededRandom random(GetParam());
  const Scene scene = GenerateScene(random, kWidth, kHeight);
  std::string problem;
  const ExactDiagram exact = BuildExactDiagram(scene, problem).value();
  const std::vector<Crossing> crossings = CrossingsOfTheGrid(scene);

  testing::RecordingCanvas both(kWidth, kHeight), one(kWidth, kHeight);
  TraceDiagram(scene, both);
  SweepOne(scene, one);
  std::vector<PlotPoint> every_fourth, moved;
  for (std::size_t k = 0; k < both.plots.size(); k += 4) every_fourth.push_back(both.plots[k]);
  for (const PlotPoint& p : both.plots) {
    if (p.x + 2 < kWidth - 0.5f && p.y + 1 < kHeight - 0.5f)
      moved.push_back({p.x + 2, p.y + 1, p.color});
  }
  const std::pair<const char*, const std::vector<PlotPoint>*> rows[] = {
      {"both sweeps", &both.plots},
      {"sweep one", &one.plots},
      {"every fourth point", &every_fourth},
      {"moved by (2, 1)", &moved}};
  for (const auto& [name, plots] : rows) {
    const ApproximationScore fast = ScoreApproximation(exact, *plots);
    const ApproximationScore plain = ScorePlainly(scene, crossings, *plots);
    // The crossings measure lengths to a few thousandths, and a stretch to
    // a fraction of a pixel.
    EXPECT_NEAR(fast.precision, plain.precision, 1e-3) << name;
    EXPECT_NEAR(fast.recall, plain.recall, 5e-3) << name;
    EXPECT_NEAR(fast.largest_gap_px, plain.largest_gap_px, 0.5) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ScoreOfSmallScenes, ::testing::Values(7u, 9u, 12u));

}  // namespace
}  // namespace kaldra
