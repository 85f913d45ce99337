#include <algorithm>
#include <cmath>

#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/traces.h"
#include "tracing/walk.h"

namespace kaldra {

namespace {

// How far the distances to a and b may differ at any sample of the walk,
// whose samples compare both probes with the distance to a alone. d_a^2 -
// d_b^2 = 2 P.(b - a) + |a|^2 - |b|^2 is affine along the walk's line, so it is
// largest at an end, and d_a + d_b >= |ab| turns it into a bound on d_a - d_b;
// each sample's distance from that line and the roundings add a little.
double SiteGap(const LineWalk& walk, Point a, Point b) {
  double worst = 0;
  for (const double v : {walk.p, walk.q}) {
    const double sa = SquaredDistance(walk.XAt(v), walk.YAt(v), a.x, a.y);
    const double sb = SquaredDistance(walk.XAt(v), walk.YAt(v), b.x, b.y);
    worst = std::max(worst, std::fabs(sa - sb) + 1e-12 * (sa + sb));
  }
  const double ab = std::sqrt(SquaredDistance(a.x, a.y, b.x, b.y));
  return worst / ab + 4 * kPositionSlack;
}

}  // namespace

std::uint64_t TraceEndpointBisector(const PairContext& pair, Point a, Point a_other, Point b,
                                    Point b_other, Color color) {
  const LineWalk walk = WalkEndpointBisector(
      PointBisectorLine(a.x, a.y, b.x, b.y, pair.scene.Width(), pair.scene.Height()));
  const Point qa = Probe(a, a_other);
  const Point qb = Probe(b, b_other);
  pair.out.ForeColor(color);
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn);
  const double speed = walk.Speed();
  const double gap = rejected.Enabled() ? SiteGap(walk, a, b) : 0;
  const auto reject = [&](double v, double radius) {
    rejected.Open(v, StraightReach(speed, radius));
  };
  return WalkSamples(walk, pair.bounds, rejected, [&](double v, double x, double y) {
    // On the bisector the distances to a and b are equal; d0 serves for both.
    const double s0 = SquaredDistance(x, y, a.x, a.y);
    double d0 = -1;
    auto exact_d0 = [&] {
      if (d0 < 0) d0 = PointDistance(x, y, a.x, a.y);
      return d0;
    };
    // Each end must be the nearest point of its own segment.
    if (ProbeNearer(x, y, qa, s0, exact_d0)) {
      if (rejected.Enabled()) reject(v, ProbeRadius(a.x, a.y, qa.x, qa.y, x, y, 0));
      return;
    }
    if (ProbeNearer(x, y, qb, s0, exact_d0)) {
      if (rejected.Enabled() && std::isfinite(gap)) {
        reject(v, ProbeRadius(b.x, b.y, qb.x, qb.y, x, y, gap));
      }
      return;
    }
    if (closer.AnyCloser(x, y, s0, exact_d0)) {
      if (rejected.Enabled()) reject(v, CloserRadius(closer.LastCloser(), x, y, std::sqrt(s0)));
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  });
}

}  // namespace kaldra
