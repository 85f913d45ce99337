#pragma once

#include <array>
#include <cstdint>

#include "scene/run_time_error.h"

namespace kaldra {

// One column of the segment table: 101 Doubles with subscripts 0 to 100. A
// subscript outside that range is a run-time error, never a stray read.
class TableColumn {
 public:
  static constexpr int kFirst = 0;
  static constexpr int kLast = 100;

  double operator[](int i) const { return values_[Checked(i)]; }
  double& operator[](int i) { return values_[Checked(i)]; }

 private:
  static std::size_t Checked(int i) {
    if (i < kFirst || i > kLast) [[unlikely]]
      ThrowSubscriptError(i);
    return static_cast<std::size_t>(i);
  }
  [[noreturn]] static void ThrowSubscriptError(int i);

  std::array<double, kLast + 1> values_{};
};

// The scene: segment i runs from (X1[i], Y1[i]) to (X2[i], Y2[i]) and lies on
// the line y = Slope[i] * x + Intercept[i]. After generation every segment is
// in normal form, X1[i] < X2[i] (left end first), and Intercept[i] is the one
// computed from the end that was generated first.
struct SegmentTable {
  TableColumn X1;
  TableColumn Y1;
  TableColumn X2;
  TableColumn Y2;
  TableColumn Slope;
  TableColumn Intercept;
  std::int16_t SegCount = 0;   // segments of this run
  std::int16_t SegPlaced = 0;  // segments accepted so far while generating
};

}  // namespace kaldra
