#pragma once

#include <array>

namespace kaldra {

// The font of the count and the segment labels: DejaVu Sans at 12 px,
// unsmoothed and hinted to whole pixels, as Qt's raster engine set it when it
// drew the canvas's text. The bitmaps and advances were taken from that
// rendering once, so that every front end draws the very same labels without
// a font engine.

// How far the baseline lies below the text's top, in 64ths of a pixel
// (11.140625 px).
inline constexpr int kLabelAscent64 = 713;
inline constexpr double kLabelAscent = kLabelAscent64 / 64.0;

inline constexpr int kGlyphRows = 9;
inline constexpr int kGlyphColumns = 9;

struct LabelGlyph {
  char code;
  int advance;  // to the next glyph's origin, in 64ths of a pixel
  // The bitmap, '#' lit: row 0 lies nine rows above the baseline, the last
  // row just above it; column 0 is the glyph's origin.
  std::array<const char*, kGlyphRows> rows;
};

// The glyph of `code`, or nullptr for a character no label uses: the digits,
// the blank, the minus sign, 'N' and '='.
const LabelGlyph* FindLabelGlyph(char code);

}  // namespace kaldra
