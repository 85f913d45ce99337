#pragma once

// Edges cut to the canvas [0, width] x [0, height].

#include <optional>
#include <vector>

#include "exact/exact_diagram.h"
#include "exact/parabola_frame.h"

namespace kaldra {

// The stretch of a curve's parameter from `from` to `to`, in that direction.
struct ParameterRange {
  double from, to;
};

// The part inside the canvas of the line a + t d over `range`, whose ends may
// be infinite; none when it misses the canvas.
std::optional<ParameterRange> ClipLine(CanvasPoint a, CanvasPoint d, ParameterRange range,
                                       double width, double height);

// The parts inside the canvas of the parabola's arc over `range` (an arc can
// leave the canvas and come back), in the range's direction.
std::vector<ParameterRange> ClipArc(const ParabolaFrame& frame, ParameterRange range, double width,
                                    double height);

}  // namespace kaldra
