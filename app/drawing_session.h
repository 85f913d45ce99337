#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// Where the window's scene comes from: a seed's random scene, or a scene read
// from a file.
struct SceneOrigin {
  std::optional<std::uint32_t> seed;
  std::optional<Scene> scene;  // when there is no seed
  std::string file_name;       // the file it came from, as the user named it
};

// A new random scene, its seed from the clock.
SceneOrigin NewRandomOrigin();

// A scene file read for the window, or why it was refused.
struct SceneFileRead {
  std::optional<SceneOrigin> origin;
  std::string problem;  // "FILE:LINE: reason", or why the file could not be read
  bool unreadable = false;
};

// The window's one door into the drawing core: it builds and traces scenes on
// the window's canvas, and reads and writes scene files exactly as the
// renderer does, at the window's size.
class DrawingSession {
 public:
  DrawingSession(int width, int height) : width_(width), height_(height) {}

  // Reads a scene file ("-" is standard input) under the renderer's rules.
  SceneFileRead ReadSceneFile(const std::string& path) const;

  // Draws the scene from the start: the canvas cleared, the count label, the
  // segments with their labels, then both sweeps. Whatever the canvas throws
  // from its yields passes through; the next Draw starts afresh.
  void Draw(const SceneOrigin& origin, Canvas& canvas);

  // The scene drawn last, or made current by an edit.
  const std::optional<Scene>& CurrentScene() const { return scene_; }
  // Makes an edited scene current, as if it had been drawn; its diagram is
  // traced elsewhere.
  void Adopt(Scene scene) { scene_ = std::move(scene); }

  // The segments of the last scene drawn.
  int SegmentCount() const { return scene_ ? scene_->Count() : 0; }
  // Segment k's ends, left end first. Precondition: 0 <= k < SegmentCount().
  struct Ends {
    double x1, y1, x2, y2;
  };
  Ends SegmentEnds(int k) const {
    const Segment& s = (*scene_)[k];
    return {s.x1, s.y1, s.x2, s.y2};
  }

  // The last scene as scene text, headed by the renderer's comment; nothing
  // when there is none or the text would not read back as exactly this scene.
  std::optional<std::string> SceneText(const SceneOrigin& origin) const;

 private:
  int width_;
  int height_;
  std::optional<Scene> scene_;
};

}  // namespace kaldra
