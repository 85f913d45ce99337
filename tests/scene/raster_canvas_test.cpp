// The projector's style on the core's canvas: a point as a block of
// point_size pixels a side around its pixel, cut at the canvas's edges, and
// a flat line line_width pixels thick; counted as the lit pixels' bounds.
#include "scene/raster_canvas.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

// The bounds of the pixels that are not black: "left top right bottom".
std::string LitBounds(const RasterCanvas& canvas) {
  int left = canvas.Width(), top = canvas.Height(), right = -1, bottom = -1;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Pixels()[y * canvas.Width() + x] == ToArgbPixel(kBlack)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) + " " +
         std::to_string(bottom);
}

TEST(ProjectorStyle, ThickensPointsAndLines) {
  const CanvasStyle projector{5, 5, 3};
  RasterCanvas canvas(40, 30, projector);
  canvas.ForeColor(kWhite);
  canvas.PSet(10.4f, 10.6f);  // the pixel (10, 11)
  canvas.ThickenPoints();
  EXPECT_EQ(LitBounds(canvas), "8 9 12 13");
  canvas.Restart(40, 30, projector);
  canvas.PSet(0, 29);
  canvas.ThickenPoints();
  EXPECT_EQ(LitBounds(canvas), "0 27 2 29");
  canvas.Restart(40, 30, projector);
  canvas.Line(5, 15, 30, 15);
  EXPECT_EQ(LitBounds(canvas), "5 13 30 17");
}

}  // namespace
}  // namespace kaldra
