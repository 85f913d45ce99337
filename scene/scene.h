#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace kaldra {

// One segment of a built scene, with what the sweeps ask of it for every
// sample worked out once. The segment runs from (x1, y1) to (x2, y2) with
// x1 < x2, on the line y = slope * x + intercept computed from the end that
// was generated first.
struct Segment {
  double x1, y1, x2, y2;
  double slope, intercept;
  bool left_end_first;  // whether (x1, y1) is the end generated first

  // Exact fields are computed with the very expression the plain
  // constructions evaluate for every sample, so they are the same doubles; the
  // approximate ones only ever decide comparisons far from a tie.
  double norm;          // exact: Root(Square(slope) + 1), the line distance's divisor
  double norm2;         // approximate: norm * norm
  double perp;          // exact: -1 / slope, the slope of a perpendicular
  double foot_den;      // exact: slope - perp, the divisor of a foot's x
  double inv_foot_den;  // approximate: 1 / foot_den
};

// A slope between 2^-400 and 2^400 in size. On such lines, at points within
// 2^510 of the origin, no step of the plain arithmetic of a sample (distances,
// line distances, feet of perpendiculars) can overflow or divide by zero, and
// the sweeps' shortcuts may stand in for it (tracing/moderate.h). A scene may
// hold steeper or flatter segments; the sweeps then take every sample plainly.
inline bool ModerateSlope(double slope) {
  const double size = std::fabs(slope);
  return size >= 0x1p-400 && size <= 0x1p400;
}

// A scene as the diagram is traced on it: its segments in the order they were
// accepted and the drawing rectangle [0, Width()] x [0, Height()]. Only
// SceneBuilder makes one, so every scene holds what the builder guarantees:
// 1 to 101 segments, none vertical or horizontal, no two parallel, crossing or
// sharing an x or a y, no end exactly on another segment's line, every end
// inside the rectangle. Immutable once built.
class Scene {
 public:
  // The most segments a scene holds: the table's subscripts run from 0 to 100.
  static constexpr int kMaxSegments = 101;

  // SegCount: the number of segments.
  std::int16_t SegCount() const { return static_cast<std::int16_t>(segments_.size()); }
  int Count() const { return static_cast<int>(segments_.size()); }

  // Segment k; a subscript outside 0 to Count() - 1 is a run-time error.
  const Segment& operator[](int k) const;
  std::span<const Segment> Segments() const { return segments_; }

  // ViewW and ViewH: the drawing rectangle the lines are clipped to.
  double Width() const { return width_; }
  double Height() const { return height_; }

  // Whether every slope is moderate (ModerateSlope).
  bool ModerateSlopes() const { return moderate_slopes_; }

 private:
  friend class SceneBuilder;
  Scene(std::vector<Segment> segments, double width, double height)
      : segments_(std::move(segments)), width_(width), height_(height) {
    for (const Segment& s : segments_)
      moderate_slopes_ = moderate_slopes_ && ModerateSlope(s.slope);
  }

  std::vector<Segment> segments_;
  double width_ = 0;
  double height_ = 0;
  bool moderate_slopes_ = true;
};

}  // namespace kaldra
