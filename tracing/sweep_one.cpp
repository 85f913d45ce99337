#include <string>

#include "scene/run_time_error.h"
#include "tracing/curve_families.h"
#include "tracing/pair_sweep.h"
#include "tracing/sweeps.h"
#include "tracing/traces.h"

namespace kaldra {

namespace {

std::string Where(std::int16_t i, std::int16_t j, const char* trace) {
  return "sweep 1, pair (" + std::to_string(i) + ", " + std::to_string(j) + "), " + trace;
}

}  // namespace

std::uint64_t TracePairOfSweepOne(const PairContext& pair) {
  const Scene& scene = pair.scene;
  const std::int16_t i = pair.i;
  const std::int16_t j = pair.j;
  std::uint64_t samples = 0;
  const Segment& si = scene[i];
  const Segment& sj = scene[j];
  const Point i1{si.x1, si.y1};
  const Point i2{si.x2, si.y2};
  const Point j1{sj.x1, sj.y1};
  const Point j2{sj.x2, sj.y2};
  struct Trace {
    Point a, a_other, b, b_other;
    Color color;
    const char* name;
  };
  const Trace traces[] = {
      {i1, i2, j1, j2, kEndpointBisectorColors[0], "endpoint bisector 1 (left ends)"},
      {i2, i1, j2, j1, kEndpointBisectorColors[1], "endpoint bisector 2 (right ends)"},
      {i1, i2, j2, j1, kEndpointBisectorColors[2],
       "endpoint bisector 3 (left end of i, right end of j)"},
      {i2, i1, j1, j2, kEndpointBisectorColors[3],
       "endpoint bisector 4 (right end of i, left end of j)"},
  };
  for (const Trace& t : traces) {
    samples += ReportingFaults(
        [&] { return TraceEndpointBisector(pair, t.a, t.a_other, t.b, t.b_other, t.color); },
        [&] { return Where(i, j, t.name); });
  }
  // Both bisectors are constructed before the first is traced, so a fault in
  // constructing either is the first's.
  AngleBisectors bisectors;
  samples += ReportingFaults(
      [&] {
        bisectors = AngleBisectorLines(si, sj, scene.Width(), scene.Height());
        return TraceLineBisector(pair, bisectors.first, kAngleBisectorColors[0]);
      },
      [&] { return Where(i, j, "angle bisector 1"); });
  samples += ReportingFaults(
      [&] { return TraceLineBisector(pair, bisectors.second, kAngleBisectorColors[1]); },
      [&] { return Where(i, j, "angle bisector 2"); });
  return samples;
}

SweepStats SweepOne(const Scene& scene, Canvas& canvas, Skipping skipping) {
  SweepStats stats;
  Plotter out(canvas);
  const CanvasBounds bounds = CanvasBounds::Around(canvas.Width(), canvas.Height());
  stats.stopped = !ForEachPair(scene, canvas, [&](std::int16_t i, std::int16_t j) {
    stats.samples += TracePairOfSweepOne({scene, out, bounds, i, j, skipping});
  });
  return stats;
}

}  // namespace kaldra
