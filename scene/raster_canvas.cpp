#include "scene/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "scene/aliased_line.h"
#include "scene/label_glyphs.h"

namespace kaldra {

namespace {

std::size_t PixelCount(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

RasterCanvas::RasterCanvas(int width, int height, CanvasStyle style) {
  Restart(width, height, style);
}

void RasterCanvas::Restart(int width, int height, CanvasStyle style) {
  pixels_.reset(new std::uint32_t[PixelCount(width, height)]);
  AttachSurface({pixels_.get(), width, height, width});
  BackColor(kBlack);
  style_ = style;
  unthickened_.clear();
  if (style_.point_size > 1) SetPlotSink(&unthickened_);
}

void RasterCanvas::ThickenPoints() {
  const int half = style_.point_size / 2;
  const PixelSurface& surface = Surface();
  for (const PlotPoint& p : unthickened_) {
    // The pixel PSet wrote: the point landed on the surface, so lround is in
    // range and rounds as PSet does.
    const auto column = static_cast<int>(std::lround(p.x));
    const auto row = static_cast<int>(std::lround(p.y));
    const std::uint32_t pixel = ToArgbPixel(p.color);
    for (int y = std::max(row - half, 0); y <= std::min(row + half, surface.height - 1); ++y) {
      std::uint32_t* line = surface.bits + static_cast<std::ptrdiff_t>(y) * surface.stride;
      std::fill(line + std::max(column - half, 0),
                line + std::min(column + half, surface.width - 1) + 1, pixel);
    }
  }
  unthickened_.clear();
}

void RasterCanvas::BackColor(Color color) {
  std::fill_n(pixels_.get(), PixelCount(Width(), Height()), ToArgbPixel(color));
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2) {
  // A thick line is the one-pixel line and its copies beside it, moved across
  // the line's run: up and down for a flat line, left and right for a steep
  // one, so every column (or row) of it is line_width pixels thick.
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  const int half = style_.line_width / 2;
  for (int k = -half; k <= half; ++k) {
    const float dx = steep ? static_cast<float>(k) : 0.0f;
    const float dy = steep ? 0.0f : static_cast<float>(k);
    DrawAliasedLine(Surface(), ToArgbPixel(ForeColor()), x1 + dx, y1 + dy, x2 + dx, y2 + dy);
  }
  SetCurrentPosition(x2, y2);
}

void RasterCanvas::Print(std::string_view text) {
  // A position this far out shows nothing of any text, and keeps the fixed
  // point below far from overflowing.
  constexpr float kFar = 0x1p40f;
  if (!(std::fabs(CurrentX()) < kFar && std::fabs(CurrentY()) < kFar)) return;
  // Glyph origins in 64ths of a pixel, truncated towards zero; a glyph stands
  // on the pixel column its origin falls in, and on the baseline rounded to
  // the nearest row. A larger label is the same bitmap, each of its pixels a
  // block `f` pixels a side, its ascent and advances `f` times as long.
  const std::int64_t f = style_.label_scale;
  auto origin = static_cast<std::int64_t>(static_cast<double>(CurrentX()) * 64);
  const auto baseline_64 = static_cast<std::int64_t>(
      (CurrentY() + static_cast<double>(f) * kLabelAscent) * 64);
  const std::int64_t baseline = (baseline_64 + 32) >> 6;
  const PixelSurface& surface = Surface();
  const std::uint32_t pixel = ToArgbPixel(ForeColor());
  for (const char code : text) {
    const LabelGlyph* glyph = FindLabelGlyph(code);
    if (glyph == nullptr) glyph = FindLabelGlyph(' ');  // drawn as a blank
    const std::int64_t left = origin >> 6;
    for (std::int64_t r = 0; r < kGlyphRows * f; ++r) {
      const std::int64_t row = baseline - kGlyphRows * f + r;
      if (row < 0 || row >= surface.height) continue;
      for (std::int64_t c = 0; c < kGlyphColumns * f; ++c) {
        const std::int64_t column = left + c;
        if (glyph->rows[r / f][c / f] == '#' && column >= 0 && column < surface.width)
          surface.bits[row * surface.stride + column] = pixel;
      }
    }
    origin += glyph->advance * f;
  }
}

}  // namespace kaldra
