#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene/scene.h"
#include "tracing/canvas_bounds.h"
#include "tracing/foot_inside.h"
#include "tracing/moderate.h"
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
// Each radius below is such a margin, less what rounding can take from it,
// so that every sample whose computed position lies within the radius of the
// rejected one is rejected by the trace's own test, for that reason or an
// earlier one. Only rejections are ever skipped, so no point is lost and none
// is added; and a window only opens where the samples it covers stay moderate
// (tracing/moderate.h), so skipping them hides no fault either.
//
// The error budget. With u = 2^-53, every rounding error a window must allow
// for is a few operations' worth, at most 64u (2^-47) times a scale: the sum of
// the sizes of the quantities that enter it, which each radius works out for
// itself. They are:
//   - the margin's own computation at the rejected sample (a distance, a
//     signed distance to a bisector, a foot beyond an end);
//   - the tests at a covered sample: a point distance within 3u of the exact
//     distance of its computed position, a line distance within 4u of its
//     terms' sizes over the norm (tie_band.h); both sides of every comparison
//     are decided as the exact values order them outside a band of 16u;
//   - a foot's x, within 8u of the sizes of its terms over its divisor
//     (FootError): where the exact foot lies that close to an end, the
//     computed test can fall either way, so a segment's distance as a trace
//     takes it (its line's distance while the computed foot is inside, an
//     end's otherwise) may differ from the true one by that error times the
//     norm. For a segment only a few units in the last place wide, or very
//     steep, that is far more than a pixel, and its windows stay closed;
//   - the computed positions of both samples, within a few u of their terms'
//     sizes of the exact curve through the trace's constants
//     (StraightPositionError, and within ArcReach).
// One allowance covers them all: kAllowance = 2^-40, 128 times the largest
// term, per unit of scale, plus kFloor for the absolute errors of results that
// underflow. A margin that does not exceed it opens no window.
inline constexpr double kAllowance = 0x1p-40;
inline constexpr double kFloor = 0x1p-900;
inline double Allowance(double scale) { return kAllowance * scale + kFloor; }

// The farthest a foot's window reaches: further than any walk over the
// largest canvas is long, so no window is cut short that matters, while the
// coordinates of the samples it covers stay within a canvas-sized sum.
inline constexpr double kNearReach = 1e6;

// How far a foot's computed x may lie from the exact x of the foot of (x, y)
// on segment s's line, for every point within `reach` of (x, y): the numerator
// (y - perp x) - intercept is exact to 4u of its terms' sizes, including the
// rounding of perp itself, the divisor slope - perp to 2u, and the quotient
// adds 3u of the foot's own size; doubled for safety, and counted once more
// for the point at the other end of the window.
inline double FootError(const Segment& s, double x, double y, double reach) {
  const double terms = std::fabs(y) + reach + std::fabs(s.perp) * (std::fabs(x) + reach) +
                       std::fabs(s.intercept);
  const double foot = std::max(std::fabs(s.x1), std::fabs(s.x2)) + reach;
  return Allowance(terms / std::fabs(s.foot_den) + foot);
}

// Segment k was found closer than the pair's distance d at (x, y), by the
// trace's own test. `d_scale` is the size of the terms of the pair's distance
// (d itself for a distance to a point; the terms of the numerator over the
// norm for a line's distance). The window's reach is at most d / 2, so every
// quantity at a covered sample is within 2d of its size here.
inline double CloserRadius(const Segment& k, double x, double y, double d, double d_scale) {
  double dk;
  double dk_scale;
  if (FootInside(k, (y - k.perp * x) - k.intercept)) {
    dk = std::fabs(k.slope * x - y + k.intercept) / k.norm;
    dk_scale = (std::fabs(k.slope * x) + std::fabs(y) + std::fabs(k.intercept)) / k.norm;
  } else {
    dk = std::sqrt(std::min(SquaredDistance(x, y, k.x1, k.y1), SquaredDistance(x, y, k.x2, k.y2)));
    dk_scale = dk;
  }
  // The foot's misjudgement near an end, at both samples, as a distance.
  const double slack = 2 * FootError(k, x, y, d) * k.norm;
  return 0.5 * (d - dk - slack - Allowance(5 * d + d_scale + dk + dk_scale));
}

