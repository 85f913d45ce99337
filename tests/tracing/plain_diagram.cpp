#include "tests/tracing/plain_diagram.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace kaldra::plain {

namespace {

// Pi as the drawing has always used it, fifteen significant digits, not the
// double nearest to pi.
constexpr double kPi = 3.14159265358979;

// Squares and roots through the library's pow, as the drawing takes them; a
// product or sqrt may round differently in the last bit and move a tie.
double Square(double x) { return std::pow(x, 2.0); }
double Root(double x) { return std::pow(x, 0.5); }

double PointDistance(double x0, double y0, double x1, double y1) {
  return Root(Square(y1 - y0) + Square(x1 - x0));
}

struct Point {
  double x, y;
};

// The point one thousandth of a segment's length away from its end `site`
// towards its other end `other`.
Point Probe(Point site, Point other) {
  return {0.999 * site.x + 0.001 * other.x, 0.999 * site.y + 0.001 * other.y};
}

struct Clipped {
  double start_x, start_y, end_x, end_y;
};

struct Tracer {
  const std::vector<PlainSegment>& seg;
  double view_w, view_h;
  PlainDiagram out;

  // End 1 (x1, y1) or end 2 (x2, y2) of segment k.
  Point End(std::size_t k, int end) const {
    return end == 1 ? Point{seg[k].x1, seg[k].y1} : Point{seg[k].x2, seg[k].y2};
  }

  // The distance from (x, y) to segment k's supporting line.
  double LineDistance(std::size_t k, double x, double y) const {
    const PlainSegment& s = seg[k];
    return std::fabs(s.slope * x - y + s.intercept) / Root(Square(s.slope) + 1);
  }

  // Whether the perpendicular from (x, y) meets segment k's line within its
  // x-range, both ends included.
  bool FootInside(std::size_t k, double x, double y) const {
    const PlainSegment& s = seg[k];
    const double n = -1 / s.slope;
    const double kk = y - n * x;
    const double f = (kk - s.intercept) / (s.slope - n);
    return f >= s.x1 && f <= s.x2;
  }

  // The line y = t * x + b cut to the band 0 <= y <= view_h: the end found from
  // x = 0 and the end found from x = view_w. Only y is confined, so a line
  // that misses the band gets two equal ends. A horizontal line off the band
  // has no crossing at all; both its ends are then (0, b).
  Clipped Clip(double t, double b) const {
    if (t == 0 && (b < 0 || b > view_h)) return {0, b, 0, b};
    Clipped c{0, b, view_w, t * view_w + b};
    // Each end is tested on the line's own value at its edge, not on an end
    // already moved, and every comparison is strict.
    if (b < 0) c = {-b / t, 0, c.end_x, c.end_y};
    if (b > view_h) c = {(view_h - b) / t, view_h, c.end_x, c.end_y};
    if (c.end_y < 0) c = {c.start_x, c.start_y, -b / t, 0};
    if (t * view_w + b > view_h) c = {c.start_x, c.start_y, (view_h - b) / t, view_h};
    return c;
  }

  // 1 when a segment other than i and j is strictly closer to (x, y) than d:
  // its line closer with the foot inside, or else one of its ends closer.
  int CountCloserSegments(std::size_t i, std::size_t j, double x, double y, double d) const {
    for (std::size_t k = 0; k < seg.size(); ++k) {
      if (k == i || k == j || !(LineDistance(k, x, y) < d)) continue;
      if (FootInside(k, x, y)) return 1;
      if (PointDistance(x, y, seg[k].x1, seg[k].y1) < d) return 1;
      if (PointDistance(x, y, seg[k].x2, seg[k].y2) < d) return 1;
    }
    return 0;
  }

  void PSet(double x, double y, std::uint32_t color) {
    out.plots.push_back({static_cast<float>(x), static_cast<float>(y), color});
  }

  // Walks the clipped line with slope m in accumulated half-pixel steps along
  // its dominant axis, smaller value first, and hands every sample to `test`.
  template <typename Test>
  void WalkLine(const Clipped& c, double m, Test&& test) {
    const double b = c.start_y - m * c.start_x;
    const bool steep = std::fabs(m) > 1;
    const double p = m > 1 ? m * c.start_x + b : m < -1 ? m * c.end_x + b : c.start_x;
    const double q = m > 1 ? m * c.end_x + b : m < -1 ? m * c.start_x + b : c.end_x;
    for (double v = p; v <= q; v = v + 0.5) {
      ++out.samples;
      test(steep ? (v - b) / m : v, steep ? v : m * v + b);
    }
  }

  // The perpendicular bisector of end ei of segment i and end ej of segment
  // j, where each end is the nearest point of its segment.
  void EndpointBisector(std::size_t i, std::size_t j, int ei, int ej, std::uint32_t color) {
    const Point a = End(i, ei), b = End(j, ej);
    const double m0 = (a.y - b.y) / (a.x - b.x);
    const double slope = -1 / m0;
    const double mx = (a.x + b.x) / 2;
    const double my = (a.y + b.y) / 2;
    const Clipped c = Clip(slope, my - slope * mx);
    const double m = (c.start_y - c.end_y) / (c.start_x - c.end_x);
    const Point qa = Probe(a, End(i, 3 - ei));
    const Point qb = Probe(b, End(j, 3 - ej));
    WalkLine(c, m, [&](double x, double y) {
      const double d0 = PointDistance(x, y, a.x, a.y);
      const double d1 = PointDistance(x, y, qa.x, qa.y);
      const double d2 = PointDistance(x, y, qb.x, qb.y);
      if (!(d1 < d0) && !(d2 < d0) && CountCloserSegments(i, j, x, y, d0) == 0) PSet(x, y, color);
    });
  }

