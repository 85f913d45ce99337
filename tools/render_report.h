#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exact/approximation_score.h"
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
  std::optional<ApproximationScore> score;  // with --score
};

// The summary line: {"seed": N or null, "segments": N, "samples": S,
// "plotted": P, "generate_ms": x, "sweep1_ms": y, "sweep2_ms": z}, without a
// line end. A score adds "precision": p, "recall": r (four decimals) and
// "largest_gap_px": g (two) before the closing brace.
std::string SummaryJson(const RenderStats& stats);

// The plot list: one line "x<TAB>y<TAB>COLOR" per point, the coordinates with
// nine significant digits (enough to give back the float exactly) and the
// colour as six upper-case hex digits of its value.
std::string PlotListText(const std::vector<PlotPoint>& points);

}  // namespace kaldra
