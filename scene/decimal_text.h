#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace kaldra {

// Decimal text of doubles in the C locale's form, whatever the process's
// locale (Qt sets it from the environment, and a decimal comma would break
// scene files, plot lists and the summary line), and the same on every
// standard library we build with: the floating-point to_chars and from_chars
// where the library has them, else the C library's printf and strtod, which
// the WebAssembly build's C library runs in the C locale.

// printf's "%.{digits}g": exactly the digits a plot list or a scene file writes.
std::string GeneralText(double value, int digits);
// printf's "%.{decimals}f".
std::string FixedText(double value, int decimals);
// The shortest text that reads back as the same double, for messages.
std::string ShortestText(double value);

// Reads a double from the whole of `text` as from_chars does (no leading
// blank or plus sign, no hexadecimal; "inf" and "nan" are read): the error
// is result_out_of_range for a number beyond the range or one that rounds to
// zero, invalid_argument when no number starts the text. `consumed` says how
// many characters the number took.
std::errc ParseDecimal(std::string_view text, double& value, std::size_t& consumed);

// The same through printf and strtod alone, which a standard library without
// the floating-point to_chars and from_chars takes; here so that the two can be
// held to each other where both exist.
namespace portable_decimal {
std::string GeneralText(double value, int digits);
std::string FixedText(double value, int decimals);
std::string ShortestText(double value);
std::errc ParseDecimal(std::string_view text, double& value, std::size_t& consumed);
}  // namespace portable_decimal

}  // namespace kaldra
