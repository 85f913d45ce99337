#pragma once

#include <cstdint>

#include "scene/canvas.h"
#include "scene/run_time_error.h"
#include "scene/scene.h"

namespace kaldra {

// Visits every pair of segments once, i < j, in the order (0, 1), (0, 2), ...,
// (1, 2), ..., and yields to the window system once per outer index, before
// its pairs: the window repaints and End is heard between two values of i.
// Each pair is announced to the canvas (BeforePair) before it is visited.
// Returns false as soon as a yield or an announcement says not to go on, true
// once every pair is visited.
template <typename VisitPair>
bool ForEachPair(const Scene& scene, Canvas& canvas, VisitPair&& visit) {
  const std::int16_t last = CheckedSub(scene.SegCount(), 2);
  for (std::int16_t i = 0; i <= last; i = CheckedAdd(i, 1)) {
    if (!canvas.DoEvents()) return false;
    const std::int16_t last_j = CheckedSub(scene.SegCount(), 1);
    for (std::int16_t j = CheckedAdd(i, 1); j <= last_j; j = CheckedAdd(j, 1)) {
      if (!canvas.BeforePair(i, j)) return false;
      visit(i, j);
    }
  }
  return true;
}

}  // namespace kaldra
