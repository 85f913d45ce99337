#pragma once

#include <cstdint>

#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// What a sweep did, for the renderer's report and the benchmarks.
struct SweepStats {
  std::uint64_t samples = 0;  // sample points walked, plotted or not
};

// Sweep 1: for every pair i < j, the four endpoint bisectors (cyan, magenta,
// yellow, red), then the two angle bisectors of the supporting lines (blue,
// green). Yields to the window system once per outer index.
SweepStats SweepOne(const Scene& scene, Canvas& canvas);

// Sweep 2: for every pair i < j, the four parabolic arcs between an endpoint
// of one segment and the line of the other (magenta, cyan, yellow, green).
// Yields once per outer index.
SweepStats SweepTwo(const Scene& scene, Canvas& canvas);

// The whole diagram over the scene's background: persistent drawing off, then
// sweep 1 and sweep 2.
SweepStats TraceDiagram(const Scene& scene, Canvas& canvas);

}  // namespace kaldra
