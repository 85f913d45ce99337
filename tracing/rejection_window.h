#pragma once

#include <algorithm>
#include <cmath>

#include "scene/scene.h"
#include "tracing/foot_inside.h"
#include "tracing/tie_band.h"

namespace kaldra {

// Samples that can be rejected without asking which segment is closer.
//
// The bound. Every distance a trace compares is a distance to a set (a point,
// a line, a segment), so it is 1-Lipschitz in the sample's position: moving
// the sample by a distance L changes it by at most L. Say a third segment k is
// closer than the pair at the sample P, by the margin m = d(P) - d_k(P), with
// d the pair's distance. At a later sample P' with |PP'| <= L, d(P') >= d(P) -
// L and d_k(P') <= d_k(P) + L, so d(P') - d_k(P') >= m - 2L: segment k is
// still strictly closer while L < m / 2, and the sample is rejected whatever
// else its trace would test. |PP'| is at most the path walked from P to P', so
// measuring the straight distance from P is the same bound, only sharper.
//
// Rounding. d and d_k here are computed with a few roundings (within about
// 1e-14 relative of the true distances), and the trace's own decision at P'
// agrees with the true distances except within a relative 3.6e-15 of a tie
// (see tie_band.h). Taking the radius as m / 2 - 1e-9 * (d + 1) leaves, at
// every covered sample, a true gap of at least 2e-9 * (d + 1), far beyond
// both; the squared radius and the squared distance to P round by a few ulps,
// a further 1e-15 relative. A caller may also give the sample's position
// only to within kPositionSlack; the radius leaves that out as well. Only
// rejections are ever skipped: a sample the
// window covers is one the full test would have rejected.
//
// The skipped work on a sample inside the canvas bounds raises no floating-
// point fault (finite differences, products and divisions by nonzero
// constants), so skipping it cannot hide one.
class RejectionWindow {
 public:
  explicit RejectionWindow(bool enabled) : enabled_(enabled) {}

  // Whether (x, y) is within the window opened last: rejected outright.
  bool Covers(double x, double y) const { return r2_ > 0 && SquaredDistance(x, y, x0_, y0_) < r2_; }

  // Segment k was found closer than the pair's distance d at (x, y).
  void Open(const Segment& k, double x, double y, double d) {
    if (!enabled_) return;
    const double r = 0.5 * (d - DistanceTo(k, x, y)) - 1e-9 * (d + 1) - kPositionSlack;
    x0_ = x;
    y0_ = y;
    r2_ = r > 0 ? r * r : 0;
  }

  // How far the position given to Covers may be from the true sample.
  static constexpr double kPositionSlack = 1e-9;

 private:
  // The distance from (x, y) to segment k: to its line when the foot falls on
  // it, else to the nearer end.
  static double DistanceTo(const Segment& k, double x, double y) {
    if (FootInside(k, (y - k.perp * x) - k.intercept)) {
      return std::fabs(k.slope * x - y + k.intercept) / k.norm;
    }
    return std::sqrt(
        std::min(SquaredDistance(x, y, k.x1, k.y1), SquaredDistance(x, y, k.x2, k.y2)));
  }

  bool enabled_;
  double x0_ = 0, y0_ = 0;
  double r2_ = 0;  // nothing is strictly inside a radius of 0
};

}  // namespace kaldra
