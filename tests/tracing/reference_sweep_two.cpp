#include <cmath>
#include <utility>

#include "geometry/power.h"
#include "tests/tracing/reference_sweeps.h"
#include "tracing/pair_sweep.h"

namespace kaldra::reference {

namespace {

// The tenth-of-a-pixel step along the directrix.
constexpr double kArcStep = 0.1;

struct Point {
  double x, y;
};

// Which routine frames the arc: the first or the second endpoint as focus.
enum class FocusEnd { kFirst, kSecond };

// One parabolic arc: focus f (an endpoint of segment P), directrix the line of
// segment l, walked over the stretch of that line that segment l covers. A
// sample is plotted when f is the nearest point of its own segment and no
// third segment is strictly closer.
std::uint64_t TraceArc(mdlKaldra& mdl, Canvas& canvas, std::int16_t i, std::int16_t j,
                       std::int16_t l, std::int16_t p, FocusEnd end, Color color) {
  double h = 0;
  double alpha = 0;
  Point f{};
  Point o{};
  if (end == FocusEnd::kFirst) {
    mdl.StartParabola(l, p);
    h = mdl.ParabolaFrame.ParHalfS;
    alpha = mdl.ParabolaFrame.ParAxisS;
    f = {mdl.X1[p], mdl.Y1[p]};
    o = {mdl.X2[p], mdl.Y2[p]};
  } else {
    mdl.EndParabola(l, p);
    h = mdl.ParabolaFrame.ParHalfE;
    alpha = mdl.ParabolaFrame.ParAxisE;
    f = {mdl.X2[p], mdl.Y2[p]};
    o = {mdl.X1[p], mdl.Y1[p]};
  }
  const double vx = mdl.ParabolaFrame.ParX;
  const double vy = mdl.ParabolaFrame.ParY;

  // The axis angle does not tell on which side of the line the focus lies;
  // the focus's x against the vertex's does, and theta turns the arc's axis,
  // (cos theta, -sin theta), from the directrix towards the focus.
  double theta = mdl.Pi - alpha;
  if (f.x > vx) theta = 2 * mdl.Pi - alpha;

  // The range: the ends of segment l as coordinates along the directrix,
  // measured from the focus's foot.
  const double sin_t = std::sin(theta);
  const double cos_t = std::cos(theta);
  const double u1 = sin_t * (mdl.X1[l] - vx) + cos_t * (mdl.Y1[l] - vy);
  const double u2 = sin_t * (mdl.X2[l] - vx) + cos_t * (mdl.Y2[l] - vy);
  double start = u1;
  double finish = u2;
  if (u1 > u2) std::swap(start, finish);

  canvas.ForeColor(color);
  const Point q{0.999 * f.x + 0.001 * o.x, 0.999 * f.y + 0.001 * o.y};
  // The point (p, t) of the parabola's own frame (vertex at the origin, focus
  // at (h, 0), directrix p = -h), turned by -theta and moved to the vertex.
  const double cos_neg = std::cos(-theta);
  const double sin_neg = std::sin(-theta);
  std::uint64_t samples = 0;
  // Accumulated, t = t + 0.1, like every walk of the diagram.
  for (double t = start; t <= finish; t = t + kArcStep) {
    ++samples;
    const double along = Square(t) / (h * 4);
    const double x = cos_neg * along + vx - sin_neg * t;
    const double y = sin_neg * along + vy + cos_neg * t;
    // On the parabola, over segment l, the distance to the focus is also the
    // distance to segment l.
    const double d1 = PointDistance(x, y, f.x, f.y);
    const double d2 = PointDistance(x, y, o.x, o.y);
    if (d2 < d1) continue;  // the other end of P is nearer
    const double d3 = PointDistance(x, y, q.x, q.y);
    if (d3 < d1) continue;  // P's interior is nearer than its end f
    if (mdl.CountCloserSegments(i, j, x, y, d1) != 0) continue;
    canvas.PSet(static_cast<float>(x), static_cast<float>(y));
  }
  return samples;
}

}  // namespace

SweepStats SweepTwo(mdlKaldra& mdl, Canvas& canvas) {
  SweepStats stats;
  ForEachPair(mdl, canvas, [&](std::int16_t i, std::int16_t j) {
    stats.samples += TraceArc(mdl, canvas, i, j, i, j, FocusEnd::kFirst, kMagenta);
    stats.samples += TraceArc(mdl, canvas, i, j, i, j, FocusEnd::kSecond, kCyan);
    stats.samples += TraceArc(mdl, canvas, i, j, j, i, FocusEnd::kFirst, kYellow);
    stats.samples += TraceArc(mdl, canvas, i, j, j, i, FocusEnd::kSecond, kGreen);
  });
  return stats;
}

}  // namespace kaldra::reference
