#include "app/window_options.h"

#include <memory>

#include <CLI/CLI.hpp>

#include "command_line/command_line_help.h"
#include "instrument/window_actions.h"

namespace kaldra {

namespace {

// The usage line names the choice between --seed and --scene, which CLI11's
// generic "[OPTIONS]" would hide.
class WindowFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* /*app*/, std::string /*name*/) const override {
    return "Usage: kaldra [--seed N | --scene FILE | FILE] [--help] [--version]\n";
  }
};

// The parser; `seed` and `scene` receive the values as given.
struct WindowCommandLine {
  CLI::App app{"Draws the segment Voronoi diagram of a random or given scene, pair by pair.",
               "kaldra"};
  bool version = false;
  std::string seed;
  std::string scene;
  std::string file;
  CLI::Option* seed_option = nullptr;
  CLI::Option* scene_option = nullptr;
  CLI::Option* file_option = nullptr;

  WindowCommandLine() {
    auto formatter = std::make_shared<WindowFormatter>();
    formatter->column_width(16);
    app.formatter(formatter);
    app.set_help_flag("-h,--help", "show this text");
    app.add_flag("--version", version, "show the version");
    seed_option = app.add_option("--seed", seed, "the random scene of seed N, 0 to 4294967295")
                      ->type_name("N")
                      ->check(SeedCheck());
    const CLI::Validator needs_name(
        [](const std::string& text) { return text.empty() ? "needs a file name" : std::string(); },
        "", "");
    scene_option = app.add_option("--scene", scene, "the scene of FILE ('-': standard input)")
                       ->type_name("FILE")
                       ->check(needs_name);
    // A file manager opens a scene file as `kaldra FILE`.
    file_option =
        app.add_option("FILE", file, "the same as --scene FILE")->type_name("")->check(needs_name);
    app.footer(
        "Without --seed, --scene or FILE the scene is new every run. A scene file\n"
        "holds one segment per line, x1 y1 x2 y2 in pixels, as kaldra-render reads\n"
        "and writes it.\n"
        "\n"
        "Keys in the window (a right click on the canvas lists them too):\n" +
        WindowKeysText() +
        "\n"
        "Exit status: 0 done (End, or the window closed); 1 the display cannot be\n"
        "opened; 2 a usage error or a refused scene file; 3 a run-time error while\n"
        "drawing. See kaldra(1).");
  }
};

}  // namespace

ParsedWindowOptions ParseWindowOptions(const std::vector<std::string>& args) {
  ParsedWindowOptions parsed;
  WindowCommandLine command_line;
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    command_line.app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    parsed.options.action = WindowOptions::Action::kHelp;
    return parsed;
  } catch (const CLI::ParseError& error) {
    parsed.usage_error = UsageErrorLine("kaldra", error);
    return parsed;
  }
  WindowOptions& o = parsed.options;
  const bool seed = command_line.seed_option->count() > 0;
  const bool scene = command_line.scene_option->count() > 0;
  const bool file = command_line.file_option->count() > 0;
  if (seed && scene) {
    parsed.usage_error = "kaldra: give either --seed or --scene, not both (see kaldra --help)";
    return parsed;
  }
  if (file && (seed || scene)) {
    parsed.usage_error =
        "kaldra: give one scene: --seed N, --scene FILE or FILE, not two (see kaldra --help)";
    return parsed;
  }
  if (command_line.version) {
    o.action = WindowOptions::Action::kVersion;
  } else if (seed) {
    o.seed = ParseSeed(command_line.seed);
  } else if (scene || file) {
    o.scene_path = scene ? command_line.scene : command_line.file;
  }
  return parsed;
}

std::string WindowVersionText() { return std::string("kaldra ") + KALDRA_VERSION; }

std::string WindowUsageText() {
  WindowCommandLine command_line;
  return command_line.app.help();
}

}  // namespace kaldra
