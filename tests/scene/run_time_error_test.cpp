#include "scene/run_time_error.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

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

// Through volatiles, so each operation runs when the test does.
volatile double sink = 0.0;

// The explicit checks name the fault the processor's flags raise, step by
// step: a checked step stops at it, a record keeps going and names the worst
// of what it saw; underflow and inexact results are no faults, and an
// infinity or a NaN passed on raises nothing.
TEST(FloatFaults, TheChecksNameWhatTheFlagsRaise) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  const struct {
    char op;
    double a, b;
  } rows[] = {
      {'*', DBL_MAX, 2},
      {'+', DBL_MAX, DBL_MAX},
      {'-', -DBL_MAX, DBL_MAX},
      {'/', DBL_MAX, 0.5},
      {'/', 0, 0},
      {'/', 1, 0},
      {'/', -1, -0.0},
      {'*', DBL_MIN, 0.25},
      {'/', 1, 3},
      {'r', -1, 0},
      {'r', 4, 0},
      {'-', kInf, kInf},
      {'*', 0, kInf},
      {'/', kInf, 0},
      {'+', kInf, 1},
      {'*', nan, 2},
      {'/', kInf, kInf},
      {'-', 5e-324, 1e-320},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(1, r.op) + " " + std::to_string(r.a) + " " + std::to_string(r.b));
    volatile double a = r.a, b = r.b;
    testing::ClearFlags();
    double result = 0;
    switch (r.op) {
      case '+':
        result = a + b;
        break;
      case '-':
        result = a - b;
        break;
      case '*':
        result = a * b;
        break;
      case '/':
        result = a / b;
        break;
      default:
        result = std::sqrt(a);
    }
    sink = result;
    const FloatFault flagged = testing::FlaggedFault();
    FaultRecord record;
    switch (r.op) {
      case '+':
        record.Add(r.a, r.b);
        break;
      case '-':
        record.Sub(r.a, r.b);
        break;
      case '*':
        record.Mul(r.a, r.b);
        break;
      case '/':
        record.Div(r.a, r.b);
        break;
      default:
        break;  // roots are taken of checked sums only
    }
    if (r.op != 'r') {
      EXPECT_EQ(record.Worst(), flagged);
    }
    if (!std::isfinite(r.a) || !std::isfinite(r.b)) continue;  // checked steps take finite operands
    FloatFault checked = FloatFault::kNone;
    try {
      sink = r.op == '/' ? CheckedDiv(r.a, r.b) : Checked(result);
    } catch (const FloatFaultError& e) {
      checked = e.fault;
    }
    EXPECT_EQ(checked, flagged);
  }
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
