#pragma once

#include <random>

#include "scene/canvas.h"
#include "scene/scene.h"
#include "scene/scene_builder.h"

namespace kaldra::bench {

// A fixed scene of columns x rows short segments, one in each cell of a grid
// over the window's canvas: 10 x 10 makes the hundred-segment scene of the
// benchmarks, pinned by the tests.
inline Scene GridSegments(int columns, int rows) {
  constexpr double kWidth = kDefaultCanvasWidth;
  constexpr double kHeight = kDefaultCanvasHeight;
  const double cell_w = (kWidth - 30) / columns;
  const double cell_h = (kHeight - 30) / rows;
  std::mt19937 engine(2024);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Each segment stays inside its own cell, so none can cross another; the
  // builder still refuses the rare candidate that shares a coordinate or lies
  // on another's line, and the cell simply draws again.
  SceneBuilder builder(kWidth, kHeight);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const double left = 15 + column * cell_w;
      const double top = 15 + row * cell_h;
      for (;;) {
        const double x1 = left + cell_w * (0.05 + 0.3 * unit(engine));
        const double x2 = left + cell_w * (0.65 + 0.3 * unit(engine));
        const double y1 = top + cell_h * (0.05 + 0.9 * unit(engine));
        const double y2 = top + cell_h * (0.05 + 0.9 * unit(engine));
        if (builder.Add(x1, y1, x2, y2).Accepted()) break;
      }
    }
  }
  return builder.Build();
}

}  // namespace kaldra::bench
