#pragma once

// What a probe at a point of the canvas shows: the segments by distance, and
// the largest circle centred there that no segment enters.

#include <vector>

#include "exact/exact_diagram.h"
#include "scene/scene.h"

namespace kaldra {

// The point of the segment nearest to p: the foot of the perpendicular, or an
// end where the foot falls outside the segment.
CanvasPoint NearestPointOn(const Segment& s, CanvasPoint p);

struct SegmentDistance {
  int segment;
  double distance;
  CanvasPoint nearest;  // the segment's point at that distance
};

// Every segment of the scene with its distance from p, nearest first; equal
// distances in the scene's order. The first two are the segments whose edge
// of the diagram runs through p when their distances are equal.
std::vector<SegmentDistance> SegmentsByDistance(const Scene& scene, CanvasPoint p);

// The largest circle centred at p with no point of a segment inside: its
// radius is the nearest segment's distance, and it touches that segment.
struct EmptyCircle {
  CanvasPoint centre;
  double radius;
  CanvasPoint touches;
};
EmptyCircle LargestEmptyCircle(const Scene& scene, CanvasPoint p);

}  // namespace kaldra
