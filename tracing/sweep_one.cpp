#include <string>

#include "scene/run_time_error.h"
#include "tracing/pair_sweep.h"
#include "tracing/segment_constants.h"
#include "tracing/sweeps.h"
#include "tracing/traces.h"

namespace kaldra {

namespace {

std::string Where(std::int16_t i, std::int16_t j, const char* trace) {
  return "sweep 1, pair (" + std::to_string(i) + ", " + std::to_string(j) + "), " + trace;
}

}  // namespace

SweepStats SweepOne(mdlKaldra& mdl, Canvas& canvas) {
  SweepStats stats;
  const SceneConstants scene = ComputeSceneConstants(mdl);
  const CanvasBounds bounds = CanvasBounds::Around(canvas.Width(), canvas.Height());
  ForEachPair(mdl, canvas, [&](std::int16_t i, std::int16_t j) {
    PairContext pair{mdl, scene, canvas, bounds, i, j};
    const Point i1{mdl.X1[i], mdl.Y1[i]};
    const Point i2{mdl.X2[i], mdl.Y2[i]};
    const Point j1{mdl.X1[j], mdl.Y1[j]};
    const Point j2{mdl.X2[j], mdl.Y2[j]};
    struct Trace {
      Point a, a_other, b, b_other;
      Color color;
      const char* name;
    };
    const Trace traces[] = {
        {i1, i2, j1, j2, kCyan, "endpoint bisector 1 (left ends)"},
        {i2, i1, j2, j1, kMagenta, "endpoint bisector 2 (right ends)"},
        {i1, i2, j2, j1, kYellow, "endpoint bisector 3 (left end of i, right end of j)"},
        {i2, i1, j1, j2, kRed, "endpoint bisector 4 (right end of i, left end of j)"},
    };
    for (const Trace& t : traces) {
      // Faults are ours only from here on: the window system's own
      // arithmetic during the yield may leave flags behind.
      ClearFloatingPointFaults();
      stats.samples += TraceEndpointBisector(pair, t.a, t.a_other, t.b, t.b_other, t.color);
      CheckFloatingPointFaultsAt([&] { return Where(i, j, t.name); });
    }
    ClearFloatingPointFaults();
    mdl.LineBisectors(i, j);
    const ClippedLine first = mdl.LnBis1;
    const ClippedLine second = mdl.LnBis2;
    stats.samples += TraceLineBisector(pair, first, kBlue);
    CheckFloatingPointFaultsAt([&] { return Where(i, j, "angle bisector 1"); });
    stats.samples += TraceLineBisector(pair, second, kGreen);
    CheckFloatingPointFaultsAt([&] { return Where(i, j, "angle bisector 2"); });
  });
  return stats;
}

}  // namespace kaldra
