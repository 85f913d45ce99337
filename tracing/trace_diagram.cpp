#include <chrono>

#include "tracing/sweeps.h"

namespace kaldra {

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

SweepStats Sweep(int sweep, const Scene& scene, Canvas& canvas, TraceOptions options) {
  if (options.threads > 1) {
    return sweep == 1 ? SweepOneParallel(scene, canvas, options.threads, options.skipping)
                      : SweepTwoParallel(scene, canvas, options.threads, options.skipping);
  }
  return sweep == 1 ? SweepOne(scene, canvas, options.skipping)
                    : SweepTwo(scene, canvas, options.skipping);
}

}  // namespace

DiagramStats TraceDiagram(const Scene& scene, Canvas& canvas, TraceOptions options) {
  // From here on the canvas takes the diagram over the fixed background.
  canvas.AutoRedraw(false);
  DiagramStats stats;
  const Clock::time_point start = Clock::now();
  const SweepStats one = Sweep(1, scene, canvas, options);
  const Clock::time_point swept_once = Clock::now();
  stats.sweep1_ms = Milliseconds(start, swept_once);
  stats.samples = one.samples;
  stats.stopped = one.stopped;
  if (stats.stopped) return stats;
  const SweepStats two = Sweep(2, scene, canvas, options);
  stats.sweep2_ms = Milliseconds(swept_once, Clock::now());
  stats.samples += two.samples;
  stats.stopped = two.stopped;
  return stats;
}

}  // namespace kaldra
