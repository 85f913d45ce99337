#include <cassert>

#include "arithmetic/elementary.h"
#include "geometry/constructions.h"
#include "scene/float_fault.h"

namespace kaldra {

AngleBisectors AngleBisectorLines(const Segment& a, const Segment& b, double width, double height) {
  assert(a.slope != b.slope);
  // Both bisectors pass through the crossing of the two supporting lines.
  const double x0 = CheckedDiv(Checked(a.intercept - b.intercept), Checked(b.slope - a.slope));
  const double y0 = Checked(Checked(x0 * a.slope) + a.intercept);
  // Arctangents lie within +-pi/2, so neither the angles, their sums nor the
  // tangents of their means (at most about 1.6e16 in size) can fault.
  double ai = Atan(a.slope);
  double aj = Atan(b.slope);

  const double h1 = (aj + ai) / 2;
  const double t1 = Tan(h1);
  const double b1 = Checked(y0 - Checked(t1 * x0));
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
  const double t2 = Tan(h2);
  const double b2 = Checked(y0 - Checked(t2 * x0));
  out.second = ClipToBand(t2, b2, width, height);
  return out;
}

}  // namespace kaldra
