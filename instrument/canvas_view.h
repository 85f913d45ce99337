#pragma once

#include "scene/canvas_style.h"

namespace kaldra {

// How the picture of a width x height canvas fills a view (the window's
// client area, a web page's canvas element) of view_width x view_height
// device pixels: traced `scale` times larger, the largest whole scale that
// fits, so that every pixel shown is a pixel of the renderer's --scale
// picture; shown at `zoom` view pixels per picture pixel, 1 unless the view is
// smaller than the canvas itself; centred.
struct CanvasView {
  int scale = 1;
  double zoom = 1;
  double left = 0;  // the picture's top-left corner in the view
  double top = 0;

  // The canvas point under a point of the view, and back.
  double CanvasX(double view_x) const { return (view_x - left) / (scale * zoom); }
  double CanvasY(double view_y) const { return (view_y - top) / (scale * zoom); }
  double ViewX(double canvas_x) const { return left + canvas_x * scale * zoom; }
  double ViewY(double canvas_y) const { return top + canvas_y * scale * zoom; }
  bool operator==(const CanvasView&) const = default;
};

// The view of a width x height canvas in a view of view_width x view_height,
// at most `max_scale` times larger. Preconditions: every size positive,
// max_scale >= 1.
CanvasView FitCanvas(int width, int height, int view_width, int view_height, int max_scale);

// The style a picture at `scale` is drawn in: the renderer's, or for a
// projector points and lines 2 scale + 1 pixels thick and labels scale + 1
// times as large, twice as large at scale 1.
CanvasStyle StyleFor(int scale, bool projector);

}  // namespace kaldra
