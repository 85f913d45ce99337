#include "scene/run_time_error.h"

#include <cfloat>
#include <utility>

#include <gtest/gtest.h>

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
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double sink = 0.0;

// Invalid operation, division by zero and overflow are faults, each named
// until cleared; inexact results and underflow are none.
TEST(FloatingPointFaults, OnlyInvalidDivisionByZeroAndOverflowAreFaults) {
  const std::pair<void (*)(), const char*> rows[] = {
      {[] { sink = DBL_MAX * (one + one); }, "floating-point overflow"},
      {[] { sink = zero / zero; }, "invalid floating-point operation"},
      {[] { sink = one / zero; }, "division by zero"},
      {[] { sink = DBL_MIN * (one / 3); }, nullptr}};  // inexact and underflow
  for (const auto& [operation, name] : rows) {
    ClearFloatingPointFaults();
    operation();
    EXPECT_STREQ(RaisedFloatingPointFault(), name);
    if (name == nullptr) continue;
    EXPECT_THROW(CheckFloatingPointFaults("the test"), RunTimeError);
  }
  EXPECT_NO_THROW(CheckFloatingPointFaults("the test"));
  ClearFloatingPointFaults();
}

}  // namespace
}  // namespace kaldra
