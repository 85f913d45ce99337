// Jumping through a run of an accumulated walk lands where the plain loop
// lands, with the same count, across binade edges, through zero and on both
// walk steps.
#include "tracing/accumulate.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

Stride PlainLoop(double v, double step, double bound) {
  std::uint64_t steps = 0;
  for (; v < bound; v = v + step) ++steps;
  return {v, steps};
}

TEST(AccumulateBelow, LandsWhereThePlainLoopLands) {
  std::mt19937_64 engine(7);
  std::uniform_real_distribution<double> start(-3000.0, 3000.0);
  std::uniform_real_distribution<double> run(0.0, 1.0);
  std::uniform_int_distribution<int> edge(0, 12);
  for (int n = 0; n < 60'000; ++n) {
    const double step = n % 2 == 0 ? 0.1 : 0.5;
    double v = start(engine);
    // A third of the starts sit a few spacings below a binade's edge, or
    // above its negative, where the spacing of the sums changes.
    if (n % 3 == 0) {
      const double p = std::ldexp(1.0, edge(engine));
      v = std::nextafter(n % 6 == 0 ? p : -p, 0.0) - 40 * step * run(engine);
    }
    const double length = (n % 100 == 0 ? 60'000 : 400) * step * run(engine);
    const double bound = v + length;
    const Stride fast = AccumulateBelow(v, step, bound);
    const Stride plain = PlainLoop(v, step, bound);
    ASSERT_EQ(fast.steps, plain.steps) << std::hexfloat << v << " " << step << " " << bound;
    ASSERT_EQ(fast.v, plain.v) << std::hexfloat << v << " " << step << " " << bound;
  }
  EXPECT_EQ(AccumulateBelow(5, 0.5, 5).steps, 0u);  // nothing below the bound
}

// Walks that land exactly on a binade's edge, or a spacing or three beside it:
// from 2^k going up, from -2^k going down towards zero, where the spacing
// halves. delta is the step rounded to the spacing u of the binade walked.
TEST(AccumulateBelow, LandsOnBinadeEdgesLikeThePlainLoop) {
  for (const double step : {0.1, 0.5}) {
    for (int k = 1; k <= 12; ++k) {
      for (const double edge : {std::ldexp(1.0, k), -std::ldexp(1.0, k)}) {
        const double u = std::ldexp(1.0, edge > 0 ? k - 53 : k - 52);
        const double delta = std::nearbyint(step / u) * u;
        for (int m = -3; m <= 3; ++m) {
          const double v = edge - 80 * delta + m * u;
          // Past the edge, and just past a value the walk lands on.
          for (const double bound : {edge + 20 * step, std::nextafter(v + 40 * delta, edge)}) {
            const Stride fast = AccumulateBelow(v, step, bound);
            const Stride plain = PlainLoop(v, step, bound);
            ASSERT_EQ(fast.steps, plain.steps) << std::hexfloat << v << " " << step;
            ASSERT_EQ(fast.v, plain.v) << std::hexfloat << v << " " << step;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kaldra
