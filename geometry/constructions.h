#pragma once

#include "scene/scene.h"

namespace kaldra {

// Pi as the drawing has always used it: 3.14159265358979, fifteen significant
// digits, seven units in the last place below the double nearest to pi. Every
// angle of the diagram is computed with this value.
inline constexpr double kKaldraPi = 3.14159265358979;

// A straight line cut to the band 0 <= y <= height: the end found from the
// left edge x = 0 and the end found from the right edge x = width. A line that
// misses the band over 0 <= x <= width gets two equal ends.
struct ClippedLine {
  double StartX = 0;
  double StartY = 0;
  double EndX = 0;
  double EndY = 0;
};

// The constructions of the diagram, in the plain arithmetic the drawing is
// defined by: every step that can fault is checked, and the first fault throws
// FloatFaultError (scene/float_fault.h), which the trace that asked reports.

// The distance of (x0, y0) and (x1, y1): the root of the sum of the squares.
double PointDistance(double x0, double y0, double x1, double y1);

// The distance from (x, y) to segment k's supporting line:
// |slope x - y + intercept| / (slope^2 + 1)^0.5.
double LineDistance(const Segment& k, double x, double y);

// The x of the foot of the perpendicular from (x, y) on segment k's line.
double FootX(const Segment& k, double x, double y);

// y = slope * x + intercept cut to the band of the drawing rectangle.
ClippedLine ClipToBand(double slope, double intercept, double width, double height);

// The perpendicular bisector of A and B, clipped to the band.
// Precondition: ax != bx and ay != by.
ClippedLine PointBisectorLine(double ax, double ay, double bx, double by, double width,
                              double height);

// The two angle bisectors of the supporting lines of a and b, clipped: the
// first along the mean direction, the second perpendicular to it.
// Precondition: the lines are not parallel.
struct AngleBisectors {
  ClippedLine first;
  ClippedLine second;
};
AngleBisectors AngleBisectorLines(const Segment& a, const Segment& b, double width, double height);

// The parabola with focus (px, py) and directrix y = slope * x + intercept:
// its vertex, halfway between the focus and its foot on the directrix, the
// focal half-distance and the angle of its axis, atan of the perpendicular's
// slope. Precondition: slope != 0 and the focus is off the line.
struct ParabolaVertex {
  double vx, vy;
  double half;
  double axis;
};
ParabolaVertex ParabolaVertexOf(double slope, double intercept, double px, double py);

// Whether a segment other than i and j is strictly closer to (x, y) than d,
// computed plainly: the line's distance, then the foot, then the ends.
bool AnyCloserSegment(const Scene& scene, int i, int j, double x, double y, double d);

}  // namespace kaldra
