// The exact diagram as facts about distances, checked without the builder:
// along every edge of the pinned scenes its two segments are equally far and
// no third is nearer; just off an edge one of the two is strictly nearer;
// where three edges meet, three segments are equally far.
#include "exact/exact_diagram.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exact/edge_walk.h"
#include "exact/nearest_segments.h"
#include "tests/support/build_scene.h"
#include "tests/support/pinned_scenes.h"

namespace kaldra {
namespace {

using testing::PinnedRow;

// The distance of p from the segment and the unit vector from the segment's
// nearest point towards p, computed plainly.
struct Away {
  double distance;
  double ux, uy;
};
Away AwayFrom(const Segment& s, CanvasPoint p) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double t = std::clamp(((p.x - s.x1) * dx + (p.y - s.y1) * dy) / (dx * dx + dy * dy), 0.0,
                              1.0);
  const double ax = p.x - (s.x1 + t * dx), ay = p.y - (s.y1 + t * dy);
  const double d = std::hypot(ax, ay);
  return {d, ax / d, ay / d};
}

// The segments by distance from p, nearest first.
std::vector<std::pair<double, int>> ByDistance(const Scene& scene, CanvasPoint p) {
  std::vector<std::pair<double, int>> by;
  for (int k = 0; k < scene.Count(); ++k) by.push_back({AwayFrom(scene[k], p).distance, k});
  std::sort(by.begin(), by.end());
  return by;
}

ExactDiagram DiagramOf(const Scene& scene) {
  std::string problem;
  std::optional<ExactDiagram> diagram = BuildExactDiagram(scene, problem);
  EXPECT_TRUE(diagram) << problem;
  return diagram.value_or(ExactDiagram{});
}

class ExactDiagramOfPinnedScenes : public ::testing::TestWithParam<PinnedRow> {};

// At the middle of every piece of at most 2 px, and just off it on both
// sides along the direction in which the two distances part fastest.
TEST_P(ExactDiagramOfPinnedScenes, EdgesSeparateTheirTwoSegmentsAndNoThirdIsNearer) {
  const Scene scene = testing::SceneOf(GetParam());
  const ExactDiagram diagram = DiagramOf(scene);
  EXPECT_GT(diagram.edges.size(), 0u);
  constexpr double kOff = 1e-4;
  for (const ExactEdge& edge : diagram.edges) {
    const int a = edge.sites[0].segment, b = edge.sites[1].segment;
    ForEachPiece(edge, 2.0, [&](CanvasPoint p, double) {
      const Away from_a = AwayFrom(scene[a], p), from_b = AwayFrom(scene[b], p);
      ASSERT_NEAR(from_a.distance, from_b.distance, 1e-6)
          << a << " " << b << " " << p.x << " " << p.y;
      const auto by = ByDistance(scene, p);
      if (scene.Count() > 2) {
        EXPECT_GE(by[2].first, std::max(from_a.distance, from_b.distance) - 1e-6) << by[2].second;
      }
      const double nx = from_a.ux - from_b.ux, ny = from_a.uy - from_b.uy, n = std::hypot(nx, ny);
      const auto towards_b = ByDistance(scene, {p.x - kOff * nx / n, p.y - kOff * ny / n});
      const auto towards_a = ByDistance(scene, {p.x + kOff * nx / n, p.y + kOff * ny / n});
      EXPECT_EQ(towards_a[0].second, b) << a << " " << b << " " << p.x << " " << p.y;
      EXPECT_LT(towards_a[0].first, towards_a[1].first);
      EXPECT_EQ(towards_b[0].second, a) << a << " " << b << " " << p.x << " " << p.y;
      EXPECT_LT(towards_b[0].first, towards_b[1].first);
    });
  }
}

// Where three or more edges meet, as many segments are equally far, and the
// probe's nearest segments are they; every edge ends at a vertex that counts
// it, or on the edge of the canvas's area.
TEST_P(ExactDiagramOfPinnedScenes, VerticesAreEquallyFarFromThreeSegmentsAndJoinTheEdges) {
  const Scene scene = testing::SceneOf(GetParam());
  const ExactDiagram diagram = DiagramOf(scene);
  std::vector<int> ends(diagram.vertices.size(), 0);
  auto check_end = [&](CanvasPoint at, int vertex) {
    if (vertex >= 0) {
      ++ends[static_cast<std::size_t>(vertex)];
      EXPECT_EQ(at.x, diagram.vertices[static_cast<std::size_t>(vertex)].at.x);
      EXPECT_EQ(at.y, diagram.vertices[static_cast<std::size_t>(vertex)].at.y);
    } else {
      const CanvasArea area = diagram.Area();
      const double border = std::min(
          {at.x - area.left, at.y - area.top, area.right - at.x, area.bottom - at.y});
      EXPECT_NEAR(border, 0, 1e-9) << at.x << " " << at.y;
    }
  };
  for (const ExactEdge& edge : diagram.edges) {
    check_end(edge.from, edge.from_vertex);
    check_end(edge.to, edge.to_vertex);
  }
  for (std::size_t v = 0; v < diagram.vertices.size(); ++v) {
    const ExactVertex& vertex = diagram.vertices[v];
    EXPECT_EQ(ends[v], vertex.edges);
    const auto by = ByDistance(scene, vertex.at);
    const std::vector<SegmentDistance> probe = SegmentsByDistance(scene, vertex.at);
    const std::size_t equal = vertex.edges >= 3 ? 3 : 2;
    for (std::size_t k = 0; k < equal; ++k) {
      EXPECT_NEAR(by[k].first, by[0].first, 1e-6) << vertex.at.x << " " << vertex.at.y;
      EXPECT_NEAR(probe[k].distance, by[k].first, 1e-9);
    }
    EXPECT_EQ(LargestEmptyCircle(scene, vertex.at).radius, probe[0].distance);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ExactDiagramOfPinnedScenes,
                         ::testing::ValuesIn(testing::LoadPinnedRows()),
                         [](const auto& row) { return testing::PinnedRowName(row.param); });

// Segments the scene keeps apart that the builder's integer grid of 2^-30 px
// would make touch are refused with a reason, not handed to the builder.
TEST(ExactDiagram, RefusesSegmentsThatTouchOnceRounded) {
  const std::pair<Scene, const char*> rows[] = {
      {testing::BuildScene({{100, 100, 300, 200}, {200, 150 + 1e-10, 250, 400}}),
       "segments 0 and 1 touch once rounded to the exact diagram's grid of 2^-30 px"},
      {testing::BuildScene({{100, 100, 300, 200}, {400, 300, 400 + 1e-10, 300 + 3e-10}}),
       "segment 1 shrinks to a point once rounded to the exact diagram's grid of 2^-30 px"}};
  for (const auto& [scene, reason] : rows) {
    std::string problem;
    EXPECT_FALSE(BuildExactDiagram(scene, problem).has_value());
    EXPECT_EQ(problem, reason);
  }
}

}  // namespace
}  // namespace kaldra
