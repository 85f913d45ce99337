// The renderer's two sweeps (both cores, skipped rejections, as kaldra-render
// traces) against the plain oracle of the tests, which walks the same samples
// with the plain arithmetic: pow for every square and root, every test made.
// Both run alternately in each iteration, so that both meet the same load;
// reports each one's wall-clock time per sample walked and their ratio.
#include <chrono>

#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "tests/tracing/plain_diagram.h"
#include "tracing/sweeps.h"

namespace kaldra::bench {
namespace {

template <typename Run>
double Seconds(Run&& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PlainRatio(benchmark::State& state) {
  const Scene scene = SeventeenSegments();
  std::vector<plain::PlainSegment> segments;
  for (const Segment& s : scene.Segments()) {
    segments.push_back({s.x1, s.y1, s.x2, s.y2, s.slope, s.intercept});
  }
  const int threads = TracingThreads();
  std::uint64_t samples = 0;
  double plain_s = 0, render_s = 0;
  for (auto _ : state) {
    plain_s += Seconds([&] {
      samples = plain::TracePlainly(segments, kDefaultCanvasWidth, kDefaultCanvasHeight).samples;
    });
    MemoryCanvas canvas(kDefaultCanvasWidth, kDefaultCanvasHeight);
    const double r = Seconds([&] { TraceDiagram(scene, canvas, {threads}); });
    render_s += r;
    state.SetIterationTime(r);
  }
  const double n = static_cast<double>(samples) * static_cast<double>(state.iterations());
  state.counters["plain_ns"] = 1e9 * plain_s / n;  // per sample walked
  state.counters["render_ns"] = 1e9 * render_s / n;
  state.counters["ratio"] = render_s / plain_s;
  state.counters["threads"] = threads;
}

BENCHMARK(BM_PlainRatio)
    ->Name("PlainRatio/17_segments")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
