#pragma once

#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// Where the count label stands: right of the End button, which spans x = 112
// to 169.
inline constexpr float kCountLabelX = 180;
inline constexpr float kCountLabelY = 20;
// The colour of the segments, their labels and the count.
inline constexpr Color kSceneColor = kWhite;

// The fixed background of a diagram: the canvas cleared to black, "N=" and
// the segment count at the label's place, then each segment in white with its
// index at its midpoint. Leaves the foreground in that colour.
void DrawScene(const Scene& scene, Canvas& canvas);

}  // namespace kaldra
