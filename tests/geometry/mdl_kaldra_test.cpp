#include "geometry/mdl_kaldra.h"

#include <bit>
#include <cstdint>
#include <numbers>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

// Pi is the fifteen-digit 3.14159265358979, seven units in the last place
// below the double nearest to pi, in the constant and in every new scene.
TEST(Pi, IsTheFifteenDigitValue) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kKaldraPi), 0x400921FB54442D11u);
  EXPECT_EQ(
      std::bit_cast<std::uint64_t>(std::numbers::pi) - std::bit_cast<std::uint64_t>(kKaldraPi), 7u);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(mdlKaldra{}.Pi), 0x400921FB54442D11u);
}

}  // namespace
}  // namespace kaldra
