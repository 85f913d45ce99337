#include "tools/render_options.h"

#include <memory>

#include <CLI/CLI.hpp>

#include "command_line/command_line_help.h"

namespace kaldra {

namespace {

bool ParseSide(std::string_view text, int& side) {
  return ParseDecimal(text, side) && side >= kMinRenderSide && side <= kMaxRenderSide;
}

// "WxH", each side in range.
bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return ParseSide(text.substr(0, x), width) && ParseSide(text.substr(x + 1), height);
}

// A check of an option's value: the reason it is refused, or "" when taken.
CLI::Validator Check(std::function<std::string(const std::string&)> reason) {
  return {[reason = std::move(reason)](std::string& value) { return reason(value); }, "", ""};
}

// The value is the next argument even when that is an option; an option
// forgotten its value would otherwise take the next option's name for it.
const CLI::Validator kNotAnOption = Check([](const std::string& value) -> std::string {
  if (value.starts_with("--")) return "needs a value, not the option '" + value + "'";
  return {};
});

const CLI::Validator kFileName = Check([](const std::string& value) -> std::string {
  return value.empty() ? "needs a file name" : "";
});

// The options' text before conversion: every value is checked while the
// command line is read, and converted once it has passed.
struct OptionText {
  std::string seed;
  std::string scene;
  std::string size;
  std::string scale;
  std::string png;
  std::string plots;
  std::string save_scene;
  std::string svg;
  bool score = false;
  bool quiet = false;
};

// The command line of kaldra-render: the parsing and the --help text both
// come from this one definition.
std::unique_ptr<CLI::App> DefineOptions(OptionText& text) {
  auto app = std::make_unique<CLI::App>(
      "Draws the segment Voronoi diagram of a random or given scene without a window,\n"
      "exactly as the Kaldra window draws it.",
      "kaldra-render");
  app->formatter(UsageFormatter());
  app->set_help_flag("-h,--help", "show this text");
  app->set_version_flag("--version", RenderVersionText(), "show the version");

  // Each value option once, its value checked; the text shown for it in
  // --help is its type alone.
  auto value = [&app](const char* name, std::string& target, const char* type, const char* help) {
    return app->add_option(name, target, help)
        ->type_name(type)
        ->option_text(type)
        ->check(kNotAnOption);
  };
  CLI::Option* seed = value("--seed", text.seed, "N",
                            "the random scene of seed N, 0 to 4294967295;\n"
                            "without --seed or --scene the seed comes from the clock")
                          ->check(SeedCheck());
  CLI::Option* scene =
      value("--scene", text.scene, "FILE",
            "the segments of FILE ('-' for standard input),\nin the format of kaldra-scene(5)")
          ->check(kFileName);
  seed->excludes(scene);
  value("--size", text.size, "WxH",
        "canvas size in pixels, each side 64 to 8192 (a scene\n"
        "file's saved size, or else 788x565, unless given)")
      ->check(Check([](const std::string& v) -> std::string {
        int w = 0;
        int h = 0;
        if (ParseSize(v, w, h)) return {};
        return "needs WxH with each side from " + std::to_string(kMinRenderSide) + " to " +
               std::to_string(kMaxRenderSide) + ", not '" + v + "'";
      }));
  value("--scale", text.scale, "K",
        "draw the scene K times larger, K from 1 to 8: every\n"
        "coordinate and both sides of the canvas times K")
      ->check(Check([](const std::string& v) -> std::string {
        int k = 0;
        if (ParseDecimal(v, k) && k >= 1 && k <= kMaxRenderScale) return {};
        return "needs a whole number from 1 to " + std::to_string(kMaxRenderScale) + ", not '" + v +
               "'";
      }));
  value("--png", text.png, "FILE", "write the picture as PNG ('-' for standard output)")
      ->check(kFileName);
  value("--plots", text.plots, "FILE",
        "write every point drawn on the canvas as\nx, y, colour, tab-separated")
      ->check(kFileName);
  value("--save-scene", text.save_scene, "FILE", "write the scene in the format --scene reads")
      ->check(kFileName);
  value("--svg", text.svg, "FILE",
        "write an SVG picture: the scene, the exact diagram\nand the plotted points")
      ->check(kFileName);
  app->add_flag("--score", text.score,
                "add to the summary how the plotted points compare\nwith the exact diagram")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
      ->disable_flag_override();
  app->add_flag("--quiet", text.quiet, "do not print the summary line")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
      ->disable_flag_override();

  app->footer(
      "Prints one JSON line on standard output: seed, segments, samples, plotted,\n"
      "generate_ms, sweep1_ms, sweep2_ms, and with --score precision, recall,\n"
      "largest_gap_px; on standard error when an output is '-'.\n"
      "Output files are written whole or not at all.\n"
      "\n"
      "Exit status: 0 done; 2 a problem found before drawing (usage, scene, output\n"
      "path); 3 a problem while or after drawing (a run-time error, an output that\n"
      "could not be written). See kaldra-render(1).");
  return app;
}

}  // namespace

ParsedRenderOptions ParseRenderOptions(const std::vector<std::string_view>& args) {
  ParsedRenderOptions parsed;
  OptionText text;
  const std::unique_ptr<CLI::App> app = DefineOptions(text);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    parsed.options.action = RenderOptions::Action::kHelp;
    return parsed;
  } catch (const CLI::CallForVersion&) {
    parsed.options.action = RenderOptions::Action::kVersion;
    return parsed;
  } catch (const CLI::ParseError& error) {
    parsed.usage_error = UsageErrorLine("kaldra-render", error);
    return parsed;
  }

  // Every value passed its check above, so these conversions succeed.
  RenderOptions& o = parsed.options;
  if (!text.seed.empty()) o.seed = ParseSeed(text.seed);
  if (app->count("--scene") > 0) o.scene_path = text.scene;
  if (!text.size.empty()) {
    int width = 0;
    int height = 0;
    ParseSize(text.size, width, height);
    o.size = {width, height};
  }
  if (!text.scale.empty()) ParseDecimal(text.scale, o.scale);
  o.png_path = text.png;
  o.plots_path = text.plots;
  o.save_scene_path = text.save_scene;
  o.svg_path = text.svg;
  o.score = text.score;
  o.quiet = text.quiet;
  return parsed;
}

std::string RenderVersionText() { return std::string("kaldra-render ") + KALDRA_VERSION; }

std::string RenderUsageText() {
  OptionText text;
  return DefineOptions(text)->help();
}

}  // namespace kaldra
