#pragma once

#include <cstdint>

#include "geometry/mdl_kaldra.h"
#include "scene/canvas.h"

namespace kaldra {

// What a sweep did, for the renderer's report and the benchmarks.
struct SweepStats {
  std::uint64_t samples = 0;  // sample points walked, plotted or not
};

// Sweep 1: for every pair i < j, the four endpoint bisectors (cyan, magenta,
// yellow, red), then the two angle bisectors of the supporting lines (blue,
// green). Yields to the window system once per outer index.
SweepStats SweepOne(mdlKaldra& mdl, Canvas& canvas);

// Sweep 2: for every pair i < j, the four parabolic arcs between an endpoint
// of one segment and the line of the other (magenta, cyan, yellow, green).
// Yields once per outer index.
SweepStats SweepTwo(mdlKaldra& mdl, Canvas& canvas);

}  // namespace kaldra
