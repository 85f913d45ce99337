#pragma once

#include <cmath>
#include <cstdint>

#include "geometry/constructions.h"
#include "scene/float_fault.h"
#include "tracing/accumulate.h"
#include "tracing/canvas_bounds.h"
#include "tracing/moderate.h"
#include "tracing/rejection_window.h"

namespace kaldra {

// How a clipped straight line is walked: along y when it is steep (|slope| >
// 1), along x otherwise (a slope of exactly 1 is walked along x), always from
// the smaller value p up to the larger value q.
struct LineWalk {
  double slope;
  double intercept;
  bool steep;
  double p;
  double q;

  // The sample at v, as the plain arithmetic computes it.
  double XAt(double v) const { return steep ? (v - intercept) / slope : v; }
  double YAt(double v) const { return steep ? v : slope * v + intercept; }
  // The same, each step checked.
  double CheckedXAt(double v) const {
    return steep ? CheckedDiv(Checked(v - intercept), slope) : v;
  }
  double CheckedYAt(double v) const { return steep ? v : Checked(Checked(slope * v) + intercept); }

  // How far a sample moves per unit of v, rounded at most u below.
  double Speed() const {
    return steep ? std::sqrt(1 + 1 / (slope * slope)) : std::sqrt(1 + slope * slope);
  }
};

// The walk of the line through the clipped ends, with the given slope, every
// step checked.
inline LineWalk WalkAlong(const ClippedLine& line, double slope) {
  const double intercept = Checked(line.StartY - Checked(slope * line.StartX));
  LineWalk w{slope, intercept, std::fabs(slope) > 1, line.StartX, line.EndX};
  const auto at = [&](double x) { return Checked(Checked(slope * x) + intercept); };
  if (slope > 1) {
    w.p = at(line.StartX);
    w.q = at(line.EndX);
  } else if (slope < -1) {
    w.p = at(line.EndX);
    w.q = at(line.StartX);
  }
  return w;
}

// The walk of a clipped endpoint bisector. Its ends differ in x, as the
// bisector of two points of the rectangle passes through their midpoint,
// unless rounding makes a nearly vertical one's ends meet: then the slope's
// division faults.
inline LineWalk WalkEndpointBisector(const ClippedLine& line) {
  return WalkAlong(line,
                   CheckedDiv(Checked(line.StartY - line.EndY), Checked(line.StartX - line.EndX)));
}

// The walk of a clipped angle bisector. A bisector that misses the rectangle
// has two equal ends; the slope 9999 then makes it a steep walk of exactly one
// sample, at the ends, instead of a division 0 / 0.
inline LineWalk WalkLineBisector(const ClippedLine& line) {
  const double slope = line.StartX == line.EndX ? 9999
                                                : CheckedDiv(Checked(line.StartY - line.EndY),
                                                             Checked(line.StartX - line.EndX));
  return WalkAlong(line, slope);
}

// The half-pixel step of sweep 1 along the dominant axis.
inline constexpr double kLineStep = 0.5;

// Walks the line. Each sample the window does not cover and whose position
// is moderate and within the canvas's reach goes to `fast(v, x, y)`; one
// outside the reach opens a window up to where the line may come back; one
// whose position is not moderate, and every sample where the shortcuts are
// off (`shortcuts` false: a scene with an immoderate slope), goes to
// `plain(v)`, which takes it with every step checked. Returns how many samples
// were walked.
template <typename Fast, typename Plain>
std::uint64_t WalkSamples(const LineWalk& walk, const CanvasBounds& bounds, bool shortcuts,
                          RejectionWindow& window, Fast&& fast, Plain&& plain) {
  const double speed = walk.Speed();
  // A sample's computed coordinates are monotone in v, each step of them
  // rounding monotonically, so they lie between those of the walk's ends:
  // when both ends are well within the moderate range, so is every sample,
  // and no sample needs asking.
  const auto well_within = [&](double v) {
    return std::fabs(walk.XAt(v)) <= kWindowCoordinate &&
           std::fabs(walk.YAt(v)) <= kWindowCoordinate;
  };
  const bool ask = !(shortcuts && well_within(walk.p) && well_within(walk.q));
  return WalkAccumulated(walk.p, walk.q, kLineStep, window, [&](double v) {
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    if (ask && (!shortcuts || !ModeratePosition(x, y))) {
      plain(v);
      return;
    }
    if (bounds.Excludes(x, y)) {
      if (window.Enabled()) {
        window.Open(v, StraightReach(speed, x, y, OutsideRadius(bounds, x, y)));
      }
      return;
    }
    fast(v, x, y);
  });
}

}  // namespace kaldra
