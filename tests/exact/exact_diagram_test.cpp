// The exact diagram as facts about distances, checked without the builder:
// along every edge of the pinned scenes its two segments are equally far and
// no third is nearer; just off an edge one of the two is strictly nearer;
// where three edges meet, three segments are equally far.
#include "exact/exact_diagram.h"

#include <algorithm>
#include <cmath>
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

using testing::Away;

Away AwayFrom(const Segment& s, CanvasPoint p) { return testing::AwayFrom(s, p.x, p.y); }

// The segments by distance from p, nearest first, with a sentinel so that
// there are always three.
std::vector<std::pair<double, int>> ByDistance(const Scene& scene, CanvasPoint p) {
  std::vector<std::pair<double, int>> by{{1e300, -1}};
  for (int k = 0; k < scene.Count(); ++k) by.push_back({AwayFrom(scene[k], p).distance, k});
  std::sort(by.begin(), by.end());
  return by;
}

class ExactDiagramOfPinnedScenes : public ::testing::TestWithParam<testing::PinnedRow> {
 protected:
  const Scene scene_ = testing::SceneOf(GetParam());
  std::string problem_;
  const ExactDiagram diagram_ = BuildExactDiagram(scene_, problem_).value();
};

// At the middle of every piece of at most 2 px, and just off it on both
// sides along the direction in which the two distances part fastest.
TEST_P(ExactDiagramOfPinnedScenes, EdgesSeparateTheirTwoSegmentsAndNoThirdIsNearer) {
  EXPECT_GT(diagram_.edges.size(), 0u);
  for (const ExactEdge& edge : diagram_.edges) {
    const int a = edge.sites[0].segment, b = edge.sites[1].segment;
    ForEachPiece(edge, 2.0, [&](CanvasPoint p, double) {
      SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b) + " at " + std::to_string(p.x) +
                   " " + std::to_string(p.y));
      const Away from_a = AwayFrom(scene_[a], p), from_b = AwayFrom(scene_[b], p);
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
// probe's nearest segments are they; every edge ends at a vertex that counts
// it, or on the edge of the canvas's area.
TEST_P(ExactDiagramOfPinnedScenes, VerticesAreEquallyFarFromThreeSegmentsAndJoinTheEdges) {
  std::vector<int> ends(diagram_.vertices.size(), 0);
  const CanvasArea area = diagram_.Area();
  for (const ExactEdge& e : diagram_.edges) {
    for (const auto& [at, v] : {std::pair(e.from, e.from_vertex), {e.to, e.to_vertex}}) {
      const double border = std::min(
          {at.x - area.left, at.y - area.top, area.right - at.x, area.bottom - at.y});
      if (v < 0) EXPECT_NEAR(border, 0, 1e-9);
      if (v < 0) continue;
      ++ends.at(static_cast<std::size_t>(v));
      EXPECT_EQ(at.x, diagram_.vertices.at(static_cast<std::size_t>(v)).at.x);
      EXPECT_EQ(at.y, diagram_.vertices.at(static_cast<std::size_t>(v)).at.y);
    }
  }
  for (std::size_t v = 0; v < diagram_.vertices.size(); ++v) {
    const CanvasPoint at = diagram_.vertices[v].at;
    EXPECT_EQ(ends[v], diagram_.vertices[v].edges);
    const auto by = ByDistance(scene_, at);
    const std::vector<SegmentDistance> probe = SegmentsByDistance(scene_, at);
    for (std::size_t k = 0; k < (diagram_.vertices[v].edges >= 3 ? 3u : 2u); ++k) {
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
