#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kaldra {

// A flat JSON object whose values are numbers or null, as the renderer's
// summary line is: each key with its number, or nullopt for null.
using FlatJson = std::map<std::string, std::optional<double>, std::less<>>;

// Parses one such object strictly by JSON's grammar (no trailing commas, no
// leading zeros or plus signs, keys without escapes, nothing after the closing
// brace but blanks). Returns nullopt when the text is not one.
std::optional<FlatJson> ParseFlatJson(std::string_view text);

}  // namespace kaldra
