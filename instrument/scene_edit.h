#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace kaldra {

// A segment as the user edits it: the end generated first and the other one.
// The scene computes a segment's line from its first end, so an edited scene
// keeps that end first, and the saved file reads back as the same scene.
struct EditEnds {
  double first_x, first_y, second_x, second_y;
  bool operator==(const EditEnds&) const = default;
};
using EditedSegments = std::vector<EditEnds>;

// The segments of a scene in its order, each with its first end first.
EditedSegments SegmentsOf(const Scene& scene);

// The scene of `segments`, each judged by SceneBuilder against those before
// it, in order; or, for the first refused one, the reason in words. The
// segment edited is `edited`: a reason names the segment it conflicts with,
// which for a segment after the edited one is that segment itself, since every
// reason between two segments holds both ways.
struct EditVerdict {
  std::optional<Scene> scene;
  std::string refusal;
};
EditVerdict JudgeSegments(const EditedSegments& segments, int edited, double width, double height);

// What a press grabs: an end of a segment, the body of one, or nothing.
struct Grab {
  enum class Part { kFirstEnd, kSecondEnd, kWhole } part;
  int segment;
};
// The end nearest to (x, y) within a few pixels, else the segment whose body
// passes nearest within a few pixels, else nothing. Later segments win ties,
// as they are drawn over earlier ones.
std::optional<Grab> GrabAt(const EditedSegments& segments, double x, double y);

// The segments with the grabbed part moved by (dx, dy).
EditedSegments Moved(EditedSegments segments, Grab grab, double dx, double dy);

}  // namespace kaldra
