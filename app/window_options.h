#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldra {

// What one command line of the window program asks for.
struct WindowOptions {
  enum class Action { kRun, kHelp, kVersion };
  Action action = Action::kRun;
};

// The options, or the line to show when the command line is not understood:
// "kaldra: WHAT (see kaldra --help)".
struct ParsedWindowOptions {
  WindowOptions options;
  std::optional<std::string> usage_error;
};

// Reads the arguments after the program name: kaldra [-h | --help] [--version].
// Read before Qt starts, so that --help and --version work without a display
// and Qt never takes an argument for one of its own.
ParsedWindowOptions ParseWindowOptions(const std::vector<std::string_view>& args);

// "kaldra VERSION".
std::string WindowVersionText();
// The usage text of --help, made from the same option definitions.
std::string WindowUsageText();

}  // namespace kaldra
