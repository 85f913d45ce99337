#include <cassert>
#include <cmath>

#include "geometry/constructions.h"
#include "scene/float_fault.h"
#include "scene/power.h"

namespace kaldra {

double LineDistance(const Segment& k, double x, double y) {
  const double num = Checked(Checked(Checked(k.slope * x) - y) + k.intercept);
  // The norm is at least 1, so the quotient neither overflows nor divides by
  // zero.
  return std::fabs(num) / Root(Checked(Checked(Square(k.slope)) + 1));
}

double FootX(const Segment& k, double x, double y) {
  const double mp = CheckedDiv(-1, k.slope);  // the perpendicular's slope
  const double cp = Checked(y - Checked(mp * x));
  return CheckedDiv(Checked(cp - k.intercept), Checked(k.slope - mp));
}

bool AnyCloserSegment(const Scene& scene, int i, int j, double x, double y, double d) {
  for (const Segment& k : scene.Segments()) {
    if (&k == &scene[i] || &k == &scene[j]) continue;
    // No point of a segment is nearer than its supporting line.
    if (!(LineDistance(k, x, y) < d)) continue;
    // The foot of the perpendicular decides whether the line's distance is the
    // segment's; both ends of the x-range belong to the segment.
    const double fx = FootX(k, x, y);
    if (k.x1 <= fx && fx <= k.x2) return true;
    // Otherwise the nearest point is an end. Strictly closer only: a segment at
    // exactly d leaves the sample equidistant from three sites, on the diagram.
    if (PointDistance(x, y, k.x1, k.y1) < d) return true;
    if (PointDistance(x, y, k.x2, k.y2) < d) return true;
  }
  return false;
}

}  // namespace kaldra
