#include "exact/edge_walk.h"

namespace kaldra {

EdgeWalk::EdgeWalk(const ExactEdge& edge) : edge_(edge) {
  if (edge.shape == EdgeShape::kLine) {
    length_ = std::hypot(edge.to.x - edge.from.x, edge.to.y - edge.from.y);
    return;
  }
  frame_ = FrameOf(edge);
  const double u0 = ParameterOf(frame_, edge.from);
  const double u1 = ParameterOf(frame_, edge.to);
  direction_ = u1 >= u0 ? 1 : -1;
  start_ = ArcLengthTo(frame_, u0);
  last_u_ = u0;
  length_ = std::abs(ArcLengthTo(frame_, u1) - start_);
}

CanvasPoint EdgeWalk::At(double s) {
  if (edge_.shape == EdgeShape::kLine) {
    const double t = length_ > 0 ? s / length_ : 0;
    return {edge_.from.x + t * (edge_.to.x - edge_.from.x),
            edge_.from.y + t * (edge_.to.y - edge_.from.y)};
  }
  last_u_ = ParameterAtLength(frame_, start_ + direction_ * s, last_u_);
  return PointAt(frame_, last_u_);
}

}  // namespace kaldra
