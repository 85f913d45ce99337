#include "tracing/sweeps.h"

namespace kaldra {

SweepStats TraceDiagram(const Scene& scene, Canvas& canvas) {
  // From here on the canvas takes the diagram over the fixed background.
  canvas.AutoRedraw(false);
  SweepStats stats = SweepOne(scene, canvas);
  stats.samples += SweepTwo(scene, canvas).samples;
  return stats;
}

}  // namespace kaldra
