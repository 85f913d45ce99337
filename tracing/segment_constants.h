#pragma once

#include <array>
#include <cstdint>

#include "geometry/mdl_kaldra.h"

namespace kaldra {

// One segment as the per-sample tests read it, with the values that depend
// only on the scene worked out once. Each exact field is computed with the
// very expression the plain construction evaluates for every sample, so it is
// the same double; the approximate ones only ever decide comparisons far from
// a tie.
struct SegmentConstants {
  double x1, y1, x2, y2;
  double slope, intercept;
  double norm;          // exact: Root(Square(slope) + 1), the line distance's divisor
  double norm2;         // approximate: norm * norm
  double perp;          // exact: -1 / slope, the slope of a perpendicular
  double foot_den;      // exact: slope - perp, the divisor of a foot's x
  double inv_foot_den;  // approximate: 1 / foot_den
};

// All segments of a scene. Precondition: no segment is horizontal.
struct SceneConstants {
  int count = 0;
  std::array<SegmentConstants, 101> segments{};
};

SceneConstants ComputeSceneConstants(const mdlKaldra& mdl);

}  // namespace kaldra
