#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "scene/canvas.h"
#include "scene/generate_segments.h"
#include "scene/segment_table.h"
#include "tools/render_report.h"

namespace kaldra {

// The Qt application a rendering needs, without a display: the canvas is an
// image in memory, and the offscreen platform still gives Qt its fonts. The
// platform is forced even when the environment names another one, which might
// want a display. Qt sees none of the program's arguments, so it cannot take
// any of them for its own, and its chatter about the environment (a missing
// runtime directory, say) is dropped: only critical messages are shown.
class HeadlessGui {
 public:
  explicit HeadlessGui(char* program_name);

 private:
  int argc_ = 1;
  char* argv_[2];
  std::unique_ptr<QGuiApplication> application_;
};

// The scene to draw: the random scene of a seed, or given segments.
struct SceneChoice {
  std::optional<std::uint32_t> seed;
  std::vector<Candidate> segments;  // used when there is no seed
};

// Everything one rendering leaves behind.
struct Rendering {
  RenderStats stats;
  SegmentTable table;            // the scene as placed
  QImage image;                  // the canvas: label, segments and diagram
  std::vector<PlotPoint> plots;  // the sweeps' points, if asked for
};

// Draws the scene on a width x height image canvas exactly as the window does:
// set-up (count label, segments, labels), persistent drawing off, sweep 1,
// sweep 2. With `keep_plots` every point of the sweeps that lands on a pixel
// is recorded: the same points stats.plotted counts. A floating-point fault in the drawing ends it
// with RunTimeError. Needs a QGuiApplication for the label font.
Rendering RenderScene(const SceneChoice& choice, int width, int height, bool keep_plots);

// The image as PNG data; empty if Qt cannot encode it.
std::string EncodePng(const QImage& image);

}  // namespace kaldra
