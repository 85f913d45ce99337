// A full re-trace (both sweeps into image memory), the fast way (both cores,
// skipped rejections) against the sequential sweeps without skipping, the two
// run alternately in each iteration so that both meet the same load. Reports
// the medians' ratio of wall-clock and of process processor time, and each
// way's time per sample walked.
#include <time.h>

#include <chrono>

#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "tracing/sweeps.h"

namespace kaldra::bench {
namespace {

struct Times {
  double wall = 0, cpu = 0;  // seconds
};

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

template <typename Trace>
Times Timed(Trace&& trace) {
  MemoryCanvas canvas(kDefaultCanvasWidth, kDefaultCanvasHeight);
  const auto wall = std::chrono::steady_clock::now();
  const double cpu = ProcessSeconds();
  trace(canvas);
  benchmark::DoNotOptimize(canvas.PixelsWritten());
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
          ProcessSeconds() - cpu};
}

Scene FiftySegments() { return GridSegments(10, 5); }
Scene HundredSegments() { return GridSegments(10, 10); }

template <Scene (*MakeScene)()>
void BM_Retrace(benchmark::State& state) {
  const Scene scene = MakeScene();
  const int threads = TracingThreads();
  std::uint64_t samples = 0;
  Times baseline, fast;
  for (auto _ : state) {
    const Times b = Timed([&](Canvas& canvas) {
      samples = TraceDiagram(scene, canvas, {.skipping = Skipping::kOff}).samples;
    });
    const Times f = Timed([&](Canvas& canvas) { TraceDiagram(scene, canvas, {threads}); });
    baseline.wall += b.wall;
    baseline.cpu += b.cpu;
    fast.wall += f.wall;
    fast.cpu += f.cpu;
    state.SetIterationTime(f.wall);
  }
  const double runs = static_cast<double>(state.iterations());
  const double n = static_cast<double>(samples) * runs;
  state.counters["baseline_ms"] = 1e3 * baseline.wall / runs;
  state.counters["fast_ms"] = 1e3 * fast.wall / runs;
  state.counters["ratio"] = fast.wall / baseline.wall;
  state.counters["cpu_ratio"] = fast.cpu / baseline.cpu;
  state.counters["baseline_ns"] = 1e9 * baseline.wall / n;  // per sample walked
  state.counters["fast_ns"] = 1e9 * fast.wall / n;
  state.counters["threads"] = threads;
}

BENCHMARK(BM_Retrace<SeventeenSegments>)
    ->Name("Retrace/17_segments")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5);
BENCHMARK(BM_Retrace<FiftySegments>)
    ->Name("Retrace/50_segments")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(3);
BENCHMARK(BM_Retrace<HundredSegments>)
    ->Name("Retrace/100_segments")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
