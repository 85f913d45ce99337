#include "app/window_options.h"

#include <memory>

#include <CLI/CLI.hpp>

#include "command_line/command_line_help.h"

namespace kaldra {

namespace {

// The command line of the window: the parsing and the --help text both come
// from this one definition.
std::unique_ptr<CLI::App> DefineOptions() {
  auto app = std::make_unique<CLI::App>(
      "Opens a window, places 3 to 17 random non-crossing line segments on it and\n"
      "draws their Voronoi diagram while you watch. End (Alt+E) quits at any time.",
      "kaldra");
  app->formatter(UsageFormatter());
  app->set_help_flag("-h,--help", "show this text");
  app->set_version_flag("--version", WindowVersionText(), "show the version");
  app->footer(
      "The seed of the scene is printed on standard error; kaldra-render --seed N\n"
      "draws the same scene into a file.\n"
      "\n"
      "Exit status: 0 done (End, or the window closed); 1 the display cannot be\n"
      "opened; 2 a usage error; 3 a run-time error while drawing. See kaldra(1).");
  return app;
}

}  // namespace

ParsedWindowOptions ParseWindowOptions(const std::vector<std::string_view>& args) {
  ParsedWindowOptions parsed;
  const std::unique_ptr<CLI::App> app = DefineOptions();
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    parsed.options.action = WindowOptions::Action::kHelp;
  } catch (const CLI::CallForVersion&) {
    parsed.options.action = WindowOptions::Action::kVersion;
  } catch (const CLI::ParseError& error) {
    parsed.usage_error = UsageErrorLine("kaldra", error);
  }
  return parsed;
}

std::string WindowVersionText() { return std::string("kaldra ") + KALDRA_VERSION; }

std::string WindowUsageText() { return DefineOptions()->help(); }

}  // namespace kaldra
