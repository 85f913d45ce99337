#pragma once

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <CLI/CLI.hpp>

namespace kaldra {

// A whole decimal number without sign, blanks, base prefix or anything after
// it, as both programs read the numbers of their options.
template <typename Int>
bool ParseDecimal(std::string_view text, Int& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  const char* const end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// The value of --seed, 0 to 4294967295, or none.
std::optional<std::uint32_t> ParseSeed(std::string_view text);

// The check of --seed's value in both programs, with the one message for a
// value refused.
CLI::Validator SeedCheck();

// The --help text of both programs, made from the option definitions: a usage
// line naming every option (those that exclude each other as alternatives),
// the description, one line per option, and the footer.
std::shared_ptr<CLI::Formatter> UsageFormatter();

// The one line that tells what was wrong with a command line, as
// "PROGRAM: WHAT (see PROGRAM --help)".
std::string UsageErrorLine(const std::string& program, const CLI::ParseError& error);

}  // namespace kaldra
