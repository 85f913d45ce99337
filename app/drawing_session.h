#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/mdl_kaldra.h"
#include "scene/canvas.h"
#include "scene/generate_segments.h"

namespace kaldra {

// Where the window's scene comes from: a seed's random scene, or segments
// read from a scene file.
struct SceneOrigin {
  std::optional<std::uint32_t> seed;
  std::vector<Candidate> segments;  // when there is no seed
  std::string file_name;            // the file they came from, as the user named it
};

// A new random scene, its seed from the clock.
SceneOrigin NewRandomOrigin();

// A scene file read for the window, or why it was refused.
struct SceneFileRead {
  std::optional<SceneOrigin> origin;
  std::string problem;  // "FILE:LINE: reason", or why the file could not be read
  bool unreadable = false;
};

// The window's one door into the drawing core: it sets up and traces scenes on
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

  // The segments of the last scene drawn.
  int SegmentCount() const { return mdl_.SegCount; }
  // Segment k's ends, left end first. Precondition: 0 <= k < SegmentCount().
  struct Ends {
    double x1, y1, x2, y2;
  };
  Ends SegmentEnds(int k) const { return {mdl_.X1[k], mdl_.Y1[k], mdl_.X2[k], mdl_.Y2[k]}; }

  // The last scene as scene text, headed by the renderer's comment; nothing
  // when the text would not read back as exactly this scene.
  std::optional<std::string> SceneText(const SceneOrigin& origin) const;

 private:
  int width_;
  int height_;
  mdlKaldra mdl_;
};

}  // namespace kaldra
