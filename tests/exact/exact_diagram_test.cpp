// The exact diagram as facts about distances, checked without the builder:
// along every edge of the pinned scenes its two segments are equally far and
// no third is nearer; just off an edge one of the two is strictly nearer;
// where three edges meet, three segments are equally far.
#include "exact/exact_diagram.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "exact/edge_walk.h"
#include "exact/nearest_segments.h"
#include "tests/support/pinned_scenes.h"
#include "tests/support/plain_distance.h"

namespace kaldra {
namespace {

using testing::AwayFrom;

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

}  // namespace
}  // namespace kaldra
