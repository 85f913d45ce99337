#include <cmath>

#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/traces.h"
#include "tracing/walk.h"

namespace kaldra {

std::uint64_t TraceEndpointBisector(const PairContext& pair, Point a, Point a_other, Point b,
                                    Point b_other, Color color) {
  const LineWalk walk = WalkEndpointBisector(
      PointBisectorLine(a.x, a.y, b.x, b.y, pair.scene.Width(), pair.scene.Height()));
  const Point qa = Probe(a, a_other);
  const Point qb = Probe(b, b_other);
  pair.out.ForeColor(color);
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn);
  return WalkSamples(walk, pair.bounds, [&](double x, double y) {
    if (rejected.Covers(x, y)) return;
    // On the bisector the distances to a and b are equal; d0 serves for both.
    const double s0 = SquaredDistance(x, y, a.x, a.y);
    double d0 = -1;
    auto exact_d0 = [&] {
      if (d0 < 0) d0 = PointDistance(x, y, a.x, a.y);
      return d0;
    };
    // Each end must be the nearest point of its own segment.
    if (ProbeNearer(x, y, qa, s0, exact_d0)) return;
    if (ProbeNearer(x, y, qb, s0, exact_d0)) return;
    if (closer.AnyCloser(x, y, s0, exact_d0)) {
      rejected.Open(closer.LastCloser(), x, y, std::sqrt(s0));
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  });
}

}  // namespace kaldra
