#pragma once

// A parabola as the points equally far from a focus and a line, the
// directrix, in coordinates of its own: u along the directrix from the
// focus's foot, v towards the focus. With h the focus's distance from the
// directrix, the point at u is at v = (u^2 + h^2) / (2h), a polynomial of
// degree two in u. So every arc is one quadratic Bezier curve exactly, and
// its length has a closed form.

#include "exact/exact_diagram.h"

namespace kaldra {

struct ParabolaFrame {
  CanvasPoint foot;  // the focus's foot on the directrix, where u = 0
  double ux, uy;     // the unit vector along the directrix
  double vx, vy;     // the unit vector from the foot towards the focus
  double h;          // the focus's distance from the directrix
};

// Precondition: the focus is off the line through a and b, a != b.
ParabolaFrame FrameOf(CanvasPoint focus, CanvasPoint a, CanvasPoint b);

// The frame of a parabolic edge.
inline ParabolaFrame FrameOf(const ExactEdge& edge) {
  return FrameOf(edge.focus, edge.directrix_from, edge.directrix_to);
}

// The u of a point's foot on the directrix: for a point of the parabola, its
// own parameter.
double ParameterOf(const ParabolaFrame& frame, CanvasPoint p);

// The point of the parabola at u.
CanvasPoint PointAt(const ParabolaFrame& frame, double u);

// The control point of the quadratic Bezier curve that runs along the
// parabola from u0 to u1: where the tangents at both ends meet.
CanvasPoint ControlPoint(const ParabolaFrame& frame, double u0, double u1);

// The control point of a parabolic edge's Bezier curve, from `from` to `to`.
CanvasPoint ControlPoint(const ExactEdge& edge);

// The length of the arc from u = 0 to u, negative for u < 0.
double ArcLengthTo(const ParabolaFrame& frame, double u);

// The u at which ArcLengthTo reaches `length`, found by Newton's method from
// `guess` (the u of a nearby length makes it converge in a step or two).
double ParameterAtLength(const ParabolaFrame& frame, double length, double guess);

}  // namespace kaldra
