#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "scene/canvas.h"

namespace kaldra {

// A canvas in memory for the programs that write no picture, such as the
// renderer's WebAssembly build: a point plotted lands on its pixel and is
// counted there as on any canvas, while lines, text and clearing leave no
// trace.
class MemoryCanvas : public Canvas {
 public:
  MemoryCanvas(int width, int height)
      : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    AttachSurface({pixels_.data(), width, height, width});
  }
  void BackColor(Color /*color*/) override {}
  void Line(float /*x1*/, float /*y1*/, float x2, float y2) override { SetCurrentPosition(x2, y2); }
  void Print(std::string_view /*text*/) override {}

 private:
  std::vector<std::uint32_t> pixels_;
};

}  // namespace kaldra
