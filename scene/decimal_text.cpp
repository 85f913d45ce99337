#include "scene/decimal_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kaldra {

namespace portable_decimal {

std::string GeneralText(double value, int digits) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.*g", digits, value);
  return buffer.data();
}

std::string FixedText(double value, int decimals) {
  std::array<char, 400> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  return buffer.data();
}

std::string ShortestText(double value) {
  // As to_chars writes it: the fewest significant digits that read back as
  // the value, in fixed or scientific notation, whichever is shorter, fixed
  // on a tie.
  if (value == 0 || !std::isfinite(value)) return GeneralText(value, 1);
  std::array<char, 64> buffer{};
  int digits = 1;
  for (; digits < 17; ++digits) {
    std::snprintf(buffer.data(), buffer.size(), "%.*e", digits - 1, value);
    if (std::strtod(buffer.data(), nullptr) == value) break;
  }
  std::snprintf(buffer.data(), buffer.size(), "%.*e", digits - 1, value);
  const std::string scientific = buffer.data();
  const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
  const int decimals = std::max(0, digits - 1 - exponent);
  const std::string fixed = FixedText(value, decimals);
  return fixed.size() <= scientific.size() ? fixed : scientific;
}

std::errc ParseDecimal(std::string_view text, double& value, std::size_t& consumed) {
  std::string copy(text);
  const std::size_t start = copy.starts_with('-') ? 1 : 0;
  // strtod would take "0x..." as hexadecimal, from_chars the 0 alone.
  if (copy.size() > start + 1 && copy[start] == '0' && (copy[start + 1] | 0x20) == 'x') {
    copy.resize(start + 1);
  }
  char* end = nullptr;
  const double v = std::strtod(copy.c_str(), &end);
  consumed = static_cast<std::size_t>(end - copy.c_str());
  if (consumed == 0 || std::isspace(static_cast<unsigned char>(copy[0])) != 0 || copy[0] == '+') {
    consumed = 0;
    return std::errc::invalid_argument;
  }
  const bool infinite_text = (copy[start] | 0x20) == 'i';
  bool nonzero_digit = false;
  for (std::size_t k = start; k < consumed && (copy[k] | 0x20) != 'e'; ++k) {
    nonzero_digit = nonzero_digit || (copy[k] >= '1' && copy[k] <= '9');
  }
  if ((std::isinf(v) && !infinite_text) || (v == 0 && nonzero_digit)) {
    return std::errc::result_out_of_range;
  }
  value = v;
  return std::errc();
}

}  // namespace portable_decimal

#if defined(__cpp_lib_to_chars)

std::string GeneralText(double value, int digits) {
  std::array<char, 64> buffer{};
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, digits);
  return std::string(buffer.data(), r.ptr);
}

std::string FixedText(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::fixed, decimals);
  return std::string(buffer.data(), r.ptr);
}

std::string ShortestText(double value) {
  std::array<char, 64> buffer{};
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), r.ptr);
}

std::errc ParseDecimal(std::string_view text, double& value, std::size_t& consumed) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  consumed = static_cast<std::size_t>(r.ptr - text.data());
  return r.ec;
}

#else

std::string GeneralText(double value, int digits) {
  return portable_decimal::GeneralText(value, digits);
}
std::string FixedText(double value, int decimals) {
  return portable_decimal::FixedText(value, decimals);
}
std::string ShortestText(double value) { return portable_decimal::ShortestText(value); }
std::errc ParseDecimal(std::string_view text, double& value, std::size_t& consumed) {
  return portable_decimal::ParseDecimal(text, value, consumed);
}

#endif

}  // namespace kaldra
