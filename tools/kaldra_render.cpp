// kaldra-render: draws a scene without a window, through the same core and
// the same image canvas as the window, and writes the picture, the plotted
// points and the scene to files.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "output_files/output_files.h"
#include "scene/exit_status.h"
#include "scene/random_source.h"
#include "scene/run_time_error.h"
#include "scene/scene_file.h"
#include "tools/exact_outputs.h"
#include "tools/render_options.h"
#include "tools/render_report.h"
#include "tools/renderer.h"

// The WebAssembly build for node has no Qt, so it writes no picture: it takes
// the renderer's command line but for --png and --svg, and draws on the raster
// canvas that the image canvas shows here.
#ifdef KALDRA_WITHOUT_PICTURES
#include "scene/raster_canvas.h"
#else
#include "qt_canvas/image_canvas.h"
#include "tools/headless_gui.h"
#endif

namespace {

using namespace kaldra;

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "kaldra-render: %s\n", message.c_str());
  return status;
}

int Run(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const ParsedRenderOptions parsed = ParseRenderOptions(args);
  if (parsed.usage_error) {
    std::fprintf(stderr, "%s\n", parsed.usage_error->c_str());
    return kExitUsage;
  }
  const RenderOptions& o = parsed.options;
  if (o.action == RenderOptions::Action::kHelp) {
    std::fputs(RenderUsageText().c_str(), stdout);
    return kExitDone;
  }
  if (o.action == RenderOptions::Action::kVersion) {
    std::puts(RenderVersionText().c_str());
    return kExitDone;
  }
#ifdef KALDRA_WITHOUT_PICTURES
  for (const auto& [option, path] : {std::pair{"--png", &o.png_path}, {"--svg", &o.svg_path}}) {
    if (!path->empty()) {
      return Fail(kExitUsage,
                  std::string(option) + ": this build of kaldra-render draws no pictures");
    }
  }
#endif
  std::vector<OutputTarget> targets;
  for (const auto& [option, path] : {std::pair{"--png", &o.png_path},
                                     {"--plots", &o.plots_path},
                                     {"--save-scene", &o.save_scene_path},
                                     {"--svg", &o.svg_path}}) {
    if (!path->empty()) targets.push_back({option, *path});
  }
  if (auto problem = CheckOutputs(targets)) return Fail(kExitUsage, *problem);
  // Standard output may carry a file; the summary line then goes to standard
  // error instead.
  std::FILE* const summary = std::any_of(targets.begin(), targets.end(),
                                         [](const OutputTarget& t) { return t.path == "-"; })
                                 ? stderr
                                 : stdout;

  SceneChoice choice;
  auto [width, height] = o.size.value_or(std::pair{kDefaultCanvasWidth, kDefaultCanvasHeight});
  if (o.scene_path) {
    std::string text;
    if (auto problem = ReadWholeFile(*o.scene_path, text)) {
      return Fail(kExitUsage, "cannot read '" + *o.scene_path + "': " + *problem);
    }
    const std::string name = *o.scene_path == "-" ? "<stdin>" : *o.scene_path;
    // A scene saved at another size reads back at that size, unless --size
    // says otherwise.
    if (const auto saved = SavedSize(text); saved && !o.size) {
      std::tie(width, height) = *saved;
      if (std::max(width, height) > kMaxRenderSide || std::min(width, height) < kMinRenderSide) {
        return Fail(kExitUsage, name + ":1: saved at " + std::to_string(width) + "x" +
                                    std::to_string(height) + ", a size outside " +
                                    std::to_string(kMinRenderSide) + " to " +
                                    std::to_string(kMaxRenderSide) + "; give --size");
      }
    }
    SceneReadResult scene = ReadScene(text, width, height);
    if (scene.error) {
      std::fprintf(stderr, "%s\n", FormatSceneError(name, *scene.error).c_str());
      return kExitUsage;
    }
    choice.scene = std::move(scene.scene);
  } else if (o.seed) {
    choice.seed = o.seed;
  } else {
    // Like the window: a new scene every run, its seed told below so that it
    // can be drawn again.
    choice.seed = ClockSeed();
  }

  if (std::max(width, height) * o.scale > kMaxRenderSide) {
    return Fail(kExitUsage, "--scale " + std::to_string(o.scale) + " makes a canvas of " +
                                std::to_string(width * o.scale) + "x" +
                                std::to_string(height * o.scale) + "; each side may be at most " +
                                std::to_string(kMaxRenderSide));
  }
  if (!o.scene_path && !o.seed)
    std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(*choice.seed));

#ifdef KALDRA_WITHOUT_PICTURES
  RasterCanvas canvas(width * o.scale, height * o.scale);
#else
  const HeadlessGui gui(argv[0]);
  ImageCanvas canvas(width * o.scale, height * o.scale);
#endif
  Rendering r;
  try {
    r = RenderScene(canvas, choice, width, height, !o.plots_path.empty() || WantsExactDiagram(o),
                    o.scale);
  } catch (const ScaledSceneRefused& refused) {
    return Fail(kExitUsage, refused.what());
  } catch (const RunTimeError& error) {
    return Fail(kExitRunTime, error.what());
  }

  std::vector<OutputFile> outputs;
#ifndef KALDRA_WITHOUT_PICTURES
  if (!o.png_path.empty()) {
    std::string png = EncodePng(canvas.Image());
    if (png.empty()) return Fail(kExitRunTime, "cannot encode the picture as PNG");
    outputs.push_back({o.png_path, std::move(png)});
  }
#endif
  if (!o.plots_path.empty()) outputs.push_back({o.plots_path, PlotListText(r.plots)});
  if (!o.save_scene_path.empty()) {
    // A scaled scene is not the seed's scene at the larger size, so it is
    // saved without the seed.
    std::optional<std::string> text = SavedSceneText(*r.scene,
                                                     o.scale == 1 ? r.stats.seed : std::nullopt);
    if (!text) {
      return Fail(kExitRunTime, "the scene text would not reproduce the scene; not written");
    }
    outputs.push_back({o.save_scene_path, std::move(*text)});
  }
  if (auto problem = AddExactOutputs(o, r, outputs)) return Fail(kExitRunTime, *problem);
  if (auto problem = WriteOutputs(outputs)) return Fail(kExitRunTime, *problem);

  if (!o.quiet) std::fprintf(summary, "%s\n", SummaryJson(r.stats).c_str());
  if (std::fflush(summary) != 0) return Fail(kExitRunTime, "cannot write the summary line");
  return kExitDone;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A reader that leaves early (a closed pipe) is an output that could not be
  // written, reported like any other, not a silent end by signal.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    // Out of memory, mostly: a run-time error like any other.
    return Fail(kExitRunTime, error.what());
  }
}
