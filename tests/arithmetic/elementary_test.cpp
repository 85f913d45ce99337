// Atan, Tan, Sin and Cos against MPFR, argument by argument: over the ranges
// the sweeps use, over every binade of the double range, near the points
// where the reductions and tables switch, near multiples of pi/4, at the
// special values, and at published hardest-to-round arguments. The slow path
// is also checked on its own, since the fast path leaves it few arguments.

#include "arithmetic/elementary.h"

#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "arithmetic/elementary_paths.h"
#include "tests/arithmetic/mpfr_reference.h"

namespace kaldra {
namespace {

using testing::Hex;
using testing::MpfrValue;
using testing::SameDouble;

struct Function {
  const char* name;
  double (*ours)(double);
  std::optional<double> (*fast)(double);
  double (*slow)(double);
  testing::MpfrFunction mpfr;
  double sweep_limit;  // the sweeps' arguments lie below it (atan: any slope)
  double tiny;         // the two paths take |x| from here ...
  double huge;         // ... to here
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979;  // as the sweeps take it

const Function kFunctions[] = {
    {"Atan", Atan, arithmetic::AtanFast, arithmetic::AtanSlow, mpfr_atan, kInfinity, 0x1p-27,
     0x1p53},
    {"Tan", Tan, arithmetic::TanFast, arithmetic::TanSlow, mpfr_tan, kPi, 0x1p-27, kInfinity},
    {"Sin", Sin, arithmetic::SinFast, arithmetic::SinSlow, mpfr_sin, 2.5 * kPi, 0x1p-26, kInfinity},
    {"Cos", Cos, arithmetic::CosFast, arithmetic::CosSlow, mpfr_cos, 2.5 * kPi, 0x1p-27, kInfinity},
};

bool InPathDomain(const Function& f, double x) {
  return std::fabs(x) >= f.tiny && std::fabs(x) < f.huge;
}

// A million arguments per function in the release build, a tenth of that
// with assertions on; KALDRA_ELEMENTARY_ARGUMENTS overrides both.
std::size_t ArgumentCount() {
  if (const char* count = std::getenv("KALDRA_ELEMENTARY_ARGUMENTS")) return std::stoull(count);
#ifdef NDEBUG
  return 1000000;
#else
  return 100000;
#endif
}

// The published hardest-to-round arguments of f, and those found by an MPFR
// search, from hard_cases.txt; each is also taken with its sign flipped.
std::vector<double> HardCases(const Function& f) {
  std::ifstream file(KALDRA_HARD_CASES);
  EXPECT_TRUE(file.good()) << KALDRA_HARD_CASES;
  std::vector<double> out;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string name;
    std::string value;
    if (!(fields >> name >> value) || name != f.name) continue;
    const double x = std::strtod(value.c_str(), nullptr);
    out.insert(out.end(), {x, -x});
  }
  return out;
}

// x moved by `steps` doubles.
double Neighbour(double x, int steps) {
  for (; steps > 0; --steps) x = std::nextafter(x, kInfinity);
  for (; steps < 0; ++steps) x = std::nextafter(x, -kInfinity);
  return x;
}

// Calls visit(x) for each argument of f: the hard cases, the special values
// and then generated ones, up to count in all.
template <typename Visit>
void ForEachArgument(const Function& f, std::size_t count, Visit visit) {
  std::size_t i = 0;
  const auto emit = [&](double x) {
    visit(x);
    ++i;
  };
  for (const double x : HardCases(f)) emit(x);
  for (const double x : {0.0, 0x1p-1074, 0x1p-1022, 0x1.fffffffffffffp+1023, kInfinity, f.tiny,
                         0x1p-26, 0x1p-27, 0x1p53, 0x1.921fb54442d18p-1, 0x1p10, 1.0,
                         0x1.6ac5b262ca1ffp+849}) {  // the double nearest a multiple of pi/2
    for (const int step : {-1, 0, 1}) {
      emit(Neighbour(x, step));
      emit(-Neighbour(x, step));
    }
  }
  emit(std::numeric_limits<double>::quiet_NaN());

  std::mt19937_64 random(0x6b616c647261);  // seeded: the same arguments every run
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> ulps(-3, 3);
  const auto log_uniform = [&](double low_exponent, double high_exponent) {
    const double magnitude = std::exp2(low_exponent +
                                       (high_exponent - low_exponent) * unit(random));
    return (random() & 1) != 0 ? magnitude : -magnitude;
  };
  const auto slope = [&] { return log_uniform(-30, 30); };
  while (i < count) {
    switch (i % 5) {
      case 0:  // the sweeps' range
        emit(f.sweep_limit < kInfinity ? f.sweep_limit * (2 * unit(random) - 1) : slope());
        break;
      case 1: {  // any finite double, every binade alike
        const std::uint64_t exponent = random() % 2047;
        const std::uint64_t bits = (random() & 0x800fffffffffffff) | (exponent << 52);
        double x = 0;
        std::memcpy(&x, &bits, sizeof x);
        emit(x);
        break;
      }
      case 2: {  // near a multiple of pi/4 or a table point k/256, a few ulps off
        const double k = std::floor(std::exp2(40 * unit(random)));
        const double point = (random() & 1) != 0 ? k * 0x1.921fb54442d18p-1 : k * 0x1p-8;
        emit(Neighbour(point, ulps(random)));
        break;
      }
      case 3: {  // near where the paths switch: the tiny thresholds, pi/4, 2^10, 2^53
        const double switches[] = {0x1p-27, 0x1p-26, 0x1.921fb54442d18p-1, 0x1p10, 0x1p53};
        const double at = switches[random() % 5];
        const double near = (random() & 1) != 0 ? at * (1 + 0x1p-40 * (2 * unit(random) - 1))
                                                : at * log_uniform(-1, 1);
        emit(Neighbour(near, ulps(random)));
        break;
      }
      default: {  // as the sweeps make them: slopes, bisectors' means, turns
        const double a = Atan(slope());
        const double b = Atan(slope());
        const double candidates[] = {slope(), -1 / slope(), (a + b) / 2, (a + b + kPi) / 2,
                                     kPi - a, 2 * kPi - a,  a - kPi};
        emit(candidates[random() % 7]);
        break;
      }
    }
  }
}

class Elementary : public ::testing::TestWithParam<Function> {};

TEST_P(Elementary, EveryArgumentMatchesMpfr) {
  const Function& f = GetParam();
  std::size_t count = 0;
  std::size_t mismatches = 0;
  std::size_t slow = 0;
  ForEachArgument(f, ArgumentCount(), [&](double x) {
    ++count;
    const double ours = f.ours(x);
    const double mpfr = MpfrValue(f.mpfr, x);
    if (!SameDouble(ours, mpfr) && ++mismatches <= 10) {
      ADD_FAILURE() << f.name << "(" << Hex(x) << ") = " << Hex(ours) << ", MPFR " << Hex(mpfr);
    }
    if (InPathDomain(f, x) && !f.fast(x)) ++slow;
  });
  EXPECT_EQ(mismatches, 0u);
  std::cout << f.name << ": " << count << " arguments, " << mismatches << " mismatches, " << slow
            << " left to the slow path\n";
}

TEST_P(Elementary, SlowPathAloneMatchesMpfr) {
  const Function& f = GetParam();
  std::size_t checked = 0;
  const auto check = [&](double x) {
    if (!InPathDomain(f, x)) return;
    ++checked;
    EXPECT_TRUE(SameDouble(f.slow(x), MpfrValue(f.mpfr, x)))
        << f.name << " slow path (" << Hex(x) << ") = " << Hex(f.slow(x));
  };
  for (const double x : HardCases(f)) check(x);
  std::size_t i = 0;
  ForEachArgument(f, ArgumentCount() / 20, [&](double x) {
    if (i++ % 5 == 0) check(x);
  });
  std::cout << f.name << ": slow path alone on " << checked << " arguments\n";
}

TEST_P(Elementary, SpecialValues) {
  const Function& f = GetParam();
  EXPECT_TRUE(std::isnan(f.ours(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(SameDouble(f.ours(-0.0), f.mpfr == mpfr_cos ? 1.0 : -0.0));
  EXPECT_TRUE(SameDouble(f.ours(0.0), f.mpfr == mpfr_cos ? 1.0 : 0.0));
  const double at_infinity = f.mpfr == mpfr_atan ? 0x1.921fb54442d18p+0 : NAN;
  EXPECT_TRUE(SameDouble(f.ours(kInfinity), at_infinity));
  EXPECT_TRUE(SameDouble(f.ours(-kInfinity), -at_infinity));
}

INSTANTIATE_TEST_SUITE_P(Functions, Elementary, ::testing::ValuesIn(kFunctions),
                         [](const ::testing::TestParamInfo<Function>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace kaldra
