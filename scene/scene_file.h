#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scene/scene.h"

namespace kaldra {

// Why a scene text was refused: the line it concerns (counted from 1; 0 when
// it concerns the text as a whole) and the reason, in words.
struct SceneFileError {
  int line = 0;
  std::string reason;
};

// A scene read from text with the line each segment stands on, or why there is
// none.
struct SceneReadResult {
  std::optional<Scene> scene;
  std::vector<int> lines;
  std::optional<SceneFileError> error;
};

// Reads a scene: one segment per line as four numbers "x1 y1 x2 y2", (x1, y1)
// the end generated first, separated by blanks or tabs, "#" starting a
// comment, blank lines ignored, a UTF-8 byte-order mark at the start allowed.
// Each segment goes through SceneBuilder against those before it, in the
// drawing rectangle [0, width] x [0, height], so the text is refused for
// exactly the reasons a generated candidate would be, and for fewer than 1 or
// more than 101 segments. The first fault stops reading.
SceneReadResult ReadScene(std::string_view text, double width, double height);

// "FILE:LINE: reason", or "FILE: reason" when no single line is to blame.
std::string FormatSceneError(std::string_view file_name, const SceneFileError& error);

// Whether both scenes hold the same segments, bit for bit, with the same end
// generated first.
bool SameSegments(const Scene& a, const Scene& b);

// The scene as text, each segment with the end generated first first and every
// number written with 17 significant digits, so that reading the text back
// reproduces the scene bit for bit. `comment`, if not empty, heads the text as
// comment lines.
std::string WriteScene(const Scene& scene, std::string_view comment = {});

// The whole of the file at `path`, or of standard input for "-", into `text`;
// the system's reason when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& text);

// A scene as both programs save it: a comment naming the drawing rectangle
// (which reading it back needs) and the seed, if any, then the segments. None
// when the text would not read back as exactly this scene.
std::optional<std::string> SavedSceneText(const Scene& scene, std::optional<std::uint32_t> seed);

// The drawing rectangle a saved scene names in its first line
// ("# Kaldra scene, WxH", a byte-order mark before it allowed), or none when
// the text does not start so. The sides are whole numbers above 0, in no
// other range: the caller judges whether it can draw at that size.
std::optional<std::pair<int, int>> SavedSize(std::string_view text);

}  // namespace kaldra
