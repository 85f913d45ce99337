#pragma once

#include <cstdint>

#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// What a sweep did, for the renderer's report and the benchmarks.
struct SweepStats {
  std::uint64_t samples = 0;  // sample points walked, plotted or not
  bool stopped = false;       // a yield said not to go on, and the sweep ended there
};

// Whether a trace may reject, without looking at them, the samples just after
// a rejected one that are too near it to be accepted (see
// rejection_window.h). Either way the same points are plotted; kOff is the
// plain path the benchmarks measure against.
enum class Skipping { kOff, kOn };

// Sweep 1: for every pair i < j, the four endpoint bisectors (cyan, magenta,
// yellow, red), then the two angle bisectors of the supporting lines (blue,
// green). Yields to the window system once per outer index.
SweepStats SweepOne(const Scene& scene, Canvas& canvas, Skipping skipping = Skipping::kOn);

// Sweep 2: for every pair i < j, the four parabolic arcs between an endpoint
// of one segment and the line of the other (magenta, cyan, yellow, green).
// Yields once per outer index.
SweepStats SweepTwo(const Scene& scene, Canvas& canvas, Skipping skipping = Skipping::kOn);

// The same sweeps on `threads` threads, the caller's included: the pairs of
// each outer index are traced into a buffer by whichever thread takes them,
// and the caller replays the buffers on the canvas in the sequential order,
// yielding once per outer index. The canvas receives exactly the calls of the
// sequential sweeps; a fault is the same RunTimeError, the first in that
// order. The canvas is touched on the caller's thread only.
SweepStats SweepOneParallel(const Scene& scene, Canvas& canvas, int threads,
                            Skipping skipping = Skipping::kOn);
SweepStats SweepTwoParallel(const Scene& scene, Canvas& canvas, int threads,
                            Skipping skipping = Skipping::kOn);

// How a diagram is traced: by the sequential sweeps on the caller's thread
// alone (threads = 1, the window's progressive drawing), or by the parallel
// ones on `threads` threads; with or without skipping.
struct TraceOptions {
  int threads = 1;
  Skipping skipping = Skipping::kOn;
};

// What tracing a diagram did: the samples of both sweeps, the wall-clock time
// of each, and whether a yield stopped it.
struct DiagramStats {
  std::uint64_t samples = 0;
  double sweep1_ms = 0;
  double sweep2_ms = 0;
  bool stopped = false;
};

// The whole diagram over the scene's background: persistent drawing off, then
// sweep 1 and sweep 2. The one way a diagram is traced: by the window, the
// renderer, the re-trace of an edit and the benchmarks. A yield that says not
// to go on ends it there; a fault is the sweeps' RunTimeError.
DiagramStats TraceDiagram(const Scene& scene, Canvas& canvas, TraceOptions options = {});

// The threads worth tracing on here: the cores the system reports, at least 1.
int TracingThreads();

}  // namespace kaldra
