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
  std::optional<std::uint32_t> seed;      // --seed: this seed's random scene
  std::optional<std::string> scene_path;  // --scene: this file's scene; "-" is standard input
};

// The options, or the one-line reason the command line is not understood.
struct ParsedWindowOptions {
  WindowOptions options;
  std::optional<std::string> usage_error;
};

// Reads the arguments after the program name.
ParsedWindowOptions ParseWindowOptions(const std::vector<std::string>& args);

// The text of --help: the usage, the options and the window's keys.
std::string WindowUsageText();

}  // namespace kaldra
