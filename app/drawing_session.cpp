#include "app/drawing_session.h"

#include <algorithm>
#include <utility>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"
#include "tracing/sweeps.h"

namespace kaldra {

SceneOrigin NewRandomOrigin() { return SceneOrigin{ClockSeed(), {}, {}}; }

SceneFileRead DrawingSession::ReadSceneFile(const std::string& path) const {
  SceneFileRead read;
  std::string text;
  if (auto problem = ReadWholeFile(path, text)) {
    read.problem = "cannot read '" + path + "': " + *problem;
    read.unreadable = true;
    return read;
  }
  // A scene saved at another size keeps its rectangle where it fits on the
  // canvas; ends beyond the canvas are refused as outside it.
  const auto [w, h] = SavedSize(text).value_or(std::pair{width_, height_});
  SceneReadResult scene = ReadScene(text, std::min(w, width_), std::min(h, height_));
  if (scene.error) {
    read.problem = FormatSceneError(path == "-" ? "<stdin>" : path, *scene.error);
    return read;
  }
  read.origin = SceneOrigin{std::nullopt, std::move(scene.scene), path};
  return read;
}

void DrawingSession::Draw(const SceneOrigin& origin, Canvas& canvas) {
  // Persistent drawing is on for the background, as when the window opened,
  // also when an abandoned drawing left it off.
  canvas.AutoRedraw(true);
  if (origin.seed) {
    SeededRandom random(*origin.seed);
    scene_ = GenerateScene(random, width_, height_);
  } else {
    scene_ = origin.scene;
  }
  DrawScene(*scene_, canvas);
  TraceDiagram(*scene_, canvas);
}

std::optional<std::string> DrawingSession::SceneText(const SceneOrigin& origin) const {
  if (!scene_) return std::nullopt;
  return SavedSceneText(*scene_, origin.seed);
}

}  // namespace kaldra
