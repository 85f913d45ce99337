#include "scene/run_time_error.h"

#include <cfloat>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

TEST(CheckedIntegers, AddAndSubtractInsideSixteenBits) {
  EXPECT_EQ(CheckedAdd(32766, 1), 32767);
  EXPECT_EQ(CheckedAdd(-32767, -1), -32768);
  EXPECT_EQ(CheckedSub(-32767, 1), -32768);
  EXPECT_EQ(CheckedSub(0, -32767), 32767);
}

TEST(CheckedIntegers, OverflowIsARunTimeError) {
  EXPECT_THROW(CheckedAdd(32767, 1), RunTimeError);
  EXPECT_THROW(CheckedAdd(-32768, -1), RunTimeError);
  EXPECT_THROW(CheckedSub(-32768, 1), RunTimeError);
  EXPECT_THROW(CheckedSub(0, -32768), RunTimeError);
  EXPECT_THROW(CheckedSub(32767, -1), RunTimeError);
}

// Each operation goes through volatiles, so it runs when the test does and
// raises its flags then.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double three = 3.0;
volatile double largest = DBL_MAX;
volatile double smallest_normal = DBL_MIN;
volatile double sink = 0.0;

struct FaultRow {
  const char* name;
  void (*operation)();
  const char* fault;  // nullptr: not a fault
};

class FloatingPointFaultTest : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FloatingPointFaultTest, OnlyInvalidDivisionByZeroAndOverflowAreFaults) {
  const FaultRow& row = GetParam();
  ClearFloatingPointFaults();
  row.operation();
  if (row.fault == nullptr) {
    EXPECT_NO_THROW(CheckFloatingPointFaults("the test"));
    return;
  }
  try {
    CheckFloatingPointFaults("the test");
    ADD_FAILURE() << "no run-time error";
  } catch (const RunTimeError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(row.fault), std::string::npos) << message;
    EXPECT_NE(message.find("the test"), std::string::npos) << message;
  }
  // Clearing forgets the fault.
  ClearFloatingPointFaults();
  EXPECT_NO_THROW(CheckFloatingPointFaults("the test"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FloatingPointFaultTest,
    ::testing::Values(FaultRow{"DivisionByZero", [] { sink = one / zero; }, "division by zero"},
                      FaultRow{"ZeroByZero", [] { sink = zero / zero; }, "invalid"},
                      FaultRow{"Overflow", [] { sink = largest * 2; }, "overflow"},
                      FaultRow{"Underflow", [] { sink = smallest_normal * smallest_normal; },
                               nullptr},
                      FaultRow{"SubnormalResult", [] { sink = smallest_normal * 0.3; }, nullptr},
                      FaultRow{"Inexact", [] { sink = one / three; }, nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kaldra
