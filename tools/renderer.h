#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/canvas.h"
#include "scene/scene.h"
#include "tools/render_report.h"

namespace kaldra {

// The scene to draw: the random scene of a seed, or given segments.
struct SceneChoice {
  std::optional<std::uint32_t> seed;
  std::optional<Scene> scene;  // used when there is no seed
};

// Everything one rendering leaves behind.
struct Rendering {
  RenderStats stats;
  std::optional<Scene> scene;    // the scene drawn
  std::vector<PlotPoint> plots;  // the sweeps' points, if asked for
  int width = 0, height = 0;     // the canvas's size
};

// The scene K times larger breaks a rule of scenes: found before drawing.
class ScaledSceneRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Draws the scene on `canvas` exactly as the window does: set-up (count label,
// segments, labels), persistent drawing off, sweep 1, sweep 2. The scene is
// the seed's, generated in a width x height rectangle, or the given one. A
// `scale` K above 1 multiplies every coordinate of it by K (ScaledScene) on a
// canvas K times larger each way; K = 1 draws the scene as it is. With
// `keep_plots` every point of the sweeps that lands on a pixel is recorded:
// the same points stats.plotted counts. A run-time error in the drawing ends
// it with RunTimeError; a scaled scene the builder refuses, before drawing,
// with ScaledSceneRefused. Precondition: the canvas is width K x height K.
Rendering RenderScene(Canvas& canvas, const SceneChoice& choice, int width, int height,
                      bool keep_plots, int scale = 1);

}  // namespace kaldra
