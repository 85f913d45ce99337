#include "scene/aliased_line.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace kaldra {

namespace {

void Plot(const PixelSurface& surface, std::uint32_t pixel, std::int64_t column, std::int64_t row) {
  if (column < 0 || column >= surface.width || row < 0 || row >= surface.height) return;
  surface.bits[row * surface.stride + column] = pixel;
}

// Moves the end (x, y) along the line through (other_x, other_y) until its
// first coordinate is `bound`; with x and y exchanged, the same for the
// second coordinate. Written with the slope from the moved end, the result is
// the same double whichever end moves.
void SlideTo(double& x, double& y, double other_x, double other_y, double bound) {
  y += (y - other_y) / (x - other_x) * (bound - x);
  x = bound;
}

// Cuts the line where it leaves [low, high] in its first coordinate (x, or y
// with the roles exchanged). Returns false when the whole line lies beyond one
// bound. The first end is cut first, and the second end then with the cut
// first end, so that a long line is cut the same way wherever it is drawn.
bool ClipAxis(double& a1, double& b1, double& a2, double& b2, double low, double high) {
  if (a1 < low) {
    if (a2 <= low) return false;
    SlideTo(a1, b1, a2, b2, low);
  } else if (a1 > high) {
    if (a2 >= high) return false;
    SlideTo(a1, b1, a2, b2, high);
  }
  if (a2 < low) {
    SlideTo(a2, b2, a1, b1, low);
  } else if (a2 > high) {
    SlideTo(a2, b2, a1, b1, high);
  }
  return true;
}

// 26.6 fixed point (1/64 pixel), truncated towards zero.
std::int64_t ToFixed(double v) { return static_cast<std::int64_t>(v * 64.0); }

}  // namespace

void DrawAliasedLine(const PixelSurface& surface, std::uint32_t pixel, double x1, double y1,
                     double x2, double y2) {
  if (x1 == x2 && y1 == y2) {
    // A point, rounded half away from zero like PSet's.
    if (!(x1 > -0.5 && x1 < surface.width - 0.5 && y1 > -0.5 && y1 < surface.height - 0.5)) return;
    Plot(surface, pixel, std::lround(x1), std::lround(y1));
    return;
  }
  // The line is cut one pixel outside the surface, far enough that the cut
  // moves no pixel on it, and always in the same place, so that the pixels of
  // a line do not depend on how much of it is visible.
  if (!ClipAxis(x1, y1, x2, y2, -1.0, surface.width + 1.0)) return;
  if (!ClipAxis(y1, x1, y2, x2, -1.0, surface.height + 1.0)) return;
  // An infinite end leaves NaN after the cut; such a line is not drawn.
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;

  // The line is walked along its major axis, one pixel per column (or row),
  // in the raster engine's fixed point: the ends in 26.6, the other
  // coordinate carried in 16.16. Equal extents count as shallow.
  std::int64_t major1 = ToFixed(x1);
  std::int64_t minor1 = ToFixed(y1);
  std::int64_t major2 = ToFixed(x2);
  std::int64_t minor2 = ToFixed(y2);
  const bool steep = std::llabs(major2 - major1) < std::llabs(minor2 - minor1);
  if (steep) {
    std::swap(major1, minor1);
    std::swap(major2, minor2);
  }
  if (major1 == major2) return;  // both ends in the same 64th of a pixel
  if (major1 > major2) {
    std::swap(major1, major2);
    std::swap(minor1, minor2);
  }
  // The change of the minor coordinate per pixel along the major axis, in
  // 16.16, truncated towards zero.
  const std::int64_t step = (minor2 - minor1) * 65536 / (major2 - major1);
  // The square caps: the line runs half a pixel further at both ends.
  const std::int64_t start = major1 - 32;
  const std::int64_t end = major2 + 32;
  std::int64_t minor = minor1 * 1024 - (step >> 1);
  std::int64_t major = (start + 32) >> 6;
  const std::int64_t past = (end + 32) >> 6;
  // Each pixel along the major axis takes the minor coordinate of the line
  // at its near edge, or at its middle where the minor coordinate grows (an
  // asymmetry of the rule, kept: it decides which pixel of a shallow line
  // takes each step).
  const std::int64_t from_start = (major << 6) + (step > 0 ? 32 : 0) - start;
  minor += (from_start * step) >> 6;
  for (; major < past; ++major, minor += step) {
    if (steep) {
      Plot(surface, pixel, minor >> 16, major);
    } else {
      Plot(surface, pixel, major, minor >> 16);
    }
  }
}

}  // namespace kaldra
