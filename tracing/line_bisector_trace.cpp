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
  const bool shortcuts = pair.scene.ModerateSlopes();
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn && shortcuts);
  const double speed = walk.Speed();
  const auto reject = [&](double v, double x, double y, double radius) {
    rejected.Open(v, StraightReach(speed, x, y, radius));
  };
  const auto fast = [&](double v, double x, double y) {
    // The interiors are the nearest sites only where both feet fall on the
    // segments; the foot of each is where the perpendicular through the
    // sample meets the segment's line.
    for (const Segment* s : {&si, &sj}) {
      if (!FootInside(*s, (y - s->perp * x) - s->intercept)) {
        if (rejected.Enabled()) reject(v, x, y, FootRadius(*s, x, y));
        return;
      }
    }
    // On the bisector both lines are equally far; segment i's stands for both.
    const double d = std::fabs(x * si.slope - y + si.intercept) / si.norm;
    if (closer.AnyCloser(x, y, d * d, [d] { return d; })) {
      if (rejected.Enabled()) {
        const double d_scale = (std::fabs(x * si.slope) + std::fabs(y) + std::fabs(si.intercept)) /
                               si.norm;
        reject(v, x, y, CloserRadius(closer.LastCloser(), x, y, d, d_scale));
      }
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  };
  // The sample as the plain arithmetic takes it, every step checked: both
  // feet always, then the distance and the count.
  const auto plain = [&](double v) __attribute__((noinline, cold)) {
    const double x = walk.CheckedXAt(v);
    const double y = walk.CheckedYAt(v);
    const double fi = FootX(si, x, y);
    const double fj = FootX(sj, x, y);
    if (!(fi >= si.x1 && fi <= si.x2) || !(fj >= sj.x1 && fj <= sj.x2)) return;
    const double d = LineDistance(si, x, y);
    if (AnyCloserSegment(pair.scene, pair.i, pair.j, x, y, d)) return;
    pair.PlotIfReachable(x, y);
  };
  return WalkSamples(walk, pair.bounds, shortcuts, rejected, fast, plain);
}

}  // namespace kaldra
