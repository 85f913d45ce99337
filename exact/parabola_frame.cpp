#include "exact/parabola_frame.h"

#include <cassert>
#include <cmath>

namespace kaldra {

ParabolaFrame FrameOf(CanvasPoint focus, CanvasPoint a, CanvasPoint b) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  assert(length > 0);
  ParabolaFrame f{};
  f.ux = (b.x - a.x) / length;
  f.uy = (b.y - a.y) / length;
  const double along = (focus.x - a.x) * f.ux + (focus.y - a.y) * f.uy;
  f.foot = {a.x + along * f.ux, a.y + along * f.uy};
  // The normal's side is the focus's; measured from the foot, the focus lies
  // on it at distance h.
  const double across = (focus.x - a.x) * -f.uy + (focus.y - a.y) * f.ux;
  assert(across != 0);
  f.vx = across > 0 ? -f.uy : f.uy;
  f.vy = across > 0 ? f.ux : -f.ux;
  f.h = std::abs(across);
  return f;
}

double ParameterOf(const ParabolaFrame& frame, CanvasPoint p) {
  return (p.x - frame.foot.x) * frame.ux + (p.y - frame.foot.y) * frame.uy;
}

CanvasPoint PointAt(const ParabolaFrame& frame, double u) {
  const double v = (u * u + frame.h * frame.h) / (2 * frame.h);
  return {frame.foot.x + u * frame.ux + v * frame.vx, frame.foot.y + u * frame.uy + v * frame.vy};
}

CanvasPoint ControlPoint(const ParabolaFrame& frame, double u0, double u1) {
  // Along the tangent at u0, whose slope dv/du is u0 / h, halfway in u: the
  // second end's tangent meets it there, since v is quadratic in u.
  const double u = (u0 + u1) / 2;
  const double v = (u0 * u0 + frame.h * frame.h) / (2 * frame.h) + (u1 - u0) / 2 * u0 / frame.h;
  return {frame.foot.x + u * frame.ux + v * frame.vx, frame.foot.y + u * frame.uy + v * frame.vy};
}

CanvasPoint ControlPoint(const ExactEdge& edge) {
  const ParabolaFrame frame = FrameOf(edge);
  return ControlPoint(frame, ParameterOf(frame, edge.from), ParameterOf(frame, edge.to));
}

double ArcLengthTo(const ParabolaFrame& frame, double u) {
  // The integral of sqrt(1 + w^2) du with w = u / h.
  const double w = u / frame.h;
  return frame.h / 2 * (w * std::sqrt(1 + w * w) + std::asinh(w));
}

double ParameterAtLength(const ParabolaFrame& frame, double length, double guess) {
  // The length grows at least as fast as u (its derivative is
  // sqrt(1 + w^2) >= 1) and is convex on either side of u = 0, so Newton's
  // steps settle on one side and converge there.
  double u = guess;
  for (int step = 0; step < 100; ++step) {
    const double w = u / frame.h;
    const double change = (ArcLengthTo(frame, u) - length) / std::sqrt(1 + w * w);
    u -= change;
    if (std::abs(change) <= 1e-12 * (1 + std::abs(u))) break;
  }
  return u;
}

}  // namespace kaldra
