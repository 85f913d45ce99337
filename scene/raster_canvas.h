#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "scene/canvas.h"

namespace kaldra {

// The canvas as pixels in memory, drawn by the core alone: PSet's points, the
// segments as aliased one-pixel lines (scene/aliased_line.h) and the labels
// from a bitmap font (scene/label_glyphs.h). Every front end shows these
// pixels, so the window, the renderer and a web page draw the same picture.
class RasterCanvas : public Canvas {
 public:
  // A black canvas; each side at least 1.
  RasterCanvas(int width, int height);

  void BackColor(Color color) override;
  void Line(float x1, float y1, float x2, float y2) override;
  // The text's top-left corner at the current position: the baseline one
  // ascent below it, the first glyph's origin at the position, each glyph
  // advancing the next. The current position stays where it is.
  void Print(std::string_view text) override;

  // The pixels, 0xAARRGGBB, row after row, Width() to a row. The canvas keeps
  // drawing into them; a view that may outlive the canvas (a QImage shown
  // after the drawing's end) holds on to them through the pointer.
  const std::shared_ptr<std::uint32_t[]>& Pixels() const { return pixels_; }

 private:
  std::shared_ptr<std::uint32_t[]> pixels_;
};

}  // namespace kaldra
