#include <cassert>
#include <cmath>

#include "geometry/constructions.h"
#include "scene/power.h"

namespace kaldra {

bool AnyCloserSegment(const Scene& scene, int i, int j, double x, double y, double d) {
  for (const Segment& k : scene.Segments()) {
    if (&k == &scene[i] || &k == &scene[j]) continue;
    // No point of a segment is nearer than its supporting line.
    const double dline = std::fabs(k.slope * x - y + k.intercept) / Root(Square(k.slope) + 1);
    if (!(dline < d)) continue;
    // The foot of the perpendicular decides whether the line's distance is the
    // segment's; both ends of the x-range belong to the segment.
    assert(k.slope != 0);
    const double mp = -1 / k.slope;
    const double cp = y - mp * x;
    const double fx = (cp - k.intercept) / (k.slope - mp);
    if (k.x1 <= fx && fx <= k.x2) return true;
    // Otherwise the nearest point is an end. Strictly closer only: a segment at
    // exactly d leaves the sample equidistant from three sites, on the diagram.
    if (PointDistance(x, y, k.x1, k.y1) < d) return true;
    if (PointDistance(x, y, k.x2, k.y2) < d) return true;
  }
  return false;
}

}  // namespace kaldra
