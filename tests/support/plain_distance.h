#pragma once

#include <algorithm>
#include <cmath>

#include "scene/scene.h"

namespace kaldra::testing {

// The distance of (x, y) from the segment and the unit vector from the
// segment's nearest point towards it, computed plainly.
struct Away {
  double distance, ux, uy;
};
inline Away AwayFrom(const Segment& s, double x, double y) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double t = std::clamp(((x - s.x1) * dx + (y - s.y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  const double ax = x - (s.x1 + t * dx), ay = y - (s.y1 + t * dy), d = std::hypot(ax, ay);
  return {d, ax / d, ay / d};
}

// The nearest segment to (x, y), the first of equals.
inline int Nearest(const Scene& scene, double x, double y) {
  int nearest = 0;
  for (int k = 1; k < scene.Count(); ++k) {
    if (AwayFrom(scene[k], x, y).distance < AwayFrom(scene[nearest], x, y).distance) nearest = k;
  }
  return nearest;
}

}  // namespace kaldra::testing
