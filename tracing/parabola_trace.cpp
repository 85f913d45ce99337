#include <cmath>
#include <utility>

#include "tracing/accumulate.h"
#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/square_as_pow.h"
#include "tracing/traces.h"

namespace kaldra {

namespace {

// The tenth-of-a-pixel step along the directrix.
constexpr double kArcStep = 0.1;

}  // namespace

ArcFrame FrameArc(const Scene& scene, std::int16_t l, std::int16_t p, FocusEnd end) {
  const Segment& line = scene[l];
  const Segment& focus_segment = scene[p];
  const Point first{focus_segment.x1, focus_segment.y1};
  const Point second{focus_segment.x2, focus_segment.y2};
  ArcFrame arc{};
  arc.f = end == FocusEnd::kFirst ? first : second;
  arc.o = end == FocusEnd::kFirst ? second : first;
  const ParabolaVertex v = ParabolaVertexOf(line.slope, line.intercept, arc.f.x, arc.f.y);
  arc.h = v.half;
  const double alpha = v.axis;  // the axis angle as the frame gives it
  arc.vx = v.vx;
  arc.vy = v.vy;
  arc.q = Probe(arc.f, arc.o);

  // The axis angle does not tell on which side of the line the focus lies;
  // the focus's x against the vertex's does, and theta turns the arc's axis,
  // (cos theta, -sin theta), from the directrix towards the focus.
  arc.theta = kKaldraPi - alpha;
  if (arc.f.x > arc.vx) arc.theta = 2 * kKaldraPi - alpha;

  // The range: the ends of segment l as coordinates along the directrix,
  // measured from the focus's foot; the arc covers exactly segment l.
  const double sin_t = std::sin(arc.theta);
  const double cos_t = std::cos(arc.theta);
  const double u1 = sin_t * (line.x1 - arc.vx) + cos_t * (line.y1 - arc.vy);
  const double u2 = sin_t * (line.x2 - arc.vx) + cos_t * (line.y2 - arc.vy);
  arc.start = u1;
  arc.finish = u2;
  if (u1 > u2) std::swap(arc.start, arc.finish);

  arc.cos_neg = std::cos(-arc.theta);
  arc.sin_neg = std::sin(-arc.theta);
  return arc;
}

std::uint64_t TraceArc(const PairContext& pair, std::int16_t l, std::int16_t p, FocusEnd end,
                       Color color) {
  const ArcFrame arc = FrameArc(pair.scene, l, p, end);
  pair.out.ForeColor(color);
  const double h4 = arc.h * 4;
  const Point f = arc.f;
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn);
  const auto reject = [&](double t, double radius) {
    rejected.Open(t, ArcReach(arc.h, arc.vx, arc.vy, t, radius));
  };
  // One sample, given t by value, so that the walk's own t never has its
  // address taken and stays in a register.
  const auto visit = [&](double t) {
    const double along = SquareAsPow(t) / h4;
    const double x = arc.XAt(along, t);
    const double y = arc.YAt(along, t);
    if (pair.bounds.Excludes(x, y)) {
      if (rejected.Enabled()) reject(t, OutsideRadius(pair.bounds, x, y));
      return;
    }
    // On the parabola, over segment l, the distance to the focus is also the
    // distance to segment l.
    const double s1 = SquaredDistance(x, y, f.x, f.y);
    double d1 = -1;
    auto exact_d1 = [&] {
      if (d1 < 0) d1 = PointDistance(x, y, f.x, f.y);
      return d1;
    };
    // The focus must be the nearest point of its own segment: neither the
    // other end nor the interior next to the focus may be nearer.
    const auto probe_nearer = [&](Point probe) {
      if (!ProbeNearer(x, y, probe, s1, exact_d1)) return false;
      if (rejected.Enabled()) reject(t, ProbeRadius(f.x, f.y, probe.x, probe.y, x, y, 0));
      return true;
    };
    if (probe_nearer(arc.o) || probe_nearer(arc.q)) return;
    if (closer.AnyCloser(x, y, s1, exact_d1)) {
      if (rejected.Enabled()) reject(t, CloserRadius(closer.LastCloser(), x, y, std::sqrt(s1)));
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  };
  return WalkAccumulated(arc.start, arc.finish, kArcStep, rejected, visit);
}

}  // namespace kaldra
