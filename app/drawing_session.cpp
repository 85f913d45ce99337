#include "app/drawing_session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "scene/random_source.h"
#include "tools/scene_file.h"
#include "tracing/start_up.h"

namespace kaldra {

namespace {

// The whole of a file, or of standard input for "-"; false with the system's
// reason when it cannot be read.
bool ReadWhole(const std::string& path, std::string& text, std::string& problem) {
  std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    problem = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  if (failed) problem = std::strerror(errno);
  if (file != stdin) std::fclose(file);
  return !failed;
}

}  // namespace

SceneOrigin NewRandomOrigin() { return SceneOrigin{ClockSeed(), {}, {}}; }

SceneFileRead DrawingSession::ReadSceneFile(const std::string& path) const {
  SceneFileRead read;
  std::string text;
  std::string problem;
  if (!ReadWhole(path, text, problem)) {
    read.problem = "cannot read '" + path + "': " + problem;
    read.unreadable = true;
    return read;
  }
  SceneReadResult scene = ReadScene(text, width_, height_);
  if (scene.error) {
    read.problem = FormatSceneError(path == "-" ? "<stdin>" : path, *scene.error);
    return read;
  }
  read.origin = SceneOrigin{std::nullopt, std::move(scene.scene.segments), path};
  return read;
}

void DrawingSession::Draw(const SceneOrigin& origin, Canvas& canvas) {
  // Persistent drawing is on for the set-up, as when the window opened, also
  // when an abandoned drawing left it off.
  canvas.AutoRedraw(true);
  if (origin.seed) {
    SeededRandom random(*origin.seed);
    SetUpRandomScene(mdl_, canvas, random, width_, height_);
  } else {
    SetUpGivenScene(mdl_, canvas, origin.segments, width_, height_);
  }
  TraceDiagram(mdl_, canvas);
}

std::optional<std::string> DrawingSession::SceneText(const SceneOrigin& origin) const {
  std::string comment = "Kaldra scene, " + std::to_string(width_) + "x" + std::to_string(height_);
  if (origin.seed) comment += ", seed " + std::to_string(*origin.seed);
  comment += "\nx1 y1 x2 y2 per segment, (x1, y1) the end generated first";
  std::string text = WriteScene(mdl_, comment);
  const SceneReadResult back = ReadScene(text, width_, height_);
  if (back.error || !SameSegments(PlaceScene(back.scene.segments), mdl_)) return std::nullopt;
  return text;
}

}  // namespace kaldra
