#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "scene/canvas.h"
#include "scene/canvas_style.h"

namespace kaldra {

// The canvas as pixels in memory, drawn by the core alone: PSet's points, the
// segments as aliased one-pixel lines (scene/aliased_line.h) and the labels
// from a bitmap font (scene/label_glyphs.h). Every front end shows these
// pixels, so the window, the renderer and a web page draw the same picture.
// In a thicker style (scene/canvas_style.h) the lines are drawn as parallel
// copies, the labels' bitmaps enlarged and the points as blocks.
class RasterCanvas : public Canvas {
 public:
  // A black canvas; each side at least 1.
  RasterCanvas(int width, int height, CanvasStyle style = {});

  // A new black canvas of width x height, drawn in `style` from now on; the
  // pixels before are left to whoever still holds them.
  void Restart(int width, int height, CanvasStyle style);

  void BackColor(Color color) override;
  void Line(float x1, float y1, float x2, float y2) override;
  // The text's top-left corner at the current position: the baseline one
  // ascent below it, the first glyph's origin at the position, each glyph
  // advancing the next. The current position stays where it is.
  void Print(std::string_view text) override;

  // In a style with points larger than a pixel: draws the points plotted
  // since the last call as blocks, in the order they were plotted, over the
  // single pixels PSet wrote. Call it before the pixels are shown or kept; in
  // the one-pixel style it has nothing to do. Such a canvas listens to its
  // own plot sink.
  void ThickenPoints();
  const CanvasStyle& Style() const { return style_; }

  // The pixels, 0xAARRGGBB, row after row, Width() to a row. The canvas keeps
  // drawing into them; a view that may outlive the canvas (a QImage shown
  // after the drawing's end) holds on to them through the pointer.
  const std::shared_ptr<std::uint32_t[]>& Pixels() const { return pixels_; }

 private:
  std::shared_ptr<std::uint32_t[]> pixels_;
  CanvasStyle style_;
  std::vector<PlotPoint> unthickened_;  // plotted, not yet drawn as blocks
};

}  // namespace kaldra
