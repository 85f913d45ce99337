#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scene/float_fault.h"
#include "scene/scene.h"

namespace kaldra {

// Why a candidate cannot join a scene. Besides a crossing, most reasons would
// make some later construction divide by zero: a vertical or horizontal
// segment, parallel supporting lines, two ends of different segments that
// share an x or a y, or an end lying exactly on another segment's line.
enum class Refusal {
  kNone,
  kTooMany,           // the scene holds 101 segments already
  kOutside,           // an end lies outside the drawing rectangle
  kVertical,          // x1 = x2
  kHorizontal,        // y1 = y2
  kLineNotFinite,     // the slope or the intercept overflows
  kParallel,          // the same slope as segment `other`
  kSharedCoordinate,  // an end shares its x or its y with an end of `other`
  kEndOnLine,         // an end lies on the line of `other`, or one of its ends on ours
  kCrossing,          // crosses segment `other`
};

// The builder's answer for one candidate: accepted, or refused for a reason,
// with the accepted segment it conflicts with where there is one. Judging a
// candidate computes its line, and the plain arithmetic of a segment also
// takes its norm and its perpendicular's slope: a floating-point fault in any
// of these refuses the candidate too, unless a rule refused it first.
struct Verdict {
  Refusal refusal = Refusal::kNone;
  int other = -1;
  FloatFault fault = FloatFault::kNone;  // the fault a flag test would name
  double x = 0, y = 0;                   // kOutside: the first end found outside

  bool Accepted() const { return refusal == Refusal::kNone && fault == FloatFault::kNone; }
};

// The one place where candidates are judged and placed: the random scene, a
// scene read from text, the benchmarks and the tests all build through it, so
// a scene is refused for exactly the reasons a generated candidate would be.
class SceneBuilder {
 public:
  SceneBuilder(double width, double height) : width_(width), height_(height) {}

  // The verdict on the candidate from (x1, y1), the end generated first, to
  // (x2, y2), against the segments accepted so far. Its line is computed from
  // the first end, as the scene keeps it.
  Verdict Judge(double x1, double y1, double x2, double y2) const;

  // Judges the candidate and, when it is accepted, places it as the next
  // segment, left end first, with its line and constants.
  Verdict Add(double x1, double y1, double x2, double y2);

  int Count() const { return static_cast<int>(segments_.size()); }

  // The reason of a refusal in words, as the window, the renderer and scene
  // files give it: the rule the candidate breaks, or else its fault; `other`
  // names the segment the verdict points at. An end outside is named with its
  // coordinates and the rectangle.
  std::string Describe(const Verdict& verdict, std::string_view other) const;

  // The scene of the segments accepted so far. Precondition: Count() >= 1.
  Scene Build() const;

 private:
  // The rules in their order, the faults of their arithmetic in `faults`.
  Verdict JudgeRules(double x1, double y1, double x2, double y2, FaultRecord& faults) const;

  std::vector<Segment> segments_;
  double width_;
  double height_;
};

// A segment's line as the scene computes it, from the end generated first.
// Precondition: x1 != x2.
struct Line {
  double slope;
  double intercept;
};
Line LineThrough(double x1, double y1, double x2, double y2);
Line LineThrough(double x1, double y1, double x2, double y2, FaultRecord& faults);

}  // namespace kaldra
