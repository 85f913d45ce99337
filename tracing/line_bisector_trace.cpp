#include <cmath>

#include "tracing/closer_test.h"
#include "tracing/foot_inside.h"
#include "tracing/rejection_window.h"
#include "tracing/traces.h"
#include "tracing/walk.h"

namespace kaldra {

std::uint64_t TraceLineBisector(const PairContext& pair, const ClippedLine& line, Color color) {
  const LineWalk walk = WalkLineBisector(line);
  const Segment& si = pair.scene[pair.i];
  const Segment& sj = pair.scene[pair.j];
  pair.out.ForeColor(color);
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn);
  const double speed = walk.Speed();
  const auto reject = [&](double v, double radius) {
    rejected.Open(v, StraightReach(speed, radius));
  };
  return WalkSamples(walk, pair.bounds, rejected, [&](double v, double x, double y) {
    // The interiors are the nearest sites only where both feet fall on the
    // segments; the foot of each is where the perpendicular through the
    // sample meets the segment's line.
    for (const Segment* s : {&si, &sj}) {
      if (!FootInside(*s, (y - s->perp * x) - s->intercept)) {
        if (rejected.Enabled()) reject(v, FootRadius(*s, x, y));
        return;
      }
    }
    // On the bisector both lines are equally far; segment i's stands for both.
    const double d = std::fabs(x * si.slope - y + si.intercept) / si.norm;
    if (closer.AnyCloser(x, y, d * d, [d] { return d; })) {
      if (rejected.Enabled()) reject(v, CloserRadius(closer.LastCloser(), x, y, d));
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  });
}

}  // namespace kaldra
