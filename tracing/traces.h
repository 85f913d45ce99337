#pragma once

#include <cstdint>

#include "geometry/constructions.h"
#include "scene/canvas.h"
#include "scene/scene.h"
#include "tracing/canvas_bounds.h"
#include "tracing/plotter.h"
#include "tracing/sweeps.h"
#include "tracing/tie_band.h"

namespace kaldra {

struct Point {
  double x, y;
};

// What every trace of one pair (i, j), i < j, shares.
struct PairContext {
  const Scene& scene;
  Plotter& out;
  CanvasBounds bounds;
  std::int16_t i;
  std::int16_t j;
  Skipping skipping;

  // Plots an accepted sample, unless it lies beyond the canvas's reach,
  // where it could land on no pixel, and so is neither converted to a float it
  // might not fit nor plotted.
  void PlotIfReachable(double x, double y) const {
    if (!bounds.Excludes(x, y)) out.PSet(static_cast<float>(x), static_cast<float>(y));
  }
};

// All traces of the pair, in a sweep's order: the first fault of a trace's
// arithmetic is a RunTimeError naming the sweep, the pair and the trace.
// Return the samples walked.
std::uint64_t TracePairOfSweepOne(const PairContext& pair);
std::uint64_t TracePairOfSweepTwo(const PairContext& pair);

// The point of a segment one thousandth of its length away from its end
// `site` towards its other end `other`.
inline Point Probe(Point site, Point other) {
  return {0.999 * site.x + 0.001 * other.x, 0.999 * site.y + 0.001 * other.y};
}

// Whether the probe q of a segment is strictly nearer to (x, y) than the
// segment's end, whose squared distance is s_site and whose exact distance
// d_site() yields: then the interior, not the end, is the nearest point.
template <typename Distance>
[[gnu::always_inline]] inline bool ProbeNearer(double x, double y, Point q, double s_site,
                                               Distance&& d_site) {
  switch (CompareSquared(SquaredDistance(x, y, q.x, q.y), s_site)) {
    case Order::kLess:
      return true;
    case Order::kGreater:
      return false;
    case Order::kTie:
      return PointDistance(x, y, q.x, q.y) < d_site();
  }
  return false;
}

// One endpoint bisector of the pair, in `color`: the samples of the
// perpendicular bisector of site a (an end of segment i) and site b (an end of
// segment j) at which each site is the nearest point of its own segment and
// no third segment is strictly closer. Returns the samples walked.
std::uint64_t TraceEndpointBisector(const PairContext& pair, Point a, Point a_other, Point b,
                                    Point b_other, Color color);

// One angle bisector of the pair's supporting lines, clipped, in `color`: the
// samples whose feet on both lines fall on the segments themselves and to
// which no third segment is strictly closer. Returns the samples walked.
std::uint64_t TraceLineBisector(const PairContext& pair, const ClippedLine& line, Color color);

// Which parabola frame an arc uses: the first or the second end as focus.
enum class FocusEnd { kFirst, kSecond };

// An arc's parabola placed on the canvas: the frame of the focus f (an end of
// segment p, whose other end is o) and the directrix (the line of segment l),
// the turn theta and the range of t that covers segment l.
struct ArcFrame {
  double h;  // focal half-distance
  double vx, vy;
  Point f, o, q;  // focus, other end, probe next to the focus
  double theta;
  double start, finish;
  double cos_neg, sin_neg;  // cos(-theta), sin(-theta)

  // The arc's point at t: the point (t^2 / 4h, t) of the parabola's own frame
  // (vertex at the origin, focus at (h, 0), directrix p = -h), turned by
  // -theta and moved to the vertex. `along` is t^2 / (h * 4).
  double XAt(double along, double t) const { return cos_neg * along + vx - sin_neg * t; }
  double YAt(double along, double t) const { return sin_neg * along + vy + cos_neg * t; }
};

ArcFrame FrameArc(const Scene& scene, std::int16_t l, std::int16_t p, FocusEnd end);

// One parabolic arc of the pair in `color`, with directrix the line of segment
// l and focus an end of segment p ({l, p} = {i, j}): the samples at which the
// focus is the nearest point of its own segment and no third segment is
// strictly closer. Returns the samples walked.
std::uint64_t TraceArc(const PairContext& pair, std::int16_t l, std::int16_t p, FocusEnd end,
                       Color color);

}  // namespace kaldra
