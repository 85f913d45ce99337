#include "tracing/closer_test.h"
#include "tracing/traces.h"
#include "tracing/walk.h"

namespace kaldra {

std::uint64_t TraceEndpointBisector(PairContext& pair, Point a, Point a_other, Point b,
                                    Point b_other, Color color) {
  pair.mdl.PointBisector(a.x, a.y, b.x, b.y);
  const LineWalk walk = WalkEndpointBisector(pair.mdl.PtBis);
  const Point qa = Probe(a, a_other);
  const Point qb = Probe(b, b_other);
  pair.canvas.ForeColor(color);
  CloserTest closer(pair.scene, pair.i, pair.j);
  std::uint64_t samples = 0;
  // The step is accumulated, v = v + 0.5, never p + k * 0.5: the two round
  // differently, and the samples must fall where they always have.
  for (double v = walk.p; v <= walk.q; v = v + kLineStep) {
    ++samples;
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    if (pair.bounds.Excludes(x, y)) continue;
    // On the bisector the distances to a and b are equal; d0 serves for both.
    const double s0 = SquaredDistance(x, y, a.x, a.y);
    double d0 = -1;
    auto exact_d0 = [&] {
      if (d0 < 0) d0 = PointDistance(x, y, a.x, a.y);
      return d0;
    };
    // Each end must be the nearest point of its own segment.
    if (ProbeNearer(x, y, qa, s0, exact_d0)) continue;
    if (ProbeNearer(x, y, qb, s0, exact_d0)) continue;
    if (closer.AnyCloser(x, y, s0, exact_d0)) continue;
    pair.canvas.PSet(static_cast<float>(x), static_cast<float>(y));
  }
  return samples;
}

}  // namespace kaldra
