#include <cassert>
#include <cmath>

#include "geometry/constructions.h"
#include "scene/float_fault.h"
#include "scene/power.h"

namespace kaldra {

double PointDistance(double x0, double y0, double x1, double y1) {
  const double dy2 = Checked(Square(Checked(y1 - y0)));
  const double dx2 = Checked(Square(Checked(x1 - x0)));
  // A sum of two squares is never negative, so its root never faults.
  return Root(Checked(dy2 + dx2));
}

ClippedLine PointBisectorLine(double ax, double ay, double bx, double by, double width,
                              double height) {
  // The scene keeps its ends in the canvas, so their sums and differences
  // cannot overflow; the quotients and the products with them can.
  const double m = CheckedDiv(ay - by, ax - bx);  // the line through A and B
  const double b = CheckedDiv(-1, m);             // the bisector is perpendicular to it
  const double mx = (ax + bx) / 2;
  const double my = (ay + by) / 2;
  const double e = Checked(my - Checked(b * mx));  // ... and passes through the midpoint
  return ClipToBand(b, e, width, height);
}

ClippedLine ClipToBand(double slope, double intercept, double width, double height) {
  if (slope == 0 && (intercept < 0 || intercept > height)) {
    // A horizontal line outside the band never meets it; the crossing with
    // y = 0 or y = height does not exist, so both ends sit at (0, intercept),
    // off the band, as for any other line that misses it.
    return {0, intercept, 0, intercept};
  }
  ClippedLine out;
  // The end from the left edge. Each test looks at the line's own value at
  // x = 0, not at an end already moved, so at most one of them applies.
  out.StartX = 0;
  out.StartY = intercept;
  if (intercept < 0) {
    out.StartX = CheckedDiv(-intercept, slope);
    out.StartY = 0;
  }
  if (intercept > height) {
    out.StartX = CheckedDiv(Checked(height - intercept), slope);
    out.StartY = height;
  }
  // The end from the right edge, likewise tested on the value at x = width.
  const double at_width = Checked(Checked(slope * width) + intercept);
  out.EndX = width;
  out.EndY = at_width;
  if (at_width < 0) {
    out.EndX = CheckedDiv(-intercept, slope);
    out.EndY = 0;
  }
  if (at_width > height) {
    out.EndX = CheckedDiv(Checked(height - intercept), slope);
    out.EndY = height;
  }
  // Only y is confined: a line that misses the band gets two equal ends at its
  // crossing with y = 0 or y = height, left of 0 or right of width.
  return out;
}

}  // namespace kaldra
