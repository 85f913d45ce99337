#include <string>

#include "scene/run_time_error.h"
#include "tracing/curve_families.h"
#include "tracing/pair_sweep.h"
#include "tracing/sweeps.h"
#include "tracing/traces.h"

namespace kaldra {

std::uint64_t TracePairOfSweepTwo(const PairContext& pair) {
  const std::int16_t i = pair.i;
  const std::int16_t j = pair.j;
  std::uint64_t samples = 0;
  // Each end of each segment of the pair against the other's line.
  struct Block {
    std::int16_t line;
    std::int16_t focus_segment;
    FocusEnd end;
    Color color;
    const char* name;
  };
  const Block blocks[] = {
      {i, j, FocusEnd::kFirst, kArcColors[0], "arc 1 (left end of j, line of i)"},
      {i, j, FocusEnd::kSecond, kArcColors[1], "arc 2 (right end of j, line of i)"},
      {j, i, FocusEnd::kFirst, kArcColors[2], "arc 3 (left end of i, line of j)"},
      {j, i, FocusEnd::kSecond, kArcColors[3], "arc 4 (right end of i, line of j)"},
  };
  for (const Block& b : blocks) {
    samples += ReportingFaults(
        [&] { return TraceArc(pair, b.line, b.focus_segment, b.end, b.color); },
        [&] {
          return "sweep 2, pair (" + std::to_string(i) + ", " + std::to_string(j) + "), " + b.name;
        });
  }
  return samples;
}

SweepStats SweepTwo(const Scene& scene, Canvas& canvas, Skipping skipping) {
  SweepStats stats;
  Plotter out(canvas);
  const CanvasBounds bounds = CanvasBounds::Around(canvas.Width(), canvas.Height());
  stats.stopped = !ForEachPair(scene, canvas, [&](std::int16_t i, std::int16_t j) {
    stats.samples += TracePairOfSweepTwo({scene, out, bounds, i, j, skipping});
  });
  return stats;
}

}  // namespace kaldra
