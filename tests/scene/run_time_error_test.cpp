#include "scene/run_time_error.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "scene/power.h"
#include "tests/support/hardware_flags.h"

namespace kaldra {
namespace {

// The 16-bit Integers reach both ends of their range; one step past is a
// run-time error, never a wrap.
TEST(CheckedArithmetic, ReachesTheLimitsAndRefusesToPassThem) {
  EXPECT_EQ(CheckedSub(-32767, 1), -32768);
  EXPECT_EQ(CheckedAdd(32766, 1), 32767);
  EXPECT_THROW(CheckedSub(-32768, 1), RunTimeError);
  EXPECT_THROW(CheckedAdd(32767, 1), RunTimeError);
}

// The explicit checks name the fault the processor's flags raise, step by
// step: the record's own operations raise the flags it must name (they run
// in another translation unit, for real), a checked step names the same, and
// the roots of a checked sum too; underflow and inexact results are no
// faults, and an infinity or a NaN passed on raises nothing.
TEST(FloatFaults, TheChecksNameWhatTheFlagsRaise) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  using Step = double (FaultRecord::*)(double, double);
  const Step add = &FaultRecord::Add, sub = &FaultRecord::Sub, mul = &FaultRecord::Mul,
             div = &FaultRecord::Div;
  const std::tuple<Step, double, double> rows[] = {{mul, DBL_MAX, 2},
                                                   {add, DBL_MAX, DBL_MAX},
                                                   {sub, -DBL_MAX, DBL_MAX},
                                                   {div, DBL_MAX, 0.5},
                                                   {div, 0, 0},
                                                   {div, 1, 0},
                                                   {div, -1, -0.0},
                                                   {mul, DBL_MIN, 0.25},
                                                   {div, 1, 3},
                                                   {sub, kInf, kInf},
                                                   {mul, 0, kInf},
                                                   {div, kInf, 0},
                                                   {add, kInf, 1},
                                                   {mul, std::nan(""), 2},
                                                   {div, kInf, kInf},
                                                   {sub, 5e-324, 1e-320}};
  for (const auto& [step, a, b] : rows) {
    SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b));
    FaultRecord record;
    testing::ClearFlags();
    const double result = (record.*step)(a, b);
    const FloatFault flagged = testing::FlaggedFault();
    EXPECT_EQ(record.Worst(), flagged);
    if (!std::isfinite(a) || !std::isfinite(b)) continue;  // checked steps take finite operands
    FloatFault checked = FloatFault::kNone;
    try {
      step == div ? CheckedDiv(a, b) : Checked(result);
    } catch (const FloatFaultError& e) {
      checked = e.fault;
    }
    EXPECT_EQ(checked, flagged);
  }
  EXPECT_THROW(Checked(Root(-1)), FloatFaultError);
  testing::ClearFlags();
  FaultRecord several;
  several.Mul(DBL_MAX, 2);
  several.Div(0, 0);
  EXPECT_EQ(several.Worst(), FloatFault::kInvalid);
  several.Div(1, 0);
  EXPECT_EQ(several.Worst(), FloatFault::kDivisionByZero);
  EXPECT_STREQ(FaultError(FloatFault::kOverflow, "the test").what(),
               "Run-time error: floating-point overflow in the test");
}

}  // namespace
}  // namespace kaldra
