#include "bench/bench_scenes.h"

#include <stdexcept>

#include "scene/generate_scene.h"
#include "scene/random_source.h"

namespace kaldra::bench {

MemoryCanvas::MemoryCanvas(int width, int height)
    : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
  AttachSurface({pixels_.data(), width, height, width});
}

void MemoryCanvas::BackColor(Color color) { pixels_.assign(pixels_.size(), ToArgbPixel(color)); }

Scene SeventeenSegments() {
  SeededRandom random(4);
  Scene scene = GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
  if (scene.Count() != 17) throw std::logic_error("seed 4 no longer gives 17 segments");
  return scene;
}

}  // namespace kaldra::bench
