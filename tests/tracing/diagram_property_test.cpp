// The diagram as a whole: every plotted point is, within a pixel, equally far
// from the two segments nearest to it, which is what lying on the Voronoi
// diagram of the segments means.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "scene/random_source.h"
#include "tests/support/recording_canvas.h"
#include "tracing/start_up.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

// The distance of (x, y) from the segment, computed the plain way.
double SegmentDistance(const mdlKaldra& mdl, int k, double x, double y) {
  const double dx = mdl.X2[k] - mdl.X1[k];
  const double dy = mdl.Y2[k] - mdl.Y1[k];
  double t = ((x - mdl.X1[k]) * dx + (y - mdl.Y1[k]) * dy) / (dx * dx + dy * dy);
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (mdl.X1[k] + t * dx), y - (mdl.Y1[k] + t * dy));
}

class DiagramProperty : public ::testing::TestWithParam<std::uint32_t> {};

// Every plotted point is equidistant from its two nearest segments.
TEST_P(DiagramProperty, PointsEquidistant) {
  mdlKaldra mdl;
  testing::RecordingCanvas canvas;
  SeededRandom random(GetParam());
  SetUpRandomScene(mdl, canvas, random, 788, 565);
  canvas.plots.clear();
  TraceDiagram(mdl, canvas);
  ASSERT_GT(canvas.plots.size(), 100u);
  std::vector<double> distances(static_cast<std::size_t>(mdl.SegCount));
  for (const PlotPoint& p : canvas.plots) {
    for (int k = 0; k < mdl.SegCount; ++k) {
      distances[static_cast<std::size_t>(k)] = SegmentDistance(mdl, k, p.x, p.y);
    }
    std::partial_sort(distances.begin(), distances.begin() + 2, distances.end());
    // The probes a thousandth along a segment let an endpoint site stand a
    // hair inside the segment's own region; a pixel covers that easily.
    ASSERT_LE(distances[1] - distances[0], 1.0)
        << "point (" << p.x << ", " << p.y << ") colour " << std::hex << p.color;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DiagramProperty, ::testing::Values(3u, 21u, 4u));

}  // namespace
}  // namespace kaldra