// The probe (px, py) was found nearer to (x, y) than the site (sx, sy), the
// trace comparing it against a distance that may differ from the site's by up
// to `site_error` along the walk (0 where it is the site's own).
//
// At a point at signed distance h' > 0 from the perpendicular bisector of s and
// p, d_s^2 - d_p^2 = 2 h' |sp|, so d_s - d_p >= h' |sp| / D for D bounding both
// distances; inside the window D = d + h + site_error + 1 does. The trace's test
// still finds the probe nearer where that exceeds site_error and the rounding
// of both distances, which the allowance of D covers.
inline double ProbeRadius(double sx, double sy, double px, double py, double x, double y,
                          double site_error) {
  const double nx = px - sx;
  const double ny = py - sy;
  const double len = std::sqrt(nx * nx + ny * ny);
  if (!(len > 0x1p-400)) return 0;  // a probe this near its site: no window
  const double h = ((x - 0.5 * (sx + px)) * nx + (y - 0.5 * (sy + py)) * ny) / len;
  if (!(h > 0)) return 0;
  const double d = std::sqrt(SquaredDistance(x, y, sx, sy));
  const double reach = d + h + site_error + 1;
  const double h_scale = std::fabs(x) + std::fabs(y) + std::fabs(sx) + std::fabs(px) +
                         std::fabs(sy) + std::fabs(py);
  return h - (site_error + Allowance(reach)) * reach / len - Allowance(h_scale);
}

// The foot of the perpendicular from (x, y) on segment s's line was found off
// the segment. The exact foot's x moves by at most L / norm when the point
// moves by L, and the computed one is within FootError of it at both samples.
inline double FootRadius(const Segment& s, double x, double y) {
  const double foot = ((y - s.perp * x) - s.intercept) / s.foot_den;
  const double beyond = std::max(s.x1 - foot, foot - s.x2);
  const double radius = (beyond - 2 * FootError(s, x, y, kNearReach)) * s.norm * (1 - kAllowance);
  return std::min(radius, kNearReach);
}

// (x, y) was found outside the canvas's reach. Only a window whose samples
// stay moderate opens; it may reach far, so that a walk far outside the canvas
// comes back at once.
inline double OutsideRadius(const CanvasBounds& b, double x, double y) {
  if (!(std::fabs(x) <= kWindowCoordinate && std::fabs(y) <= kWindowCoordinate)) return 0;
  const double beyond = std::max({b.min_x - x, x - b.max_x, b.min_y - y, y - b.max_y});
  return std::min(beyond - Allowance(std::fabs(x) + std::fabs(y) + b.max_x + b.max_y),
                  kWindowCoordinate - std::max(std::fabs(x), std::fabs(y)));
}

// How far a computed position on a straight walk may lie from the exact line
// through the walk's constants, at a sample within `radius` of (x, y): a
// product and a sum, or a difference and a quotient, each within u of its
// result or its terms.
inline double StraightPositionError(double x, double y, double radius) {
  return Allowance(std::fabs(x) + std::fabs(y) + radius);
}

// How far a straight walk's parameter reaches from the sample (x, y) within a
// radius: samples move by `speed` per unit of the parameter, sqrt(1 + slope^2)
// along x and sqrt(1 + 1 / slope^2) along y, and each computed position,
// the first's and the last's, may be off the exact line.
inline double StraightReach(double speed, double x, double y, double radius) {
  if (!(radius > 0)) return 0;
  return (radius - 2 * StraightPositionError(x, y, radius)) / (speed * (1 + kAllowance));
}

// How far an arc's parameter reaches from t0 within a radius. The arc
// (t^2 / 4h, t), turned, moves at sqrt(1 + (t / 2h)^2) <= 1 + |t| / 2h per
// unit of t, and |t| <= |t0| + dt, so a step dt moves it by at most
// dt (1 + (|t0| + dt) / 2h): dt is the root of that equal to the radius. Its
// computed positions are within a few u of their largest terms (at most
// T^2 / 4h, |t| <= T, the vertex); a window whose positions might leave the
// moderate range is not opened.
inline double ArcReach(double h, double vx, double vy, double t0, double radius) {
  if (!(radius > 0) || !(h > 0x1p-400) || !(std::fabs(t0) < kWindowCoordinate)) return 0;
  radius = std::min(radius, kWindowCoordinate);
  const double far = std::fabs(t0) + radius;
  const double k = 1 / (2 * h);
  const double along = 0.5 * k * far * far;
  if (!(along + std::fabs(vx) + std::fabs(vy) + far < kWindowCoordinate)) return 0;
  const double slack = Allowance(std::fabs(vx) + std::fabs(vy) + far + along);
  const double r = radius / (1 + kAllowance) - 2 * slack;
  if (!(r > 0)) return 0;
  const double b = 1 + k * std::fabs(t0);
  return 2 * r / (b + std::sqrt(b * b + 4 * k * r)) * (1 - kAllowance);
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
  // The end is drawn in by the allowance of both, far more than the sum's
  // rounding, so as never to lie beyond that.
  void Open(double v0, double reach) {
    if (!enabled_ || !(reach > 0)) return;
    until_ = v0 + reach * (1 - kAllowance) - kAllowance * std::fabs(v0);
  }

 private:
  bool enabled_;
  double until_ = -std::numeric_limits<double>::infinity();
};

}  // namespace kaldra
