#include <cassert>
#include <cmath>

#include "geometry/constructions.h"
#include "scene/power.h"

namespace kaldra {

ParabolaVertex ParabolaVertexOf(double slope, double intercept, double px, double py) {
  assert(slope != 0 && px * slope - py + intercept != 0);
  const double d = std::fabs(px * slope - py + intercept) / Root(Square(slope) + 1);
  const double half = d / 2;
  const double n = -1 / slope;   // slope of the perpendicular through the focus
  const double k = py - n * px;  // its intercept
  const double fx = (intercept - k) / (n - slope);
  const double fy = fx * n + k;
  const double vx = (fx + px) / 2;
  const double vy = (fy + py) / 2;
  return {vx, vy, half, std::atan(n)};
}

}  // namespace kaldra
