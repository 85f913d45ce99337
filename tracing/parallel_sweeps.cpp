#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "scene/run_time_error.h"
#include "tracing/plotter.h"
#include "tracing/sweeps.h"
#include "tracing/traces.h"

namespace kaldra {

namespace {

// The pairs of one outer index i, traced into a buffer by whichever thread
// took them.
struct OuterIndex {
  Plotter plots;
  std::uint64_t samples = 0;
  std::exception_ptr fault;  // the first fault in sequential order, if any
  std::atomic<bool> done{false};
};

using TracePair = std::uint64_t (*)(const PairContext&);

// Traces the outer index i's pairs (i, i + 1), ... in order, stopping at a
// fault as the sequential sweep would: the faulting trace's points stay
// buffered, so the canvas receives them before the error is raised.
void TraceOuterIndex(const Scene& scene, const CanvasBounds& bounds, Skipping skipping,
                     TracePair trace, std::int16_t i, OuterIndex& out) {
  try {
    for (std::int16_t j = CheckedAdd(i, 1); j < scene.SegCount(); j = CheckedAdd(j, 1)) {
      out.plots.BeginPair(i, j);
      out.samples += trace({scene, out.plots, bounds, i, j, skipping});
    }
  } catch (...) {
    out.fault = std::current_exception();
  }
  out.done.store(true, std::memory_order_release);
  out.done.notify_one();
}

// One sweep over all pairs, the outer indices shared out among `threads`
// threads (the caller's among them) in increasing order, each taking the next
// one not yet taken. The caller replays the finished buffers strictly in
// order, yielding before each outer index as the sequential sweep does, and
// traces an index itself whenever the next one to replay is not ready. A
// yield that says not to go on ends the sweep there, as it ends the
// sequential one.
SweepStats SweepInParallel(const Scene& scene, Canvas& canvas, int threads, Skipping skipping,
                           TracePair trace) {
  const CanvasBounds bounds = CanvasBounds::Around(canvas.Width(), canvas.Height());
  const int count = std::max(0, scene.Count() - 1);
  const std::unique_ptr<OuterIndex[]> indices(new OuterIndex[static_cast<std::size_t>(count)]);
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  // Takes the next outer index, if any is left and no fault has ended the
  // sweep; false when there is nothing more to take.
  auto take_one = [&] {
    if (stop.load(std::memory_order_relaxed)) return false;
    const int i = next.fetch_add(1, std::memory_order_relaxed);
    if (i >= count) return false;
    OuterIndex& slot = indices[static_cast<std::size_t>(i)];
    TraceOuterIndex(scene, bounds, skipping, trace, static_cast<std::int16_t>(i), slot);
    // Later indices are of no use once one has faulted.
    if (slot.fault) stop.store(true, std::memory_order_relaxed);
    return true;
  };

  // Joins the helpers on every way out, a fault's included.
  struct Helpers {
    std::atomic<bool>& stop;
    std::vector<std::thread> threads;
    ~Helpers() {
      stop.store(true);
      for (std::thread& t : threads) t.join();
    }
  } helpers{stop, {}};
  for (int t = 1; t < std::min(threads, count); ++t) {
    helpers.threads.emplace_back([&] {
      while (take_one()) {
      }
    });
  }

  SweepStats stats;
  for (int i = 0; i < count; ++i) {
    // A yield or an announcement that says not to go on ends the sweep; the
    // helpers stop as `helpers` goes out of scope.
    stats.stopped = !canvas.DoEvents();
    if (stats.stopped) return stats;
    OuterIndex& slot = indices[static_cast<std::size_t>(i)];
    while (!slot.done.load(std::memory_order_acquire)) {
      // Indices are taken in order, so index i is already being traced: help
      // with a later one, or wait when none is left.
      if (!take_one()) slot.done.wait(false, std::memory_order_acquire);
    }
    stats.stopped = !slot.plots.Replay(canvas);
    if (stats.stopped) return stats;
    stats.samples += slot.samples;
    if (slot.fault) std::rethrow_exception(slot.fault);
    slot.plots = Plotter();  // the memory is not needed any more
  }
  return stats;
}

}  // namespace

SweepStats SweepOneParallel(const Scene& scene, Canvas& canvas, int threads, Skipping skipping) {
  return SweepInParallel(scene, canvas, threads, skipping, TracePairOfSweepOne);
}

SweepStats SweepTwoParallel(const Scene& scene, Canvas& canvas, int threads, Skipping skipping) {
  return SweepInParallel(scene, canvas, threads, skipping, TracePairOfSweepTwo);
}

int TracingThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

}  // namespace kaldra
