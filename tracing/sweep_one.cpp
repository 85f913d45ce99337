#include <cmath>
#include <string>

#include "scene/run_time_error.h"
#include "tracing/closer_test.h"
#include "tracing/fast_compare.h"
#include "tracing/segment_constants.h"
#include "tracing/sweeps.h"
#include "tracing/walk.h"

namespace kaldra {

namespace {

struct Point {
  double x, y;
};

// What every trace of one pair shares.
struct PairContext {
  mdlKaldra& mdl;
  const SceneConstants& scene;
  Canvas& canvas;
  CanvasBounds bounds;
  std::int16_t i;
  std::int16_t j;
};

// The point of a segment one thousandth of its length away from the end
// `site` towards the other end `other`.
Point Probe(Point site, Point other) {
  return {0.999 * site.x + 0.001 * other.x, 0.999 * site.y + 0.001 * other.y};
}

// Whether the probe q of a segment is nearer to the sample than its end,
// whose squared distance is s_site and whose distance is d_site: then the
// segment's interior, not the end, is the nearest site.
template <typename Distance>
bool ProbeNearer(double x, double y, Point q, double s_site, Distance& d_site) {
  switch (CompareSquared(SquaredDistance(x, y, q.x, q.y), s_site)) {
    case Order::kLess:
      return true;
    case Order::kGreater:
      return false;
    case Order::kTie:
      return PointDistance(x, y, q.x, q.y) < d_site();
  }
  return false;
}

// One endpoint bisector: the samples of the perpendicular bisector of site a
// (on segment i) and site b (on segment j) at which each site is the nearest
// point of its own segment and no third segment is strictly closer.
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

// One angle bisector: the samples whose feet on both supporting lines fall on
// the segments themselves (the interiors are the nearest sites) and to which
// no third segment is strictly closer.
std::uint64_t TraceLineBisector(PairContext& pair, const ClippedLine& line, Color color) {
  const LineWalk walk = WalkLineBisector(line);
  const SegmentConstants& si = pair.scene.segments[static_cast<std::size_t>(pair.i)];
  const SegmentConstants& sj = pair.scene.segments[static_cast<std::size_t>(pair.j)];
  pair.canvas.ForeColor(color);
  CloserTest closer(pair.scene, pair.i, pair.j);
  std::uint64_t samples = 0;
  for (double v = walk.p; v <= walk.q; v = v + kLineStep) {
    ++samples;
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    if (pair.bounds.Excludes(x, y)) continue;
    if (!FootInside(si, (y - si.perp * x) - si.intercept)) continue;
    if (!FootInside(sj, (y - sj.perp * x) - sj.intercept)) continue;
    // On the bisector both lines are equally far; segment i's stands for both.
    const double d = std::fabs(x * si.slope - y + si.intercept) / si.norm;
    if (closer.AnyCloser(x, y, d * d, [d] { return d; })) continue;
    pair.canvas.PSet(static_cast<float>(x), static_cast<float>(y));
  }
  return samples;
}

std::string Where(std::int16_t i, std::int16_t j, const char* trace) {
  return "sweep 1, pair (" + std::to_string(i) + ", " + std::to_string(j) + "), " + trace;
}

}  // namespace

SweepStats SweepOne(mdlKaldra& mdl, Canvas& canvas) {
  SweepStats stats;
  const SceneConstants scene = ComputeSceneConstants(mdl);
  const std::int16_t last = CheckedSub(mdl.SegCount, 2);
  for (std::int16_t i = 0; i <= last; i = CheckedAdd(i, 1)) {
    canvas.DoEvents();
    const std::int16_t last_j = CheckedSub(mdl.SegCount, 1);
    for (std::int16_t j = CheckedAdd(i, 1); j <= last_j; j = CheckedAdd(j, 1)) {
      PairContext pair{mdl, scene, canvas, CanvasBounds::Around(canvas.Width(), canvas.Height()),
                       i, j};
      const Point i1{mdl.X1[i], mdl.Y1[i]};
      const Point i2{mdl.X2[i], mdl.Y2[i]};
      const Point j1{mdl.X1[j], mdl.Y1[j]};
      const Point j2{mdl.X2[j], mdl.Y2[j]};
      struct Trace {
        Point a, a_other, b, b_other;
        Color color;
        const char* name;
      };
      const Trace traces[] = {
          {i1, i2, j1, j2, kCyan, "endpoint bisector 1 (left ends)"},
          {i2, i1, j2, j1, kMagenta, "endpoint bisector 2 (right ends)"},
          {i1, i2, j2, j1, kYellow, "endpoint bisector 3 (left end of i, right end of j)"},
          {i2, i1, j1, j2, kRed, "endpoint bisector 4 (right end of i, left end of j)"},
      };
      for (const Trace& t : traces) {
        ClearFloatingPointFaults();
        stats.samples += TraceEndpointBisector(pair, t.a, t.a_other, t.b, t.b_other, t.color);
        CheckFloatingPointFaultsAt([&] { return Where(i, j, t.name); });
      }
      ClearFloatingPointFaults();
      mdl.LineBisectors(i, j);
      const ClippedLine first = mdl.LnBis1;
      const ClippedLine second = mdl.LnBis2;
      stats.samples += TraceLineBisector(pair, first, kBlue);
      CheckFloatingPointFaultsAt([&] { return Where(i, j, "angle bisector 1"); });
      stats.samples += TraceLineBisector(pair, second, kGreen);
      CheckFloatingPointFaultsAt([&] { return Where(i, j, "angle bisector 2"); });
    }
  }
  return stats;
}

}  // namespace kaldra
