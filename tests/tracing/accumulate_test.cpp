// Jumping through a run of an accumulated walk lands where the plain loop
// lands, with the same count, across binade edges, through zero and on both
// walk steps.
#include "tracing/accumulate.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

TEST(AccumulateBelow, LandsWhereThePlainLoopLands) {
  std::mt19937_64 engine(7);
  std::uniform_real_distribution<double> start(-3000.0, 3000.0), run(0.0, 1.0);
  for (int n = 0; n < 60'000; ++n) {
    const double step = n % 2 == 0 ? 0.1 : 0.5;
    // Random starts and runs, a few of them long; and walks landing exactly
    // on a binade's edge 2^k, or a spacing or three beside it, from below
    // going up, and from beyond -2^k going down towards zero, where the
    // spacing halves: delta is the step rounded to the spacing u walked.
    double v = start(engine), bound = v + (n % 100 == 0 ? 60'000 : 400) * step * run(engine);
    if (n < 2 * 336) {  // 2 steps, 2 signs, 7 offsets, 12 edges, 2 bounds
      const int k = 1 + n / 28 % 12, m = n / 4 % 7 - 3;
      const double edge = n / 2 % 2 == 0 ? std::ldexp(1.0, k) : -std::ldexp(1.0, k);
      const double u = std::ldexp(1.0, edge > 0 ? k - 53 : k - 52);
      const double delta = std::nearbyint(step / u) * u;
      v = edge - 80 * delta + m * u;
      bound = n / 336 == 0 ? edge + 20 * step : std::nextafter(v + 40 * delta, edge);
    }
    Stride plain{v, 0};
    for (; plain.v < bound; plain.v = plain.v + step) ++plain.steps;
    const Stride fast = AccumulateBelow(v, step, bound);
    ASSERT_EQ(fast.steps, plain.steps) << std::hexfloat << v << " " << step << " " << bound;
    ASSERT_EQ(fast.v, plain.v) << std::hexfloat << v << " " << step << " " << bound;
  }
}

}  // namespace
}  // namespace kaldra
