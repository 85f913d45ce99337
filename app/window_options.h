#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kaldra {

// What the command line of the window program asks for.
struct WindowOptions {
  enum class Action { kShow, kHelp, kVersion };
  Action action = Action::kShow;
  std::optional<std::uint32_t> seed;  // --seed: this seed's random scene
  std::optional<std::string>
      scene_path;  // --scene or FILE: this file's scene; "-" is standard input
};

// The options, or the line to show when the command line is not understood:
// "kaldra: WHAT (see kaldra --help)".
struct ParsedWindowOptions {
  WindowOptions options;
  std::optional<std::string> usage_error;
};

// Reads the arguments after the program name.
ParsedWindowOptions ParseWindowOptions(const std::vector<std::string>& args);

// "kaldra VERSION".
std::string WindowVersionText();
// The text of --help: the usage, the options and the window's keys.
std::string WindowUsageText();

}  // namespace kaldra
