#pragma once

#include <cmath>
#include <cstdint>

#include "geometry/constructions.h"
#include "tracing/accumulate.h"

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

  double XAt(double v) const { return steep ? (v - intercept) / slope : v; }
  double YAt(double v) const { return steep ? v : slope * v + intercept; }

  // How far a sample moves per unit of v.
  double Speed() const { return steep ? std::hypot(1.0, 1 / slope) : std::hypot(1.0, slope); }
};

// The walk of the line through the clipped ends, with the given slope.
inline LineWalk WalkAlong(const ClippedLine& line, double slope) {
  LineWalk w{slope, line.StartY - slope * line.StartX, std::fabs(slope) > 1, line.StartX,
             line.EndX};
  if (slope > 1) {
    w.p = slope * line.StartX + w.intercept;
    w.q = slope * line.EndX + w.intercept;
  } else if (slope < -1) {
    w.p = slope * line.EndX + w.intercept;
    w.q = slope * line.StartX + w.intercept;
  }
  return w;
}

// The walk of a clipped endpoint bisector. Its ends always differ in x: the
// bisector of two points of the rectangle passes through their midpoint.
inline LineWalk WalkEndpointBisector(const ClippedLine& line) {
  return WalkAlong(line, (line.StartY - line.EndY) / (line.StartX - line.EndX));
}

// The walk of a clipped angle bisector. A bisector that misses the rectangle
// has two equal ends; the slope 9999 then makes it a steep walk of exactly one
// sample, at the ends, instead of a division 0 / 0.
inline LineWalk WalkLineBisector(const ClippedLine& line) {
  const double slope = line.StartX == line.EndX
                           ? 9999
                           : (line.StartY - line.EndY) / (line.StartX - line.EndX);
  return WalkAlong(line, slope);
}

// The half-pixel step of sweep 1 along the dominant axis.
inline constexpr double kLineStep = 0.5;

// Walks the line and hands each sample that the window does not cover and
// that can reach the canvas to `sample(v, x, y)`; returns how many samples
// were walked.
template <typename Bounds, typename Window, typename Sample>
std::uint64_t WalkSamples(const LineWalk& walk, const Bounds& bounds, const Window& window,
                          Sample&& sample) {
  return WalkAccumulated(walk.p, walk.q, kLineStep, window, [&](double v) {
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    if (!bounds.Excludes(x, y)) sample(v, x, y);
  });
}

}  // namespace kaldra
