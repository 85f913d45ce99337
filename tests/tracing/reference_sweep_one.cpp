#include <cmath>

#include "geometry/power.h"
#include "tests/tracing/reference_sweeps.h"
#include "tracing/pair_sweep.h"
#include "tracing/walk.h"

namespace kaldra::reference {

namespace {

struct Point {
  double x, y;
};

// The point of a segment one thousandth of its length away from the end
// `site` towards the other end `other`.
Point Probe(Point site, Point other) {
  return {0.999 * site.x + 0.001 * other.x, 0.999 * site.y + 0.001 * other.y};
}

// One endpoint bisector: the samples of the perpendicular bisector of site a
// (on segment i) and site b (on segment j) at which each site is the nearest
// point of its own segment and no third segment is strictly closer.
std::uint64_t TraceEndpointBisector(mdlKaldra& mdl, Canvas& canvas, std::int16_t i, std::int16_t j,
                                    Point a, Point a_other, Point b, Point b_other, Color color) {
  mdl.PointBisector(a.x, a.y, b.x, b.y);
  const LineWalk walk = WalkEndpointBisector(mdl.PtBis);
  const Point qa = Probe(a, a_other);
  const Point qb = Probe(b, b_other);
  canvas.ForeColor(color);
  std::uint64_t samples = 0;
  // The step is accumulated, v = v + 0.5, never p + k * 0.5: the two round
  // differently, and the samples must fall where they always have.
  for (double v = walk.p; v <= walk.q; v = v + kLineStep) {
    ++samples;
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    // On the bisector the distances to a and b are equal; d0 serves for both.
    const double d0 = PointDistance(x, y, a.x, a.y);
    const double d1 = PointDistance(x, y, qa.x, qa.y);
    const double d2 = PointDistance(x, y, qb.x, qb.y);
    int failed = 0;
    if (d1 < d0) failed = 1;   // segment i's interior is nearer than its end a
    if (d2 < d0) failed += 1;  // segment j's interior is nearer than its end b
    if (failed == 0 && mdl.CountCloserSegments(i, j, x, y, d0) == 0) {
      canvas.PSet(static_cast<float>(x), static_cast<float>(y));
    }
  }
  return samples;
}

// Whether the perpendicular from (x, y) meets segment k's line within the
// segment's x-range, both ends included.
bool FootInside(const mdlKaldra& mdl, std::int16_t k, double x, double y) {
  const double n = -1 / mdl.Slope[k];
  const double c = y - n * x;
  const double f = (c - mdl.Intercept[k]) / (mdl.Slope[k] - n);
  return f >= mdl.X1[k] && f <= mdl.X2[k];
}

// One angle bisector: the samples whose feet on both supporting lines fall on
// the segments themselves (the interiors are the nearest sites) and to which
// no third segment is strictly closer.
std::uint64_t TraceLineBisector(const mdlKaldra& mdl, Canvas& canvas, std::int16_t i,
                                std::int16_t j, const ClippedLine& line, Color color) {
  const LineWalk walk = WalkLineBisector(line);
  canvas.ForeColor(color);
  std::uint64_t samples = 0;
  for (double v = walk.p; v <= walk.q; v = v + kLineStep) {
    ++samples;
    const double x = walk.XAt(v);
    const double y = walk.YAt(v);
    int outside = 0;
    if (!FootInside(mdl, i, x, y)) outside = 1;
    if (!FootInside(mdl, j, x, y)) outside += 1;
    if (outside != 0) continue;
    // On the bisector both lines are equally far; segment i's stands for both.
    const double d = std::fabs(x * mdl.Slope[i] - y + mdl.Intercept[i]) /
                     Root(Square(mdl.Slope[i]) + 1);
    if (mdl.CountCloserSegments(i, j, x, y, d) == 0) {
      canvas.PSet(static_cast<float>(x), static_cast<float>(y));
    }
  }
  return samples;
}

}  // namespace

SweepStats SweepOne(mdlKaldra& mdl, Canvas& canvas) {
  SweepStats stats;
  ForEachPair(mdl, canvas, [&](std::int16_t i, std::int16_t j) {
    const Point i1{mdl.X1[i], mdl.Y1[i]};
    const Point i2{mdl.X2[i], mdl.Y2[i]};
    const Point j1{mdl.X1[j], mdl.Y1[j]};
    const Point j2{mdl.X2[j], mdl.Y2[j]};
    stats.samples += TraceEndpointBisector(mdl, canvas, i, j, i1, i2, j1, j2, kCyan);
    stats.samples += TraceEndpointBisector(mdl, canvas, i, j, i2, i1, j2, j1, kMagenta);
    stats.samples += TraceEndpointBisector(mdl, canvas, i, j, i1, i2, j2, j1, kYellow);
    stats.samples += TraceEndpointBisector(mdl, canvas, i, j, i2, i1, j1, j2, kRed);
    mdl.LineBisectors(i, j);
    const ClippedLine first = mdl.LnBis1;
    const ClippedLine second = mdl.LnBis2;
    stats.samples += TraceLineBisector(mdl, canvas, i, j, first, kBlue);
    stats.samples += TraceLineBisector(mdl, canvas, i, j, second, kGreen);
  });
  return stats;
}

}  // namespace kaldra::reference
