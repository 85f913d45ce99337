// The tracing's speed: both sweeps on fixed scenes, reported per sample walked.
#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "tracing/sweeps.h"

namespace kaldra::bench {
namespace {

Scene HundredSegments() { return GridSegments(10, 10); }

template <Scene (*MakeScene)()>
void BM_BothSweeps(benchmark::State& state) {
  const Scene scene = MakeScene();
  std::uint64_t samples = 0;
  for (auto _ : state) {
    state.PauseTiming();
    MemoryCanvas canvas(kDefaultCanvasWidth, kDefaultCanvasHeight);
    state.ResumeTiming();
    samples = TraceDiagram(scene, canvas).samples;
    benchmark::DoNotOptimize(canvas.PixelsWritten());
  }
  state.counters["samples"] = static_cast<double>(samples);
  // Seconds of processor time per sample walked ("7n" is 7 ns).
  state.counters["per_sample"] = benchmark::Counter(
      static_cast<double>(samples),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_BothSweeps<SeventeenSegments>)
    ->Name("BothSweeps/17_segments")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BothSweeps<HundredSegments>)
    ->Name("BothSweeps/100_segments")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
