#include "instrument/scene_edit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "scene/scene_builder.h"

namespace kaldra {

namespace {

// How far from an end or a segment a press still grabs it, in pixels.
constexpr double kGrabEnd = 7;
constexpr double kGrabBody = 5;

// The distance from (x, y) to the segment from (ax, ay) to (bx, by).
double DistanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

}  // namespace

EditedSegments SegmentsOf(const Scene& scene) {
  EditedSegments segments;
  for (const Segment& s : scene.Segments()) {
    segments.push_back(s.left_end_first ? EditEnds{s.x1, s.y1, s.x2, s.y2}
                                        : EditEnds{s.x2, s.y2, s.x1, s.y1});
  }
  return segments;
}

EditVerdict JudgeSegments(const EditedSegments& segments, int edited, double width, double height) {
  if (segments.empty()) return {std::nullopt, "a scene needs at least one segment"};
  SceneBuilder builder(width, height);
  for (int k = 0; k < static_cast<int>(segments.size()); ++k) {
    const EditEnds& e = segments[static_cast<std::size_t>(k)];
    const Verdict verdict = builder.Add(e.first_x, e.first_y, e.second_x, e.second_y);
    if (verdict.Accepted()) continue;
    const int other = k == edited ? verdict.other : k;
    return {std::nullopt, builder.Describe(verdict, "segment " + std::to_string(other))};
  }
  return {builder.Build(), {}};
}

std::optional<Grab> GrabAt(const EditedSegments& segments, double x, double y) {
  std::optional<Grab> grab;
  double nearest = kGrabEnd;
  for (int k = 0; k < static_cast<int>(segments.size()); ++k) {
    const EditEnds& e = segments[static_cast<std::size_t>(k)];
    for (const auto& [ex, ey, part] :
         {std::tuple{e.first_x, e.first_y, Grab::Part::kFirstEnd},
          std::tuple{e.second_x, e.second_y, Grab::Part::kSecondEnd}}) {
      if (const double d = std::hypot(x - ex, y - ey); d <= nearest) {
        nearest = d;
        grab = Grab{part, k};
      }
    }
  }
  if (grab) return grab;
  nearest = kGrabBody;
  for (int k = 0; k < static_cast<int>(segments.size()); ++k) {
    const EditEnds& e = segments[static_cast<std::size_t>(k)];
    const double d = DistanceToSegment(x, y, e.first_x, e.first_y, e.second_x, e.second_y);
    if (d <= nearest) {
      nearest = d;
      grab = Grab{Grab::Part::kWhole, k};
    }
  }
  return grab;
}

EditedSegments Moved(EditedSegments segments, Grab grab, double dx, double dy) {
  EditEnds& e = segments.at(static_cast<std::size_t>(grab.segment));
  if (grab.part != Grab::Part::kSecondEnd) e.first_x += dx, e.first_y += dy;
  if (grab.part != Grab::Part::kFirstEnd) e.second_x += dx, e.second_y += dy;
  return segments;
}

}  // namespace kaldra
