#include <cassert>
#include <cmath>

#include "geometry/constructions.h"

namespace kaldra {

AngleBisectors AngleBisectorLines(const Segment& a, const Segment& b, double width, double height) {
  assert(a.slope != b.slope);
  // Both bisectors pass through the crossing of the two supporting lines.
  const double x0 = (a.intercept - b.intercept) / (b.slope - a.slope);
  const double y0 = x0 * a.slope + a.intercept;
  double ai = std::atan(a.slope);
  double aj = std::atan(b.slope);

  const double h1 = (aj + ai) / 2;
  const double t1 = std::tan(h1);
  const double b1 = y0 - t1 * x0;
  AngleBisectors out;
  out.first = ClipToBand(t1, b1, width, height);

  // Turning the smaller direction by a half turn makes the mean direction the
  // other bisector, perpendicular to the first; a tie turns aj.
  if (ai < aj) {
    ai = ai + kKaldraPi;
  } else {
    aj = aj + kKaldraPi;
  }
  const double h2 = (aj + ai) / 2;
  const double t2 = std::tan(h2);
  const double b2 = y0 - t2 * x0;
  out.second = ClipToBand(t2, b2, width, height);
  return out;
}

}  // namespace kaldra
