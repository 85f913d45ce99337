#include "tools/render_options.h"

#include <charconv>
#include <system_error>

namespace kaldra {

namespace {

// A whole decimal number without sign, blanks or anything after it.
template <typename Int>
bool ParseDecimal(std::string_view text, Int& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  const char* const end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseSide(std::string_view text, int& side) {
  return ParseDecimal(text, side) && side >= kMinRenderSide && side <= kMaxRenderSide;
}

// "WxH", each side in range.
bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return ParseSide(text.substr(0, x), width) && ParseSide(text.substr(x + 1), height);
}

}  // namespace

ParsedRenderOptions ParseRenderOptions(const std::vector<std::string_view>& args) {
  ParsedRenderOptions parsed;
  RenderOptions& o = parsed.options;
  auto fail = [&parsed](std::string message) {
    parsed.options = {};
    parsed.usage_error = std::move(message);
    return parsed;
  };

  bool size_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> inline_value;
    if (const std::size_t eq = name.find('=');
        name.starts_with("--") && eq != std::string_view::npos) {
      inline_value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    const std::string shown(name);

    if (name == "--help" || name == "--version" || name == "--quiet") {
      if (inline_value) return fail("option " + shown + " takes no value");
      if (name == "--help") {
        o.action = RenderOptions::Action::kHelp;
        return parsed;
      }
      if (name == "--version") {
        o.action = RenderOptions::Action::kVersion;
        return parsed;
      }
      if (o.quiet) return fail("option --quiet given twice");
      o.quiet = true;
      continue;
    }
    if (name != "--seed" && name != "--scene" && name != "--size" && name != "--png" &&
        name != "--plots" && name != "--save-scene") {
      if (!name.starts_with("-") || name == "-") return fail("unexpected argument '" + shown + "'");
      return fail("unknown option '" + shown + "'");
    }

    // The value: after "=", or the next argument unless that is another
    // option ("-" alone is a value: standard input).
    std::string_view value;
    if (inline_value) {
      value = *inline_value;
    } else {
      if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
        return fail("option " + shown + " needs a value");
      }
      value = args[++i];
    }
    const std::string shown_value(value);

    if (name == "--seed") {
      if (o.seed) return fail("option --seed given twice");
      std::uint32_t seed = 0;
      if (!ParseDecimal(value, seed)) {
        return fail("--seed needs a whole number from 0 to 4294967295, not '" + shown_value + "'");
      }
      o.seed = seed;
    } else if (name == "--scene") {
      if (o.scene_path) return fail("option --scene given twice");
      if (value.empty()) return fail("option --scene needs a file name");
      o.scene_path = shown_value;
    } else if (name == "--size") {
      if (size_given) return fail("option --size given twice");
      size_given = true;
      if (!ParseSize(value, o.width, o.height)) {
        return fail("--size needs WxH with each side from " + std::to_string(kMinRenderSide) +
                    " to " + std::to_string(kMaxRenderSide) + ", not '" + shown_value + "'");
      }
    } else {
      std::string& path = name == "--png"     ? o.png_path
                          : name == "--plots" ? o.plots_path
                                              : o.save_scene_path;
      if (!path.empty()) return fail("option " + shown + " given twice");
      if (value.empty()) return fail("option " + shown + " needs a file name");
      path = shown_value;
    }
  }

  if (o.seed && o.scene_path) return fail("give either --seed or --scene, not both");
  // Two outputs into one file would leave only the one written last.
  const std::string* outputs[] = {&o.png_path, &o.plots_path, &o.save_scene_path};
  const char* names[] = {"--png", "--plots", "--save-scene"};
  for (int a = 0; a < 3; ++a) {
    for (int b = a + 1; b < 3; ++b) {
      if (!outputs[a]->empty() && *outputs[a] == *outputs[b]) {
        return fail(std::string(names[a]) + " and " + names[b] + " name the same file");
      }
    }
  }
  return parsed;
}

std::string RenderVersionText() { return std::string("kaldra-render ") + KALDRA_VERSION; }

std::string RenderUsageText() {
  return "Usage: kaldra-render [--seed N | --scene FILE] [--size WxH] [--png FILE]\n"
         "                     [--plots FILE] [--save-scene FILE] [--quiet]\n"
         "\n"
         "Draws the segment Voronoi diagram of a random or given scene without a\n"
         "window, exactly as the Kaldra window draws it.\n"
         "\n"
         "  --seed N           the random scene of seed N (0 to 4294967295); without\n"
         "                     --seed or --scene the seed comes from the clock\n"
         "  --scene FILE       the segments of FILE ('-' for standard input): one\n"
         "                     segment per line, x1 y1 x2 y2 in pixels, (x1, y1) the\n"
         "                     end generated first; '#' starts a comment\n"
         "  --size WxH         canvas size in pixels, each side 64 to 8192 (788x565)\n"
         "  --png FILE         write the picture as PNG\n"
         "  --plots FILE       write every plotted point: x, y, colour, tab-separated\n"
         "  --save-scene FILE  write the scene in the format --scene reads\n"
         "  --quiet            do not print the summary line\n"
         "  --help             show this text\n"
         "  --version          show the version\n"
         "\n"
         "Prints one JSON line: seed, segments, samples, plotted, generate_ms,\n"
         "sweep1_ms, sweep2_ms. Exit status: 0 done, 2 usage error or invalid\n"
         "scene, 3 run-time error (a floating-point fault while drawing, or an\n"
         "output file that could not be written). Output files are written whole\n"
         "or not at all.\n";
}

}  // namespace kaldra
