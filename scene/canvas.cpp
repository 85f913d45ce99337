#include "scene/canvas.h"

#include <string>

namespace kaldra {

void Canvas::ForeColor(Color color) {
  fore_color_ = color;
  fore_pixel_ = ToArgbPixel(color);
}

std::string FormatNumber(long value) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  return (value < 0 ? "-" : " ") + digits + " ";
}

}  // namespace kaldra
