// kaldra-digest: the diagrams of many scenes in one process, each as one line
// that every build of the core must print alike, the native one and the
// WebAssembly one under node: the segment count, the samples walked, the
// points plotted on the canvas and a hash of them (tools/plot_summary.h), and
// a hash of the whole picture the raster canvas drew; or the run-time error
// that ended the drawing.
//
//   kaldra-digest --seeds FROM-TO     the random scenes of those seeds
//   kaldra-digest FILE...             scene files, at their saved size
//
// Exit status 0, or 2 for a usage error or a file that cannot be read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/raster_canvas.h"
#include "scene/run_time_error.h"
#include "scene/scene_file.h"
#include "tools/plot_summary.h"
#include "tracing/sweeps.h"

namespace {

using namespace kaldra;

// FNV-1a over the picture, one 32-bit pixel at a time.
std::string PictureHash(const RasterCanvas& canvas) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  const std::uint32_t* pixels = canvas.Pixels().get();
  const std::size_t count = static_cast<std::size_t>(canvas.Width()) * canvas.Height();
  for (std::size_t k = 0; k < count; ++k) hash = (hash ^ pixels[k]) * 0x100000001B3ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string Digest(const Scene& scene, int width, int height) {
  RasterCanvas canvas(width, height);
  DrawScene(scene, canvas);
  std::vector<PlotPoint> plots;
  canvas.SetPlotSink(&plots);
  try {
    const std::uint64_t samples = TraceDiagram(scene, canvas).samples;
    return PlotSummary(scene.Count(), samples, plots, width, height) + " picture " +
           PictureHash(canvas);
  } catch (const RunTimeError& error) {
    return error.what();
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  unsigned long from = 0;
  unsigned long to = 0;
  if (args.size() == 2 && args[0] == "--seeds" &&
      std::sscanf(args[1].c_str(), "%lu-%lu", &from, &to) == 2 && from <= to) {
    for (unsigned long seed = from; seed <= to; ++seed) {
      SeededRandom random(static_cast<std::uint32_t>(seed));
      const Scene scene = GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
      std::printf("seed %lu: %s\n", seed,
                  Digest(scene, kDefaultCanvasWidth, kDefaultCanvasHeight).c_str());
    }
    return 0;
  }
  if (args.empty() || args[0].starts_with("--")) {
    std::fprintf(stderr, "usage: kaldra-digest --seeds FROM-TO | FILE...\n");
    return 2;
  }
  for (const std::string& path : args) {
    std::string text;
    if (ReadWholeFile(path, text)) {
      std::fprintf(stderr, "kaldra-digest: cannot read %s\n", path.c_str());
      return 2;
    }
    const auto [width, height] = SavedSize(text).value_or(
        std::pair{kDefaultCanvasWidth, kDefaultCanvasHeight});
    const SceneReadResult read = ReadScene(text, width, height);
    std::printf("%s: %s\n", path.c_str(),
                read.scene ? Digest(*read.scene, width, height).c_str()
                           : FormatSceneError(path, *read.error).c_str());
  }
  return 0;
}
