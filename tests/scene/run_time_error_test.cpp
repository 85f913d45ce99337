#include "scene/run_time_error.h"

#include <cfloat>

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

TEST(FloatingPointFaults, OnlyInvalidDivisionByZeroAndOverflowAreFaults) {
  ClearFloatingPointFaults();
  sink = one / 3;              // inexact
  sink = DBL_MIN * (one / 3);  // underflow
  EXPECT_NO_THROW(CheckFloatingPointFaults("the test"));
  sink = DBL_MAX * (one + one);
  EXPECT_STREQ(RaisedFloatingPointFault(), "floating-point overflow");
  EXPECT_THROW(CheckFloatingPointFaults("the test"), RunTimeError);
  ClearFloatingPointFaults();
  sink = zero / zero;
  EXPECT_STREQ(RaisedFloatingPointFault(), "invalid floating-point operation");
  ClearFloatingPointFaults();
  sink = one / zero;
  EXPECT_STREQ(RaisedFloatingPointFault(), "division by zero");
  ClearFloatingPointFaults();  // forgets it
  EXPECT_NO_THROW(CheckFloatingPointFaults("the test"));
}

}  // namespace
}  // namespace kaldra
