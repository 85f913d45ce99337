#pragma once

namespace kaldra {

// Whether a sample can reach the canvas at all: a point more than a few pixels
// outside it never lands on a pixel, so nothing more is computed for it.
struct CanvasBounds {
  double min_x, max_x, min_y, max_y;

  static CanvasBounds Around(int width, int height) {
    constexpr double kMargin = 4;
    return {-kMargin, width + kMargin, -kMargin, height + kMargin};
  }
  bool Excludes(double x, double y) const {
    return x < min_x || x > max_x || y < min_y || y > max_y;
  }
};

}  // namespace kaldra
