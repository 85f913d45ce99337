#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/generate_segments.h"
#include "scene/segment_table.h"

namespace kaldra {

// The most segments a scene can hold: the table's subscripts run from 0 to 100.
inline constexpr int kMaxSceneSegments = TableColumn::kLast + 1;

// Why a scene text was refused: the line it concerns (counted from 1; 0 when
// it concerns the text as a whole) and the reason, in words.
struct SceneFileError {
  int line = 0;
  std::string reason;
};

// A scene read from text: the segments as generated, (x1, y1) the end drawn
// first, in the order of the text, and the line each one stands on.
struct SceneFile {
  std::vector<Candidate> segments;
  std::vector<int> lines;
};

// Either a scene or why there is none.
struct SceneReadResult {
  SceneFile scene;
  std::optional<SceneFileError> error;
};

// Reads a scene: one segment per line as four numbers "x1 y1 x2 y2" separated
// by blanks or tabs, "#" starting a comment, blank lines ignored, a UTF-8
// byte-order mark at the start skipped. The scene is
// refused unless it holds everything a generated scene guarantees within the
// drawing rectangle [0, view_w] x [0, view_h]: 1 to 101 segments, finite
// numbers, and each segment acceptable to JudgeCandidate against those before
// it, the same test the generation applies. The first fault stops reading.
SceneReadResult ReadScene(std::string_view text, double view_w, double view_h);

// "FILE:LINE: reason", or "FILE: reason" when no single line is to blame.
std::string FormatSceneError(std::string_view file_name, const SceneFileError& error);

// The table that the segments make when placed in order, as a given scene is
// placed for drawing, without the drawing. Precondition: at most 101 segments.
SegmentTable PlaceScene(const std::vector<Candidate>& segments);

// Whether segments 0 to SegPlaced - 1 of both tables agree bit for bit in all
// six columns.
bool SameSegments(const SegmentTable& a, const SegmentTable& b);

// Whether the left end of segment k is the end that was generated first: the
// intercept was computed from that end, so it is the end for which
// y - Slope * x gives Intercept exactly, to the bit. The left end wins when both ends
// satisfy it; reading the scene back gives the same slope and intercept either
// way, since (-dy) / (-dx) rounds exactly as dy / dx does.
bool LeftEndGeneratedFirst(const SegmentTable& table, int k);

// Segments 0 to SegPlaced - 1 as scene text, each with the end generated first
// first and every number written with 17 significant digits, so that reading
// the text back reproduces the table bit for bit. `comment`, if not empty,
// heads the text as comment lines.
std::string WriteScene(const SegmentTable& table, std::string_view comment = {});

}  // namespace kaldra
