#include "tools/renderer.h"

#include <chrono>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/run_time_error.h"
#include "scene/scaled_scene.h"
#include "tracing/sweeps.h"

namespace kaldra {

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

Rendering RenderScene(Canvas& canvas, const SceneChoice& choice, int width, int height,
                      bool keep_plots, int scale) {
  Rendering r;
  r.width = canvas.Width();
  r.height = canvas.Height();

  const Clock::time_point start = Clock::now();
  if (choice.seed) {
    SeededRandom random(*choice.seed);
    r.scene = GenerateScene(random, width, height);
  } else {
    r.scene = choice.scene;
  }
  if (scale != 1) {
    std::string refusal;
    r.scene = ScaledScene(*r.scene, scale, refusal);
    if (!r.scene) {
      throw ScaledSceneRefused("the scene " + std::to_string(scale) +
                               " times larger breaks a rule of scenes: " + refusal);
    }
  }
  const Scene& scene = *r.scene;
  DrawScene(scene, canvas);
  const Clock::time_point generated = Clock::now();

  // Listening starts after the set-up, so the list holds the diagram only,
  // not the count label's or the segment labels' points. Both cores trace,
  // the canvas receiving every point in the sequential order.
  if (keep_plots) canvas.SetPlotSink(&r.plots);
  const std::uint64_t written_before = canvas.PixelsWritten();
  const DiagramStats traced = TraceDiagram(scene, canvas, {TracingThreads()});
  canvas.SetPlotSink(nullptr);

  r.stats.seed = choice.seed;
  r.stats.segments = scene.Count();
  r.stats.samples = traced.samples;
  r.stats.plotted = canvas.PixelsWritten() - written_before;
  r.stats.generate_ms = Milliseconds(start, generated);
  r.stats.sweep1_ms = traced.sweep1_ms;
  r.stats.sweep2_ms = traced.sweep2_ms;
  return r;
}

}  // namespace kaldra
