#include <cassert>
#include <cmath>

#include "arithmetic/elementary.h"
#include "geometry/constructions.h"
#include "scene/float_fault.h"
#include "scene/power.h"

namespace kaldra {

ParabolaVertex ParabolaVertexOf(double slope, double intercept, double px, double py) {
  const double num = Checked(Checked(Checked(px * slope) - py) + intercept);
  // The norm is at least 1: the distance neither overflows nor divides by 0.
  const double d = std::fabs(num) / Root(Checked(Checked(Square(slope)) + 1));
  const double half = d / 2;
  const double n = CheckedDiv(-1, slope);          // slope of the perpendicular through the focus
  const double k = Checked(py - Checked(n * px));  // its intercept
  const double fx = CheckedDiv(Checked(intercept - k), Checked(n - slope));
  const double fy = Checked(Checked(fx * n) + k);
  const double vx = Checked(fx + px) / 2;
  const double vy = Checked(fy + py) / 2;
  return {vx, vy, half, Atan(n)};
}

}  // namespace kaldra
