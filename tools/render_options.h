#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scene/scaled_scene.h"

namespace kaldra {

// Each side of --size lies in this range.
inline constexpr int kMinRenderSide = 64;
inline constexpr int kMaxRenderSide = 8192;
// --scale multiplies the scene and both sides of the canvas by 1 to this.
inline constexpr int kMaxRenderScale = kMaxSceneScale;

// What one command line of kaldra-render asks for.
struct RenderOptions {
  enum class Action { kRender, kHelp, kVersion };
  Action action = Action::kRender;
  std::optional<std::uint32_t> seed;      // --seed
  std::optional<std::string> scene_path;  // --scene; "-" is standard input
  // --size as width and height; without it a scene file's saved size, or
  // the window's.
  std::optional<std::pair<int, int>> size;
  int scale = 1;                // --scale
  std::string png_path;         // --png; empty when not asked for, "-" standard output
  std::string plots_path;       // --plots
  std::string save_scene_path;  // --save-scene
  std::string svg_path;         // --svg
  bool score = false;           // --score
  bool quiet = false;           // --quiet
};

// The options, or the line to show when the command line is not understood:
// "kaldra-render: WHAT (see kaldra-render --help)".
struct ParsedRenderOptions {
  RenderOptions options;
  std::optional<std::string> usage_error;
};

// Reads the arguments after the program name. Each option may be given as
// "--name value" or "--name=value", and at most once; a value that starts
// with "--" is taken for a forgotten value. -h, --help and --version win over
// anything else on the line. Output paths are checked later, against the file
// system (CheckOutputs).
ParsedRenderOptions ParseRenderOptions(const std::vector<std::string_view>& args);

// "kaldra-render VERSION".
std::string RenderVersionText();
// The usage text of --help, made from the same option definitions.
std::string RenderUsageText();

}  // namespace kaldra
