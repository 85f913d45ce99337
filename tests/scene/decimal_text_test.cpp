// The decimal text of the programs: the standard library's to_chars and
// from_chars here, printf and strtod where a library lacks them (the
// WebAssembly build); the two must write and read every number alike.
#include "scene/decimal_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

TEST(DecimalText, ThePortableTextIsTheLibrarysText) {
  // clang-format off
  const char* tokens[] = {"1e-400", "2e-324", "3e-324", "4.9406564584124654e-324", "1e400", "inf",
                          "infinity", "-inf", "-0", "0x10", ".5", "5.", "1e5x", "+1", " 1", "",
                          "-", "e5", "12,5", "788", "564.99999999999989", "1.7976931348623157e308"};
  // clang-format on
  for (const double round : {300.0, 1e5, 0.0001, 123456789012.0, 1e21, -0.5, 565.0, 1e-7}) {
    EXPECT_EQ(ShortestText(round), portable_decimal::ShortestText(round));
  }
  for (const char* token : tokens) {
    SCOPED_TRACE(token);
    double library = -7, portable = -7;
    std::size_t library_used = 0, portable_used = 0;
    EXPECT_EQ(ParseDecimal(token, library, library_used),
              portable_decimal::ParseDecimal(token, portable, portable_used));
    EXPECT_EQ(library_used, portable_used);
    EXPECT_EQ(std::memcmp(&library, &portable, sizeof library), 0);
  }
  std::mt19937_64 engine(3);
  for (int n = 0; n < 20000; ++n) {
    std::uint64_t bits = engine();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const float point = static_cast<float>(n % 2 == 0 ? value : std::ldexp(value, -1000) * 1e3);
    EXPECT_EQ(GeneralText(point, 9), portable_decimal::GeneralText(point, 9));
    EXPECT_EQ(GeneralText(value, 17), portable_decimal::GeneralText(value, 17));
    EXPECT_EQ(FixedText(value * 1e-300, 3), portable_decimal::FixedText(value * 1e-300, 3));
    EXPECT_EQ(ShortestText(value), portable_decimal::ShortestText(value));
    EXPECT_EQ(ShortestText(point), portable_decimal::ShortestText(point));
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace kaldra
