// The correctly rounded atan, tan, sin and cos against the C library's, per
// call, on arguments as the sweeps make them: slopes for atan, the angle
// bisectors' mean directions for tan, a parabola's turn for sin and cos. Each
// iteration takes the next of 4096 fixed arguments; the calls are
// independent, so this is throughput, as in the per-pair set-up.
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "arithmetic/elementary.h"

namespace kaldra::bench {
namespace {

constexpr double kPi = 3.14159265358979;  // as the sweeps take it
constexpr std::size_t kArguments = 4096;

enum class Kind { kSlope, kBisector, kTurn };

std::vector<double> Arguments(Kind kind) {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> exponent(-7, 7);
  const auto slope = [&] {
    const double magnitude = std::exp2(exponent(random));
    return (random() & 1) != 0 ? magnitude : -magnitude;
  };
  std::vector<double> out;
  for (std::size_t i = 0; i < kArguments; ++i) {
    const double a = std::atan(slope());
    const double b = std::atan(slope());
    switch (kind) {
      case Kind::kSlope:
        out.push_back(slope());
        break;
      case Kind::kBisector:  // (aj + ai) / 2, and with ai turned by a half turn
        out.push_back(i % 2 == 0 ? (a + b) / 2 : (a + b + kPi) / 2);
        break;
      case Kind::kTurn:  // pi - alpha or 2 pi - alpha, and its negation
        out.push_back((i % 2 == 0 ? kPi : 2 * kPi) - a);
        if (i % 4 == 3) out.back() = -out.back();
        break;
    }
  }
  return out;
}

void BM_Function(benchmark::State& state, double (*f)(double), Kind kind) {
  const std::vector<double> arguments = Arguments(kind);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(arguments[i]));
    i = (i + 1) % kArguments;
  }
}

double LibraryAtan(double x) { return std::atan(x); }
double LibraryTan(double x) { return std::tan(x); }
double LibrarySin(double x) { return std::sin(x); }
double LibraryCos(double x) { return std::cos(x); }

BENCHMARK_CAPTURE(BM_Function, Atan_kaldra, Atan, Kind::kSlope)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Atan_library, LibraryAtan, Kind::kSlope)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Tan_kaldra, Tan, Kind::kBisector)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Tan_library, LibraryTan, Kind::kBisector)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Sin_kaldra, Sin, Kind::kTurn)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Sin_library, LibrarySin, Kind::kTurn)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Cos_kaldra, Cos, Kind::kTurn)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Function, Cos_library, LibraryCos, Kind::kTurn)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
