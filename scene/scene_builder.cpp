#include "scene/scene_builder.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "scene/decimal_text.h"
#include "scene/power.h"

namespace kaldra {

namespace {

// An end exactly on a line: the same expression, in the same order, as the
// distance numerator of the parabola frame, so "on the line" here is exactly
// "focal distance 0" there.
bool OnLine(double slope, double intercept, double x, double y, FaultRecord& faults) {
  return faults.Add(faults.Sub(faults.Mul(x, slope), y), intercept) == 0.0;
}

struct Candidate {
  double x1, y1, x2, y2;
  Line line;
};

bool SharesCoordinate(const Segment& s, const Candidate& c) {
  return c.x1 == s.x1 || c.x1 == s.x2 || c.x2 == s.x1 || c.x2 == s.x2 ||  //
         c.y1 == s.y1 || c.y1 == s.y2 || c.y2 == s.y1 || c.y2 == s.y2;
}

bool EndOnLine(const Segment& s, const Candidate& c, FaultRecord& faults) {
  return OnLine(s.slope, s.intercept, c.x1, c.y1, faults) ||
         OnLine(s.slope, s.intercept, c.x2, c.y2, faults) ||
         OnLine(c.line.slope, c.line.intercept, s.x1, s.y1, faults) ||
         OnLine(c.line.slope, c.line.intercept, s.x2, s.y2, faults);
}

// The lines meet at xi; the segments cross when xi lies strictly inside both
// x-ranges. Touching at an end's x is no crossing.
bool Crosses(const Segment& s, const Candidate& c, FaultRecord& faults) {
  double lo = c.x1;
  double hi = c.x2;
  if (lo > hi) std::swap(lo, hi);
  const double xi = faults.Div(faults.Sub(c.line.intercept, s.intercept),
                               faults.Sub(s.slope, c.line.slope));
  return lo < xi && xi < hi && s.x1 < xi && xi < s.x2;
}

bool Inside(double v, double limit) { return v >= 0 && v <= limit; }

}  // namespace

Line LineThrough(double x1, double y1, double x2, double y2, FaultRecord& faults) {
  const double slope = faults.Div(faults.Sub(y2, y1), faults.Sub(x2, x1));
  return {slope, faults.Sub(y1, faults.Mul(slope, x1))};
}

Line LineThrough(double x1, double y1, double x2, double y2) {
  FaultRecord ignored;
  return LineThrough(x1, y1, x2, y2, ignored);
}

Verdict SceneBuilder::Judge(double x1, double y1, double x2, double y2) const {
  FaultRecord faults;
  Verdict verdict = JudgeRules(x1, y1, x2, y2, faults);
  verdict.fault = faults.Worst();
  return verdict;
}

Verdict SceneBuilder::JudgeRules(double x1, double y1, double x2, double y2,
                                 FaultRecord& faults) const {
  if (Count() >= Scene::kMaxSegments) return {Refusal::kTooMany};
  for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
    if (!Inside(x, width_) || !Inside(y, height_)) {
      return {Refusal::kOutside, -1, FloatFault::kNone, x, y};
    }
  }
  // Vertical and horizontal first: the slope of the one is 0 / 0 or a
  // division by zero, that of the other a zero no perpendicular can take.
  if (x1 == x2) return {Refusal::kVertical};
  if (y1 == y2) return {Refusal::kHorizontal};
  const Candidate c{x1, y1, x2, y2, LineThrough(x1, y1, x2, y2, faults)};
  if (!std::isfinite(c.line.slope) || !std::isfinite(c.line.intercept)) {
    return {Refusal::kLineNotFinite};
  }
  for (int k = 0; k < Count(); ++k) {
    const Segment& s = segments_[static_cast<std::size_t>(k)];
    // Parallel lines first: the crossing test divides by the slopes' difference.
    if (c.line.slope == s.slope) return {Refusal::kParallel, k};
    if (SharesCoordinate(s, c)) return {Refusal::kSharedCoordinate, k};
    if (EndOnLine(s, c, faults)) return {Refusal::kEndOnLine, k};
    if (Crosses(s, c, faults)) return {Refusal::kCrossing, k};
  }
  // What the drawing computes of every segment's line, sample after sample:
  // the norm (slope^2 + 1)^0.5 of a line distance and the slope -1 / slope
  // of a perpendicular. A line whose norm overflows, or whose slope is so
  // small that the perpendicular's overflows or divides by zero, could never
  // be drawn.
  faults.Add(faults.Mul(c.line.slope, c.line.slope), 1);
  faults.Sub(c.line.slope, faults.Div(-1, c.line.slope));
  return {};
}

Verdict SceneBuilder::Add(double x1, double y1, double x2, double y2) {
  const Verdict verdict = Judge(x1, y1, x2, y2);
  if (!verdict.Accepted()) return verdict;
  const Line line = LineThrough(x1, y1, x2, y2);
  Segment s{};
  // Normal form, left end first; the line stays the one computed from the end
  // generated first, even when that end is now the right one.
  s.left_end_first = x1 < x2;
  if (s.left_end_first) {
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
  } else {
    s.x1 = x2, s.y1 = y2, s.x2 = x1, s.y2 = y1;
  }
  s.slope = line.slope;
  s.intercept = line.intercept;
  s.norm = Root(Square(s.slope) + 1);
  s.norm2 = s.norm * s.norm;
  s.perp = -1 / s.slope;
  s.foot_den = s.slope - s.perp;
  s.inv_foot_den = 1 / s.foot_den;
  segments_.push_back(s);
  return verdict;
}

Scene SceneBuilder::Build() const { return Scene(segments_, width_, height_); }

std::string SceneBuilder::Describe(const Verdict& verdict, std::string_view other) const {
  const std::string o(other);
  switch (verdict.refusal) {
    case Refusal::kTooMany:
      return "more than " + std::to_string(Scene::kMaxSegments) + " segments";
    case Refusal::kOutside:
      return "the end (" + ShortestText(verdict.x) + ", " + ShortestText(verdict.y) +
             ") lies outside the drawing rectangle [0, " + ShortestText(width_) + "] x [0, " +
             ShortestText(height_) + "]";
    case Refusal::kVertical:
      return "the segment is vertical (x1 = x2)";
    case Refusal::kHorizontal:
      return "the segment is horizontal (y1 = y2)";
    case Refusal::kLineNotFinite:
      return "the segment's line y = slope * x + intercept is not finite";
    case Refusal::kParallel:
      return "the segment has the same slope as " + o;
    case Refusal::kSharedCoordinate:
      return "an end shares its x or its y with an end of " + o;
    case Refusal::kEndOnLine:
      return "an end lies exactly on the line of " + o +
             ", or an end of that segment on this one's line";
    case Refusal::kCrossing:
      return "the segment crosses " + o;
    case Refusal::kNone:
      break;
  }
  return std::string(FaultName(verdict.fault)) +
         " computing the segment's line or testing it against the segments before it";
}

}  // namespace kaldra
