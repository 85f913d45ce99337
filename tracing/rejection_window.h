#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene/scene.h"
#include "tracing/canvas_bounds.h"
#include "tracing/foot_inside.h"
#include "tracing/tie_band.h"

namespace kaldra {

// Samples that can be rejected without being looked at.
//
// Every reason a trace rejects a sample for is a point being on the wrong
// side of something, by a margin that moves no faster than the sample does:
//
// - a third segment k closer than the pair: with d the pair's distance and
//   d_k segment k's, both distances to sets and so 1-Lipschitz, d - d_k shrinks
//   by at most 2L when the sample moves by L, so k stays closer for L < m / 2;
// - a probe point p nearer than the site s it stands beside: that is the
//   half-plane beyond the perpendicular bisector of s and p, and its boundary
//   is as far away as the sample's signed distance h to that line;
// - a foot of the perpendicular off a segment: that is the outside of the
//   slab between the perpendiculars at the segment's ends, whose boundary is
//   as far away as the foot is beyond the end, times the line's secant;
// - a sample outside the canvas's reach: its boundary is as far away as the
//   sample is beyond it along one axis.
//
// Each radius below is such a distance less an allowance for rounding, so that
// every sample whose computed position lies within it of the rejected one is
// rejected by the trace's own test for the same reason: there the true values
// are ordered with a gap of at least 1e-12 relative, where the trace's tests,
// exact to about 3.6e-15 relative outside the tie band and deciding by the
// exact distances inside it (tie_band.h), cannot disagree with them. Only
// rejections are ever skipped, so no point is lost and none is added.
//
// A walk turns a radius into a stretch of its own parameter by a bound on its
// speed (StraightReach, ArcReach): the samples it then skips are not even
// placed. Their skipped work raises no floating-point fault, since every
// position within a window is finite and moderate (see ArcReach), so skipping
// cannot hide one either.

// How far a computed sample may lie from the exact curve it is taken on: the
// roundings of a few products and sums of canvas-sized values, about 1e-12 on
// a canvas of 8192 pixels, with room to spare.
inline constexpr double kPositionSlack = 1e-9;

// Segment k was found closer than the pair's distance d at (x, y).
inline double CloserRadius(const Segment& k, double x, double y, double d) {
  double dk;
  if (FootInside(k, (y - k.perp * x) - k.intercept)) {
    dk = std::fabs(k.slope * x - y + k.intercept) / k.norm;
  } else {
    dk = std::sqrt(std::min(SquaredDistance(x, y, k.x1, k.y1), SquaredDistance(x, y, k.x2, k.y2)));
  }
  // The distances here are within about 1e-14 relative of the true ones.
  return 0.5 * (d - dk) - 1e-9 * (d + 1);
}

// The probe (px, py) was found nearer to (x, y) than the site (sx, sy), the
// trace comparing it against a distance that may differ from the site's by up
// to `site_error` along the walk (0 where it is the site's own).
//
// At a point at signed distance h' > 0 from the perpendicular bisector of s and
// p, d_s^2 - d_p^2 = 2 h' |sp|, so d_s - d_p > h' |sp| / d_s; with every
// distance involved below D inside the window, that exceeds site_error plus
// 1e-12 D once h' > (site_error + 1e-12 D) D / |sp|.
inline double ProbeRadius(double sx, double sy, double px, double py, double x, double y,
                          double site_error) {
  const double nx = px - sx;
  const double ny = py - sy;
  const double len = std::sqrt(nx * nx + ny * ny);
  if (!(len > 0)) return 0;
  const double h = ((x - 0.5 * (sx + px)) * nx + (y - 0.5 * (sy + py)) * ny) / len;
  if (!(h > 0)) return 0;
  const double d = std::sqrt(SquaredDistance(x, y, sx, sy));
  const double reach = d + h + site_error + 1;
  return h - (site_error + 1e-12 * reach) * reach / len - 1e-9 * reach;
}

// The foot of the perpendicular from (x, y) on segment s's line was found off
// the segment. The foot's x moves by at most L / norm, norm = sqrt(1 + slope^2), when the
// sample moves by L; the computed foot is within a few ulps of canvas-sized
// values of the true one.
inline double FootRadius(const Segment& s, double x, double y) {
  const double foot = ((y - s.perp * x) - s.intercept) / s.foot_den;
  const double beyond = std::max(s.x1 - foot, foot - s.x2);
  const double allowance = 1e-9 *
                           (1 + std::fabs(x) + std::fabs(y) + std::fabs(s.x1) + std::fabs(s.y1));
  return (beyond - allowance) * s.norm * (1 - 1e-12);
}

// (x, y) was found outside the canvas's reach.
inline double OutsideRadius(const CanvasBounds& b, double x, double y) {
  const double beyond = std::max({b.min_x - x, x - b.max_x, b.min_y - y, y - b.max_y});
  return beyond - 1e-9 * (1 + std::fabs(x) + std::fabs(y));
}

// No window needs to reach further than a walk on the largest canvas is
// long; capping the radius keeps the arithmetic below far from overflow.
inline constexpr double kLongestReach = 1e6;

// How far a straight walk's parameter reaches within a radius: samples move
// by `speed` per unit of the parameter, sqrt(1 + slope^2) along x and
// sqrt(1 + 1 / slope^2) along y, and each computed position may be off by
// kPositionSlack.
inline double StraightReach(double speed, double radius) {
  return (std::min(radius, kLongestReach) - 2 * kPositionSlack) / (speed * (1 + 1e-12));
}

// How far an arc's parameter reaches from t0 within a radius. The arc
// (t^2 / 4h, t), turned, moves at sqrt(1 + (t / 2h)^2) <= 1 + |t| / 2h per
// unit of t, and |t| <= |t0| + dt, so a step dt moves it by at most
// dt (1 + (|t0| + dt) / 2h): dt is the root of that equal to the radius.
// Its computed positions are within a few ulps of their largest term (at most
// T^2 / 4h, |t| <= T, the vertex); a window reaching positions beyond 1e100,
// where products might overflow, is not opened.
inline double ArcReach(double h, double vx, double vy, double t0, double radius) {
  if (!(radius > 0) || !(h > 1e-100) || !(std::fabs(t0) < kLongestReach)) return 0;
  radius = std::min(radius, kLongestReach);
  const double far = std::fabs(t0) + radius;
  if (!(far * far < 4e100 * h)) return 0;
  const double k = 1 / (2 * h);
  const double along = 0.5 * k * far * far;
  const double slack = 1e-14 * (1 + std::fabs(vx) + std::fabs(vy) + far + along);
  const double r = radius / (1 + 1e-12) - 2 * (slack + kPositionSlack);
  if (!(r > 0)) return 0;
  const double b = 1 + k * std::fabs(t0);
  return 2 * r / (b + std::sqrt(b * b + 4 * k * r)) * (1 - 1e-12);
}

// The stretch of a walk's parameter, just after a rejected sample, over which
// every sample is rejected too.
class RejectionWindow {
 public:
  explicit RejectionWindow(bool enabled) : enabled_(enabled) {}

  // Whether the sample at parameter v lies within the window opened last.
  // Walks only ever go forward, so the window's end alone decides.
  bool Covers(double v) const { return v < until_; }

  // Where the window ends: the first parameter it does not cover.
  double End() const { return until_; }

  // Whether windows are opened at all: a radius is worth working out only
  // then.
  bool Enabled() const { return enabled_; }

  // A sample at v0 was rejected, and so is every sample up to v0 + reach.
  // The end is drawn in by 1e-12 of both, far more than the sum's rounding,
  // so as never to lie beyond that.
  void Open(double v0, double reach) {
    if (!enabled_ || !(reach > 0)) return;
    until_ = v0 + reach * (1 - 1e-12) - 1e-12 * std::fabs(v0);
  }

 private:
  bool enabled_;
  double until_ = -std::numeric_limits<double>::infinity();
};

}  // namespace kaldra
