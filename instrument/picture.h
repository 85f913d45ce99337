#pragma once

#include "instrument/scene_origin.h"
#include "scene/canvas_style.h"

namespace kaldra {

// A picture of a scene for a front end to make, by its drawing or by the
// trace of an edit: the scene traced `scale` times larger on a canvas of
// width x height, in a style.
struct Picture {
  SceneRef scene;  // as the user sees and edits it, on the window's canvas
  SceneRef drawn;  // `scene` times `scale`: what is drawn and traced
  int scale = 1;
  int width = 0;
  int height = 0;
  CanvasStyle style;
};

}  // namespace kaldra
