// The whole renderer as a user runs it: start the process, draw seed 4 (17
// segments) into memory, exit. Wall-clock time, process start-up included.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

extern char** environ;

namespace {

int RunRenderer(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_RenderSeed(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::vector<std::string> arguments = {KALDRA_RENDER_PATH, "--seed", "4", "--quiet"};
  for (auto _ : state) {
    if (RunRenderer(arguments) != 0) {
      state.SkipWithError("kaldra-render failed");
      break;
    }
  }
}

BENCHMARK(BM_RenderSeed)
    ->Name("RenderProcess/seed_4_17_segments")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