  // An angle bisector of the pair's lines, where both interiors are nearest.
  // A bisector that missed the band has equal ends; slope 9999 walks it as one
  // steep sample instead of dividing 0 by 0.
  void LineBisector(std::size_t i, std::size_t j, const Clipped& c, std::uint32_t color) {
    const double m = c.start_x == c.end_x ? 9999 : (c.start_y - c.end_y) / (c.start_x - c.end_x);
    WalkLine(c, m, [&](double x, double y) {
      if (!FootInside(i, x, y) || !FootInside(j, x, y)) return;
      const double d = LineDistance(i, x, y);
      if (CountCloserSegments(i, j, x, y, d) == 0) PSet(x, y, color);
    });
  }

  void LineBisectors(std::size_t i, std::size_t j) {
    const PlainSegment& si = seg[i];
    const PlainSegment& sj = seg[j];
    const double x0 = (si.intercept - sj.intercept) / (sj.slope - si.slope);
    const double y0 = x0 * si.slope + si.intercept;
    const double ai = std::atan(si.slope);
    const double aj = std::atan(sj.slope);
    const double t1 = std::tan((aj + ai) / 2);
    const Clipped first = Clip(t1, y0 - t1 * x0);
    // The perpendicular: the smaller angle turned by pi before the mean.
    const double t2 = ai < aj ? std::tan((aj + (ai + kPi)) / 2) : std::tan(((aj + kPi) + ai) / 2);
    LineBisector(i, j, first, 0xFF0000);                   // blue
    LineBisector(i, j, Clip(t2, y0 - t2 * x0), 0x00FF00);  // green
  }

  // The arc with focus end e of segment `owner` (whose other end is o) and
  // directrix the line of segment l, over the stretch that segment l covers.
  void Arc(std::size_t i, std::size_t j, std::size_t l, std::size_t owner, int e,
           std::uint32_t color) {
    const PlainSegment& s = seg[l];
    const Point f = End(owner, e), o = End(owner, 3 - e), q = Probe(f, o);
    // The parabola's frame: vertex halfway between the focus and its foot on
    // the line, half that distance as focal length, the normal's angle.
    const double h = LineDistance(l, f.x, f.y) / 2;
    const double n = -1 / s.slope;
    const double k = f.y - n * f.x;
    const double fx = (s.intercept - k) / (n - s.slope);
    const double fy = fx * n + k;
    const double vx = (fx + f.x) / 2;
    const double vy = (fy + f.y) / 2;
    const double alpha = std::atan(n);
    // Turn the axis from the directrix towards the focus.
    const double theta = f.x > vx ? 2 * kPi - alpha : kPi - alpha;
    const double u1 = std::sin(theta) * (s.x1 - vx) + std::cos(theta) * (s.y1 - vy);
    const double u2 = std::sin(theta) * (s.x2 - vx) + std::cos(theta) * (s.y2 - vy);
    for (double t = std::min(u1, u2); t <= std::max(u1, u2); t = t + 0.1) {
      ++out.samples;
      const double p = Square(t) / (h * 4);
      const double x = std::cos(-theta) * p + vx - std::sin(-theta) * t;
      const double y = std::sin(-theta) * p + vy + std::cos(-theta) * t;
      const double d1 = PointDistance(x, y, f.x, f.y);
      if (PointDistance(x, y, o.x, o.y) < d1 || PointDistance(x, y, q.x, q.y) < d1) continue;
      if (CountCloserSegments(i, j, x, y, d1) == 0) PSet(x, y, color);
    }
  }
};

}  // namespace

PlainDiagram TracePlainly(const std::vector<PlainSegment>& segments, double view_w, double view_h) {
  Tracer tr{segments, view_w, view_h, {}};
  const std::size_t count = segments.size();
  // Sweep 1: per pair the four endpoint bisectors, then the two angle bisectors.
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      tr.EndpointBisector(i, j, 1, 1, 0xFFFF00);  // cyan
      tr.EndpointBisector(i, j, 2, 2, 0xFF00FF);  // magenta
      tr.EndpointBisector(i, j, 1, 2, 0x00FFFF);  // yellow
      tr.EndpointBisector(i, j, 2, 1, 0x0000FF);  // red
      tr.LineBisectors(i, j);
    }
  }
  // Sweep 2, over the same pairs: each end of one segment as focus against
  // the other's line.
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      tr.Arc(i, j, i, j, 1, 0xFF00FF);  // magenta
      tr.Arc(i, j, i, j, 2, 0xFFFF00);  // cyan
      tr.Arc(i, j, j, i, 1, 0x00FFFF);  // yellow
      tr.Arc(i, j, j, i, 2, 0x00FF00);  // green
    }
  }
  return std::move(tr.out);
}

}  // namespace kaldra::plain
