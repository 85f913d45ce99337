#include "tracing/segment_constants.h"

#include "geometry/power.h"

namespace kaldra {

SceneConstants ComputeSceneConstants(const mdlKaldra& mdl) {
  SceneConstants scene;
  scene.count = mdl.SegCount;
  for (int k = 0; k < mdl.SegCount; ++k) {
    SegmentConstants& s = scene.segments.at(static_cast<std::size_t>(k));
    s.x1 = mdl.X1[k];
    s.y1 = mdl.Y1[k];
    s.x2 = mdl.X2[k];
    s.y2 = mdl.Y2[k];
    s.slope = mdl.Slope[k];
    s.intercept = mdl.Intercept[k];
    s.norm = Root(Square(s.slope) + 1);
    s.norm2 = s.norm * s.norm;
    s.perp = -1 / s.slope;
    s.foot_den = s.slope - s.perp;
    s.inv_foot_den = 1 / s.foot_den;
  }
  return scene;
}

}  // namespace kaldra
