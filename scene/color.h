#pragma once

#include <cstdint>
#include <string>

namespace kaldra {

// A colour as the drawing code names it: red in the low byte, green in the
// middle byte, blue in the high byte (0x0000FF is red, 0xFF0000 blue).
using Color = std::uint32_t;

inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kCyan = 0xFFFF00;
inline constexpr Color kMagenta = 0xFF00FF;
inline constexpr Color kYellow = 0x00FFFF;
// No family of curves is drawn in orange; the exact diagram is.
inline constexpr Color kOrange = 0x0080FF;

// The name of a colour the drawing uses, for the legend; empty for another.
constexpr const char* ColorName(Color c) {
  switch (c) {
    case kWhite:
      return "white";
    case kBlack:
      return "black";
    case kRed:
      return "red";
    case kGreen:
      return "green";
    case kBlue:
      return "blue";
    case kCyan:
      return "cyan";
    case kMagenta:
      return "magenta";
    case kYellow:
      return "yellow";
    case kOrange:
      return "orange";
    default:
      return "";
  }
}

// The same colour as an opaque 0xAARRGGBB pixel, the layout of 32-bit image
// memory on every platform we draw on.
constexpr std::uint32_t ToArgbPixel(Color c) {
  const std::uint32_t red = c & 0xFFu;
  const std::uint32_t green = (c >> 8) & 0xFFu;
  const std::uint32_t blue = (c >> 16) & 0xFFu;
  return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

// "#RRGGBB", as SVG and CSS write a colour.
inline std::string HexText(Color c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex = "#";
  for (int shift : {4, 0, 12, 8, 20, 16}) hex += kDigits[(c >> shift) & 0xFu];  // red, green, blue
  return hex;
}

}  // namespace kaldra
