#include <algorithm>
#include <cmath>

#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/traces.h"
#include "tracing/walk.h"

namespace kaldra {

namespace {

// How far the distances to a and b may differ at any sample of the walk that
// can reach the canvas, whose samples compare both probes with the distance
// to a alone. d_a^2 - d_b^2 = 2 P.(b - a) + |a|^2 - |b|^2 is affine along the
// walk's line, so it is largest at an end, and d_a + d_b >= |ab| turns it into
// a bound on d_a - d_b; each sample's distance from that line (its position's
// rounding, against a gradient of 2 |ab|) adds a little. Infinite, and so no
// window, where the squares could have underflowed or the ends lie far off.
double SiteGap(const LineWalk& walk, Point a, Point b) {
  const double ab2 = SquaredDistance(a.x, a.y, b.x, b.y);
  if (!(ab2 >= kSmallestSquared)) return std::numeric_limits<double>::infinity();
  double worst = 0;
  double position_error = 0;
  for (const double v : {walk.p, walk.q}) {
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    if (!(std::fabs(x) <= kWindowCoordinate && std::fabs(y) <= kWindowCoordinate)) {
      return std::numeric_limits<double>::infinity();
    }
    const double sa = SquaredDistance(x, y, a.x, a.y);
    const double sb = SquaredDistance(x, y, b.x, b.y);
    worst = std::max(worst, std::fabs(sa - sb) + Allowance(sa + sb));
    position_error = std::max(position_error, StraightPositionError(x, y, 0));
  }
  return worst / std::sqrt(ab2) * (1 + kAllowance) + 2 * position_error;
}

}  // namespace

std::uint64_t TraceEndpointBisector(const PairContext& pair, Point a, Point a_other, Point b,
                                    Point b_other, Color color) {
  const LineWalk walk = WalkEndpointBisector(
      PointBisectorLine(a.x, a.y, b.x, b.y, pair.scene.Width(), pair.scene.Height()));
  const Point qa = Probe(a, a_other);
  const Point qb = Probe(b, b_other);
  pair.out.ForeColor(color);
  const bool shortcuts = pair.scene.ModerateSlopes();
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn && shortcuts);
  const double speed = walk.Speed();
  const double gap = rejected.Enabled() ? SiteGap(walk, a, b) : 0;
  const auto reject = [&](double v, double x, double y, double radius) {
    rejected.Open(v, StraightReach(speed, x, y, radius));
  };
  const auto fast = [&](double v, double x, double y) {
    // On the bisector the distances to a and b are equal; d0 serves for both.
    const double s0 = SquaredDistance(x, y, a.x, a.y);
    double d0 = -1;
    auto exact_d0 = [&] {
      if (d0 < 0) d0 = PointDistance(x, y, a.x, a.y);
      return d0;
    };
    // Each end must be the nearest point of its own segment.
    if (ProbeNearer(x, y, qa, s0, exact_d0)) {
      if (rejected.Enabled()) reject(v, x, y, ProbeRadius(a.x, a.y, qa.x, qa.y, x, y, 0));
      return;
    }
    if (ProbeNearer(x, y, qb, s0, exact_d0)) {
      if (rejected.Enabled() && std::isfinite(gap)) {
        reject(v, x, y, ProbeRadius(b.x, b.y, qb.x, qb.y, x, y, gap));
      }
      return;
    }
    if (closer.AnyCloser(x, y, s0, exact_d0)) {
      if (rejected.Enabled()) {
        const double d = std::sqrt(s0);
        reject(v, x, y, CloserRadius(closer.LastCloser(), x, y, d, d));
      }
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  };
  // The sample as the plain arithmetic takes it, every step checked.
  const auto plain = [&](double v) __attribute__((noinline, cold)) {
    const double x = walk.CheckedXAt(v);
    const double y = walk.CheckedYAt(v);
    const double d0 = PointDistance(x, y, a.x, a.y);
    const double d1 = PointDistance(x, y, qa.x, qa.y);
    const double d2 = PointDistance(x, y, qb.x, qb.y);
    if (d1 < d0 || d2 < d0 || AnyCloserSegment(pair.scene, pair.i, pair.j, x, y, d0)) return;
    pair.PlotIfReachable(x, y);
  };
  return WalkSamples(walk, pair.bounds, shortcuts, rejected, fast, plain);
}

}  // namespace kaldra
