#include <algorithm>
#include <cmath>
#include <utility>

#include "arithmetic/elementary.h"
#include "scene/float_fault.h"
#include "tracing/accumulate.h"
#include "tracing/closer_test.h"
#include "tracing/moderate.h"
#include "tracing/rejection_window.h"
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
  // measured from the focus's foot; the arc covers exactly segment l. Sines
  // and cosines are at most 1, so only the differences and the sums can
  // overflow.
  const double sin_t = Sin(arc.theta);
  const double cos_t = Cos(arc.theta);
  const auto along_directrix = [&](double x, double y) {
    return Checked(sin_t * Checked(x - arc.vx) + cos_t * Checked(y - arc.vy));
  };
  const double u1 = along_directrix(line.x1, line.y1);
  const double u2 = along_directrix(line.x2, line.y2);
  arc.start = u1;
  arc.finish = u2;
  if (u1 > u2) std::swap(arc.start, arc.finish);

  arc.cos_neg = Cos(-arc.theta);
  arc.sin_neg = Sin(-arc.theta);
  return arc;
}

std::uint64_t TraceArc(const PairContext& pair, std::int16_t l, std::int16_t p, FocusEnd end,
                       Color color) {
  const ArcFrame arc = FrameArc(pair.scene, l, p, end);
  pair.out.ForeColor(color);
  const double h4 = arc.h * 4;
  const Point f = arc.f;
  // With h * 4 infinite every t^2 / (h * 4) would be 0 and look moderate, but
  // the plain arithmetic faults at the first sample.
  const bool shortcuts = pair.scene.ModerateSlopes() && std::isfinite(h4);
  CloserTest closer(pair.scene, pair.i, pair.j);
  RejectionWindow rejected(pair.skipping == Skipping::kOn && shortcuts);
  const auto reject = [&](double t, double radius) {
    rejected.Open(t, ArcReach(arc.h, arc.vx, arc.vy, t, radius));
  };
  // The sample as the plain arithmetic takes it, every step checked.
  const auto plain = [&](double t) __attribute__((noinline, cold)) {
    const double along = CheckedDiv(Checked(t * t), Checked(arc.h * 4));
    const double x = Checked(Checked(Checked(arc.cos_neg * along) + arc.vx) - arc.sin_neg * t);
    const double y = Checked(Checked(Checked(arc.sin_neg * along) + arc.vy) + arc.cos_neg * t);
    const double d1 = PointDistance(x, y, f.x, f.y);
    if (PointDistance(x, y, arc.o.x, arc.o.y) < d1) return;
    if (PointDistance(x, y, arc.q.x, arc.q.y) < d1) return;
    if (AnyCloserSegment(pair.scene, pair.i, pair.j, x, y, d1)) return;
    pair.PlotIfReachable(x, y);
  };
  // Every position is within |vx| + t^2 / 4h + |t| of the origin in x (and
  // likewise in y), t^2 largest at an end of the range: when that bound is well
  // within the moderate range, no sample's position needs asking whether it is
  // moderate.
  const double far_t = std::max(std::fabs(arc.start), std::fabs(arc.finish));
  const double reach = far_t * far_t / h4 + far_t + std::max(std::fabs(arc.vx), std::fabs(arc.vy));
  const bool ask = !(shortcuts && reach <= kWindowCoordinate);
  // One sample, given t by value, so that the walk's own t never has its
  // address taken and stays in a register.
  const auto visit = [&](double t) {
    const double along = t * t / h4;
    const double x = arc.XAt(along, t);
    const double y = arc.YAt(along, t);
    if (ask && (!shortcuts || !ModeratePosition(x, y))) {
      plain(t);
      return;
    }
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
      if (rejected.Enabled()) {
        const double d = std::sqrt(s1);
        reject(t, CloserRadius(closer.LastCloser(), x, y, d, d));
      }
      return;
    }
    pair.out.PSet(static_cast<float>(x), static_cast<float>(y));
  };
  return WalkAccumulated(arc.start, arc.finish, kArcStep, rejected, visit);
}

}  // namespace kaldra
