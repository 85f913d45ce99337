#pragma once

#include <vector>

#include "geometry/mdl_kaldra.h"
#include "scene/generate_segments.h"
#include "tests/support/recording_canvas.h"
#include "tracing/start_up.h"

namespace kaldra::testing {

// A scene of given segments (each as generated, first end first) on a
// recording canvas of the drawing rectangle's size.
struct GivenScene {
  mdlKaldra mdl;
  RecordingCanvas canvas;

  GivenScene(const std::vector<Candidate>& segments, int width, int height)
      : canvas(width, height) {
    SetUpGivenScene(mdl, canvas, segments, width, height);
    canvas.plots.clear();
    canvas.fore_colors.clear();
  }
};

inline Candidate Seg(double x1, double y1, double x2, double y2) {
  return MakeCandidate(x1, y1, x2, y2);
}

}  // namespace kaldra::testing
