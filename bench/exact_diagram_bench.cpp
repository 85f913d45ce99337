// Building the exact diagram: the 17-segment scene of seed 4 and the
// 100-segment grid scene, from the scene to the edges cut to the canvas.
#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "exact/exact_diagram.h"

namespace kaldra::bench {
namespace {

Scene HundredSegments() { return GridSegments(10, 10); }

template <Scene (*MakeScene)()>
void BM_ExactDiagram(benchmark::State& state) {
  const Scene scene = MakeScene();
  std::string problem;
  std::size_t edges = 0;
  for (auto _ : state) {
    const std::optional<ExactDiagram> diagram = BuildExactDiagram(scene, problem);
    edges = diagram->edges.size();
    benchmark::DoNotOptimize(edges);
  }
  state.counters["edges"] = static_cast<double>(edges);
}

BENCHMARK(BM_ExactDiagram<SeventeenSegments>)
    ->Name("ExactDiagram/17_segments")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExactDiagram<HundredSegments>)
    ->Name("ExactDiagram/100_segments")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
