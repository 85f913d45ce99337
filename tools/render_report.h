#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/canvas.h"

namespace kaldra {

// The figures of one rendering.
struct RenderStats {
  std::optional<std::uint32_t> seed;  // none for a scene read from a file
  int segments = 0;
  std::uint64_t samples = 0;  // sample points walked by both sweeps
  std::uint64_t plotted = 0;  // points of both sweeps that landed on the canvas
  double generate_ms = 0;
  double sweep1_ms = 0;
  double sweep2_ms = 0;
};

// The summary line: {"seed": N or null, "segments": N, "samples": S,
// "plotted": P, "generate_ms": x, "sweep1_ms": y, "sweep2_ms": z}, without a
// line end.
std::string SummaryJson(const RenderStats& stats);

// The plot list: one line "x<TAB>y<TAB>COLOR" per point, the coordinates with
// nine significant digits (enough to give back the float exactly) and the
// colour as six upper-case hex digits of its value.
std::string PlotListText(const std::vector<PlotPoint>& points);

}  // namespace kaldra
