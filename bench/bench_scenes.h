#pragma once

#include <cstdint>
#include <vector>

#include "bench/grid_scene.h"
#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra::bench {

// A canvas of plain memory that keeps the pixels and skips lines and text:
// the benchmarks time the tracing, not the rasteriser.
class MemoryCanvas : public Canvas {
 public:
  MemoryCanvas(int width, int height);
  void BackColor(Color color) override;
  void Line(float, float, float x2, float y2) override { SetCurrentPosition(x2, y2); }
  void Print(std::string_view) override {}

 private:
  std::vector<std::uint32_t> pixels_;
};

// The 17-segment scene the window draws with seed 4.
Scene SeventeenSegments();

}  // namespace kaldra::bench
