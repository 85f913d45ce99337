#pragma once

#include <cmath>

#include "scene/scene.h"
#include "tracing/tie_band.h"

namespace kaldra {

// Whether the foot of the perpendicular from a sample lies within the
// segment's x-range, both ends included, given the numerator
// (y - perp * x) - intercept of the foot's x. The product with the reciprocal
// is within 2u of the exact quotient, so it decides unless the foot lies within
// the tie band of an end, where the exact quotient decides.
inline bool FootInside(const Segment& s, double foot_numerator) {
  const double approx = foot_numerator * s.inv_foot_den;
  const double band = kTieBand * std::fabs(approx) + 1e-300;
  if (approx > s.x1 + band && approx < s.x2 - band) return true;
  if (approx < s.x1 - band || approx > s.x2 + band) return false;
  const double f = foot_numerator / s.foot_den;
  return f >= s.x1 && f <= s.x2;
}

}  // namespace kaldra
