#include <cassert>
#include <cmath>

#include "geometry/mdl_kaldra.h"
#include "geometry/power.h"

namespace kaldra {

std::int16_t mdlKaldra::CountCloserSegments(std::int16_t i, std::int16_t j, double x, double y,
                                            double d) const {
  const std::int16_t last = CheckedSub(SegCount, 1);
  for (std::int16_t k = 0; k <= last; k = CheckedAdd(k, 1)) {
    if (k == i || k == j) continue;
    // No point of a segment is nearer than its supporting line.
    const double dline = std::fabs(Slope[k] * x - y + Intercept[k]) / Root(Square(Slope[k]) + 1);
    if (!(dline < d)) continue;
    // The foot of the perpendicular decides whether the line's distance is the
    // segment's; both ends of the x-range belong to the segment.
    assert(Slope[k] != 0);
    const double mp = -1 / Slope[k];
    const double cp = y - mp * x;
    const double fx = (cp - Intercept[k]) / (Slope[k] - mp);
    if (X1[k] <= fx && fx <= X2[k]) return 1;
    // Otherwise the nearest point is an end. Strictly closer only: a segment at
    // exactly d leaves the sample equidistant from three sites, on the diagram.
    if (PointDistance(x, y, X1[k], Y1[k]) < d) return 1;
    if (PointDistance(x, y, X2[k], Y2[k]) < d) return 1;
  }
  return 0;
}

}  // namespace kaldra
