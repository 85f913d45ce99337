#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "scene/scene.h"

namespace kaldra {

// A scene as the instrument hands it around: immutable and shared, so that
// the current scene, the one on the canvas and the one a trace works on are
// one object when they are the same scene, never copies kept in step.
using SceneRef = std::shared_ptr<const Scene>;

// Where the current scene comes from: a seed's random scene, or a file. An
// edit makes it neither: it keeps the file's name, and a seed's scene becomes
// "SEED-edited", saved without the seed.
struct SceneOrigin {
  std::optional<std::uint32_t> seed;
  std::string file_name;  // as the user named it; "-" is standard input
};

// A scene file's text read for a canvas of width x height, under the
// renderer's rules: a scene saved at another size keeps its rectangle where it
// fits on the canvas, and ends beyond the canvas are refused as outside it.
// `name` is the file as the user named it, for the message.
struct WindowSceneRead {
  std::optional<Scene> scene;
  std::string problem;      // "FILE:LINE: reason", or why the file could not be read
  bool unreadable = false;  // the file could not be read at all
};
WindowSceneRead ReadWindowScene(std::string_view name, std::string_view text, int width,
                                int height);
// The same for the file at `path` ("-" is standard input), for a front end
// that has files.
WindowSceneRead ReadWindowSceneFile(const std::string& path, int width, int height);

}  // namespace kaldra
