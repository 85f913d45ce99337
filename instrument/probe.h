#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exact/nearest_segments.h"
#include "scene/scene.h"

namespace kaldra {

// How much nearer one segment may be than another for a point to count as on
// the diagram between them: half a pixel, as far as rounding a point of the
// diagram to its pixel can move it.
inline constexpr double kOnDiagramPx = 0.5;

// What the probe reads at a point of the canvas.
struct ProbeReading {
  CanvasPoint at;
  // The nearest segment, and every other less than kOnDiagramPx farther:
  // two on an edge of the diagram, three or more near a vertex.
  std::vector<SegmentDistance> nearest;
  // The nearest of the others, for comparison; none in a scene of one segment.
  std::optional<SegmentDistance> next;
  // The largest circle centred at `at` that no segment enters.
  EmptyCircle circle;

  bool OnDiagram() const { return nearest.size() > 1; }
};

// Precondition: the scene has a segment.
ProbeReading ReadProbe(const Scene& scene, CanvasPoint at);

// The reading as the front ends show it, a line each: the segments with
// their distances, the nearest first, and the empty circle's radius.
std::vector<std::string> ProbeText(const ProbeReading& reading);

}  // namespace kaldra
