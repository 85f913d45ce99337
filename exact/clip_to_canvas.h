#pragma once

// Edges cut to the area the canvas shows.

#include <optional>
#include <vector>

#include "exact/exact_diagram.h"
#include "exact/parabola_frame.h"

namespace kaldra {

// The stretch of a curve's parameter from `from` to `to`, in that direction.
struct ParameterRange {
  double from, to;
};

// The part inside the area of the line a + t d over `range`, whose ends may
// be infinite; none when it misses the area.
std::optional<ParameterRange> ClipLine(CanvasPoint a, CanvasPoint d, ParameterRange range,
                                       const CanvasArea& area);

// The parts inside the area of the parabola's arc over `range` (an arc can
// leave the area and come back), in the range's direction.
std::vector<ParameterRange> ClipArc(const ParabolaFrame& frame, ParameterRange range,
                                    const CanvasArea& area);

}  // namespace kaldra
