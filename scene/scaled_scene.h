#pragma once

#include <optional>
#include <string>

#include "scene/scene.h"

namespace kaldra {

// The most a scene is ever multiplied by: eight times the window's canvas is
// still within the renderer's largest side.
inline constexpr int kMaxSceneScale = 8;

// The scene with every coordinate multiplied by `scale`, built again through
// SceneBuilder from the products of the ends generated first, in a rectangle
// `scale` times larger: exactly the scene a file with those products reads as.
// The renderer's --scale and the window's larger canvases both draw it. None
// when the builder refuses a segment, which rounding of the products may cause
// in a near tie; `refusal` then says why. Precondition: scale >= 1.
std::optional<Scene> ScaledScene(const Scene& scene, int scale, std::string& refusal);

}  // namespace kaldra
