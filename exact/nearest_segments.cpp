#include "exact/nearest_segments.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace kaldra {

CanvasPoint NearestPointOn(const Segment& s, CanvasPoint p) {
  const double dx = s.x2 - s.x1;
  const double dy = s.y2 - s.y1;
  const double t = ((p.x - s.x1) * dx + (p.y - s.y1) * dy) / (dx * dx + dy * dy);
  if (t <= 0) return {s.x1, s.y1};
  if (t >= 1) return {s.x2, s.y2};
  return {s.x1 + t * dx, s.y1 + t * dy};
}

std::vector<SegmentDistance> SegmentsByDistance(const Scene& scene, CanvasPoint p) {
  std::vector<SegmentDistance> by_distance;
  for (int k = 0; k < scene.Count(); ++k) {
    const CanvasPoint q = NearestPointOn(scene[k], p);
    by_distance.push_back({k, std::hypot(p.x - q.x, p.y - q.y), q});
  }
  std::stable_sort(
      by_distance.begin(), by_distance.end(),
      [](const SegmentDistance& a, const SegmentDistance& b) { return a.distance < b.distance; });
  return by_distance;
}

EmptyCircle LargestEmptyCircle(const Scene& scene, CanvasPoint p) {
  const std::vector<SegmentDistance> by_distance = SegmentsByDistance(scene, p);
  assert(!by_distance.empty());
  return {p, by_distance.front().distance, by_distance.front().nearest};
}

}  // namespace kaldra
