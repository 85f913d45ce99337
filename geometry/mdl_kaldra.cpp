#include "geometry/mdl_kaldra.h"

namespace kaldra {

void mdlKaldra::PointBisector(double ax, double ay, double bx, double by) {
  PtBis = PointBisectorLine(ax, ay, bx, by, ViewW, ViewH);
}

std::int16_t mdlKaldra::CountCloserSegments(std::int16_t i, std::int16_t j, double x, double y,
                                            double d) const {
  return AnyCloserSegment(scene_, i, j, x, y, d) ? 1 : 0;
}

void mdlKaldra::LineBisectors(std::int16_t i, std::int16_t j) {
  const AngleBisectors both = AngleBisectorLines(scene_[i], scene_[j], ViewW, ViewH);
  LnBis1 = both.first;
  LnBis2 = both.second;
}

void mdlKaldra::StartParabola(std::int16_t i, std::int16_t j) {
  const ParabolaVertex v = ParabolaVertexOf(scene_[i].slope, scene_[i].intercept, scene_[j].x1,
                                            scene_[j].y1);
  // Stored together after the last computation, so a faulting call leaves the
  // record as it was; the E fields belong to EndParabola and stay.
  ParabolaFrame.ParX = v.vx;
  ParabolaFrame.ParY = v.vy;
  ParabolaFrame.ParHalfS = v.half;
  ParabolaFrame.ParAxisS = v.axis;
}

void mdlKaldra::EndParabola(std::int16_t i, std::int16_t j) {
  const ParabolaVertex v = ParabolaVertexOf(scene_[i].slope, scene_[i].intercept, scene_[j].x2,
                                            scene_[j].y2);
  ParabolaFrame = {v.half, v.axis, v.vx, v.vy, ParabolaFrame.ParHalfS, ParabolaFrame.ParAxisS};
}

}  // namespace kaldra
