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

RasterCanvas::RasterCanvas(int width, int height)
    : pixels_(new std::uint32_t[PixelCount(width, height)]) {
  AttachSurface({pixels_.get(), width, height, width});
  BackColor(kBlack);
}

void RasterCanvas::BackColor(Color color) {
  std::fill_n(pixels_.get(), PixelCount(Width(), Height()), ToArgbPixel(color));
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2) {
  DrawAliasedLine(Surface(), ToArgbPixel(ForeColor()), x1, y1, x2, y2);
  SetCurrentPosition(x2, y2);
}

void RasterCanvas::Print(std::string_view text) {
  // A position this far out shows nothing of any text, and keeps the fixed
  // point below far from overflowing.
  constexpr float kFar = 0x1p40f;
  if (!(std::fabs(CurrentX()) < kFar && std::fabs(CurrentY()) < kFar)) return;
  // Glyph origins in 64ths of a pixel, truncated towards zero; a glyph stands
  // on the pixel column its origin falls in, and on the baseline rounded to
  // the nearest row.
  auto origin = static_cast<std::int64_t>(static_cast<double>(CurrentX()) * 64);
  const auto baseline_64 = static_cast<std::int64_t>((CurrentY() + kLabelAscent) * 64);
  const std::int64_t baseline = (baseline_64 + 32) >> 6;
  const PixelSurface& surface = Surface();
  const std::uint32_t pixel = ToArgbPixel(ForeColor());
  for (const char code : text) {
    const LabelGlyph* glyph = FindLabelGlyph(code);
    if (glyph == nullptr) glyph = FindLabelGlyph(' ');  // drawn as a blank
    const std::int64_t left = origin >> 6;
    for (int r = 0; r < kGlyphRows; ++r) {
      const std::int64_t row = baseline - kGlyphRows + r;
      if (row < 0 || row >= surface.height) continue;
      for (int c = 0; c < kGlyphColumns; ++c) {
        const std::int64_t column = left + c;
        if (glyph->rows[r][c] == '#' && column >= 0 && column < surface.width)
          surface.bits[row * surface.stride + column] = pixel;
      }
    }
    origin += glyph->advance;
  }
}

}  // namespace kaldra
