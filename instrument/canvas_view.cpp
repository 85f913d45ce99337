#include "instrument/canvas_view.h"

#include <algorithm>

namespace kaldra {

CanvasView FitCanvas(int width, int height, int view_width, int view_height, int max_scale) {
  CanvasView view;
  view.scale = std::clamp(std::min(view_width / width, view_height / height), 1, max_scale);
  const int picture_width = width * view.scale;
  const int picture_height = height * view.scale;
  view.zoom = std::min({1.0, static_cast<double>(view_width) / picture_width,
                        static_cast<double>(view_height) / picture_height});
  // Whole pixels at zoom 1, so that the picture's pixels are the view's.
  if (view.zoom == 1) {
    const int left = (view_width - picture_width) / 2;
    const int top = (view_height - picture_height) / 2;
    view.left = left;
    view.top = top;
  } else {
    view.left = (view_width - picture_width * view.zoom) / 2;
    view.top = (view_height - picture_height * view.zoom) / 2;
  }
  return view;
}

CanvasStyle StyleFor(int scale, bool projector) {
  if (!projector) return {};
  return {2 * scale + 1, 2 * scale + 1, scale + 1};
}

}  // namespace kaldra
