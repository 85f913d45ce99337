#include "tests/tracing/plain_diagram.h"

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "tests/arithmetic/mpfr_reference.h"

namespace kaldra::plain {

namespace {

// Pi as the drawing has always used it, fifteen significant digits, not the
// double nearest to pi.
constexpr double kPi = 3.14159265358979;

constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// How a drawing ends early: a flag raised by a step, a stalled walk, or the
// sample limit.
struct Stop {
  std::string fault;  // empty for the sample limit
};

// One step of the arithmetic: its result, once the flags have been tested.
// The result is the test's argument, so the step runs before the test, and a
// test that may throw keeps later steps from running before it.
double Step(double result) {
  if (const int raised = std::fetestexcept(kFaultFlags)) {
    throw Stop{(raised & FE_DIVBYZERO) != 0 ? "division by zero"
               : (raised & FE_INVALID) != 0 ? "invalid floating-point operation"
                                            : "floating-point overflow"};
  }
  return result;
}

double Add(double a, double b) { return Step(a + b); }
double Sub(double a, double b) { return Step(a - b); }
double Mul(double a, double b) { return Step(a * b); }
double Div(double a, double b) { return Step(a / b); }
double Square(double x) { return Mul(x, x); }
double Root(double x) { return Step(std::sqrt(x)); }

// A correctly rounded elementary function of MPFR's, which leaves the
// flags as it found them.
double Elementary(testing::MpfrFunction f, double x) {
  std::fexcept_t flags;
  std::fegetexceptflag(&flags, FE_ALL_EXCEPT);
  const double r = testing::MpfrValue(f, x);
  std::fesetexceptflag(&flags, FE_ALL_EXCEPT);
  return r;
}

double Atan(double x) { return Elementary(mpfr_atan, x); }
double Tan(double x) { return Elementary(mpfr_tan, x); }
double Sin(double x) { return Elementary(mpfr_sin, x); }
double Cos(double x) { return Elementary(mpfr_cos, x); }

double PointDistance(double x0, double y0, double x1, double y1) {
  const double dy2 = Square(Sub(y1, y0));
  const double dx2 = Square(Sub(x1, x0));
  return Root(Add(dy2, dx2));
}

struct Point {
  double x, y;
};

// The point one thousandth of a segment's length away from its end `site`
// towards its other end `other`.
Point Probe(Point site, Point other) {
  return {Add(Mul(0.999, site.x), Mul(0.001, other.x)),
          Add(Mul(0.999, site.y), Mul(0.001, other.y))};
}

struct Clipped {
  double start_x, start_y, end_x, end_y;
};

struct Tracer {
  const std::vector<PlainSegment>& seg;
  double view_w, view_h;
  std::uint64_t sample_limit;
  PlainDiagram out;

  // End 1 (x1, y1) or end 2 (x2, y2) of segment k.
  Point End(std::size_t k, int end) const {
    return end == 1 ? Point{seg[k].x1, seg[k].y1} : Point{seg[k].x2, seg[k].y2};
  }

  // The distance from (x, y) to segment k's supporting line.
  double LineDistance(std::size_t k, double x, double y) const {
    const PlainSegment& s = seg[k];
    const double num = Add(Sub(Mul(s.slope, x), y), s.intercept);
    return Div(std::fabs(num), Root(Add(Square(s.slope), 1)));
  }

  // The x of the perpendicular's foot from (x, y) on segment k's line.
  double Foot(std::size_t k, double x, double y) const {
    const PlainSegment& s = seg[k];
    const double n = Div(-1, s.slope);
    const double kk = Sub(y, Mul(n, x));
    return Div(Sub(kk, s.intercept), Sub(s.slope, n));
  }

  bool Inside(std::size_t k, double f) const { return f >= seg[k].x1 && f <= seg[k].x2; }

  // The line y = t * x + b cut to the band 0 <= y <= view_h: the end found from
  // x = 0 and the end found from x = view_w. Only y is confined, so a line
  // that misses the band gets two equal ends. A horizontal line off the band
  // has no crossing at all; both its ends are then (0, b).
  Clipped Clip(double t, double b) const {
    if (t == 0 && (b < 0 || b > view_h)) return {0, b, 0, b};
    Clipped c{0, b, view_w, 0};
    // Each end is tested on the line's own value at its edge, not on an end
    // already moved, and every comparison is strict.
    if (b < 0) c.start_x = Div(-b, t), c.start_y = 0;
    if (b > view_h) c.start_x = Div(Sub(view_h, b), t), c.start_y = view_h;
    c.end_y = Add(Mul(t, view_w), b);
    if (c.end_y < 0) c.end_x = Div(-b, t), c.end_y = 0;
    if (Add(Mul(t, view_w), b) > view_h) c.end_x = Div(Sub(view_h, b), t), c.end_y = view_h;
    return c;
  }

  // 1 when a segment other than i and j is strictly closer to (x, y) than d:
  // its line closer with the foot inside, or else one of its ends closer.
  int CountCloserSegments(std::size_t i, std::size_t j, double x, double y, double d) const {
    for (std::size_t k = 0; k < seg.size(); ++k) {
      if (k == i || k == j || !(LineDistance(k, x, y) < d)) continue;
      if (Inside(k, Foot(k, x, y))) return 1;
      if (PointDistance(x, y, seg[k].x1, seg[k].y1) < d) return 1;
      if (PointDistance(x, y, seg[k].x2, seg[k].y2) < d) return 1;
    }
    return 0;
  }

  void PSet(double x, double y, std::uint32_t color) {
    // Too far for a float: it could land on no pixel, and is not converted.
    if (!(std::fabs(x) < 1e38 && std::fabs(y) < 1e38)) return;
    out.plots.push_back({static_cast<float>(x), static_cast<float>(y), color});
  }

  // Counts a sample, and steps v, ending a walk that no longer moves.
  double Next(double v, double step) {
    if (++out.samples > sample_limit) throw Stop{};
    const double next = Add(v, step);
    if (next == v) throw Stop{"a walk whose step no longer moves it"};
    return next;
  }

  // Walks the clipped line with slope m in accumulated half-pixel steps along
  // its dominant axis, smaller value first, and hands every sample to `test`.
  template <typename Test>
  void WalkLine(const Clipped& c, double m, Test&& test) {
    const double b = Sub(c.start_y, Mul(m, c.start_x));
    const bool steep = std::fabs(m) > 1;
    double p = c.start_x, q = c.end_x;
    if (m > 1) p = Add(Mul(m, c.start_x), b), q = Add(Mul(m, c.end_x), b);
    if (m < -1) p = Add(Mul(m, c.end_x), b), q = Add(Mul(m, c.start_x), b);
    for (double v = p; v <= q; v = Next(v, 0.5)) {
      test(steep ? Div(Sub(v, b), m) : v, steep ? v : Add(Mul(m, v), b));
    }
  }

  // The perpendicular bisector of end ei of segment i and end ej of segment
  // j, where each end is the nearest point of its segment.
  void EndpointBisector(std::size_t i, std::size_t j, int ei, int ej, std::uint32_t color) {
    const Point a = End(i, ei), b = End(j, ej);
    const double m0 = Div(Sub(a.y, b.y), Sub(a.x, b.x));
    const double slope = Div(-1, m0);
    const double mx = Div(Add(a.x, b.x), 2);
    const double my = Div(Add(a.y, b.y), 2);
    const Clipped c = Clip(slope, Sub(my, Mul(slope, mx)));
    const double m = Div(Sub(c.start_y, c.end_y), Sub(c.start_x, c.end_x));
    WalkLine(c, m, [&](double x, double y) {
      const double d0 = PointDistance(x, y, a.x, a.y);
      const Point qa = Probe(a, End(i, 3 - ei));
      const double d1 = PointDistance(x, y, qa.x, qa.y);
      const Point qb = Probe(b, End(j, 3 - ej));
      const double d2 = PointDistance(x, y, qb.x, qb.y);
      if (!(d1 < d0) && !(d2 < d0) && CountCloserSegments(i, j, x, y, d0) == 0) PSet(x, y, color);
    });
  }

  // An angle bisector of the pair's lines, where both interiors are nearest.
  // A bisector that missed the band has equal ends; slope 9999 walks it as one
  // steep sample instead of dividing 0 by 0.
  void LineBisector(std::size_t i, std::size_t j, const Clipped& c, std::uint32_t color) {
    const double m = c.start_x == c.end_x ? 9999
                                          : Div(Sub(c.start_y, c.end_y), Sub(c.start_x, c.end_x));
    WalkLine(c, m, [&](double x, double y) {
      const double fi = Foot(i, x, y);
      const double fj = Foot(j, x, y);
      if (!Inside(i, fi) || !Inside(j, fj)) return;
      const double d = LineDistance(i, x, y);
      if (CountCloserSegments(i, j, x, y, d) == 0) PSet(x, y, color);
    });
  }

  // Both angle bisectors of the pair's lines, constructed before the first
  // is traced.
  std::pair<Clipped, Clipped> LineBisectors(std::size_t i, std::size_t j) const {
    const PlainSegment& si = seg[i];
    const PlainSegment& sj = seg[j];
    const double x0 = Div(Sub(si.intercept, sj.intercept), Sub(sj.slope, si.slope));
    const double y0 = Add(Mul(x0, si.slope), si.intercept);
    double ai = Atan(si.slope);
    double aj = Atan(sj.slope);
    const double t1 = Tan(Div(Add(aj, ai), 2));
    const Clipped first = Clip(t1, Sub(y0, Mul(t1, x0)));
    // The perpendicular: the smaller angle turned by pi before the mean.
    if (ai < aj) {
      ai = Add(ai, kPi);
    } else {
      aj = Add(aj, kPi);
    }
    const double t2 = Tan(Div(Add(aj, ai), 2));
    return {first, Clip(t2, Sub(y0, Mul(t2, x0)))};
  }

  // The arc with focus end e of segment `owner` (whose other end is o) and
  // directrix the line of segment l, over the stretch that segment l covers.
  void Arc(std::size_t i, std::size_t j, std::size_t l, std::size_t owner, int e,
           std::uint32_t color) {
    const PlainSegment& s = seg[l];
    const Point f = End(owner, e), o = End(owner, 3 - e);
    // The parabola's frame: vertex halfway between the focus and its foot on
    // the line, half that distance as focal length, the normal's angle.
    const double h = Div(LineDistanceOfPoint(s, f), 2);
    const double n = Div(-1, s.slope);
    const double k = Sub(f.y, Mul(n, f.x));
    const double fx = Div(Sub(s.intercept, k), Sub(n, s.slope));
    const double fy = Add(Mul(fx, n), k);
    const double vx = Div(Add(fx, f.x), 2);
    const double vy = Div(Add(fy, f.y), 2);
    const double alpha = Atan(n);
    // Turn the axis from the directrix towards the focus.
    const double theta = f.x > vx ? Sub(Mul(2, kPi), alpha) : Sub(kPi, alpha);
    const double st = Sin(theta), ct = Cos(theta);
    const double u1 = Add(Mul(st, Sub(s.x1, vx)), Mul(ct, Sub(s.y1, vy)));
    const double u2 = Add(Mul(st, Sub(s.x2, vx)), Mul(ct, Sub(s.y2, vy)));
    const double cn = Cos(-theta), sn = Sin(-theta);
    for (double t = u1 > u2 ? u2 : u1; t <= (u1 > u2 ? u1 : u2); t = Next(t, 0.1)) {
      const double p = Div(Square(t), Mul(h, 4));
      const double x = Sub(Add(Mul(cn, p), vx), Mul(sn, t));
      const double y = Add(Add(Mul(sn, p), vy), Mul(cn, t));
      const double d1 = PointDistance(x, y, f.x, f.y);
      if (PointDistance(x, y, o.x, o.y) < d1) continue;
      const Point q = Probe(f, o);
      if (PointDistance(x, y, q.x, q.y) < d1) continue;
      if (CountCloserSegments(i, j, x, y, d1) == 0) PSet(x, y, color);
    }
  }

  // The focus's distance from the directrix, in the frame routine's order:
  // px * m - py + b.
  static double LineDistanceOfPoint(const PlainSegment& s, Point p) {
    const double num = Add(Sub(Mul(p.x, s.slope), p.y), s.intercept);
    return Div(std::fabs(num), Root(Add(Square(s.slope), 1)));
  }
};

std::string Where(int sweep, std::size_t i, std::size_t j, const char* trace) {
  return "sweep " + std::to_string(sweep) + ", pair (" + std::to_string(i) + ", " +
         std::to_string(j) + "), " + trace;
}

}  // namespace

PlainDiagram TracePlainly(const std::vector<PlainSegment>& segments, double view_w, double view_h,
                          std::uint64_t sample_limit) {
  Tracer tr{segments, view_w, view_h, sample_limit, {}};
  const std::size_t count = segments.size();
  std::string where;
  std::feclearexcept(FE_ALL_EXCEPT);
  try {
    // Sweep 1: per pair the four endpoint bisectors, then the two angle
    // bisectors.
    for (std::size_t i = 0; i + 1 < count; ++i) {
      for (std::size_t j = i + 1; j < count; ++j) {
        const struct {
          int ei, ej;
          std::uint32_t color;
          const char* name;
        } ends[] = {
            {1, 1, 0xFFFF00, "endpoint bisector 1 (left ends)"},
            {2, 2, 0xFF00FF, "endpoint bisector 2 (right ends)"},
            {1, 2, 0x00FFFF, "endpoint bisector 3 (left end of i, right end of j)"},
            {2, 1, 0x0000FF, "endpoint bisector 4 (right end of i, left end of j)"},
        };
        for (const auto& e : ends) {
          where = Where(1, i, j, e.name);
          tr.EndpointBisector(i, j, e.ei, e.ej, e.color);
        }
        where = Where(1, i, j, "angle bisector 1");
        const auto [first, second] = tr.LineBisectors(i, j);
        tr.LineBisector(i, j, first, 0xFF0000);  // blue
        where = Where(1, i, j, "angle bisector 2");
        tr.LineBisector(i, j, second, 0x00FF00);  // green
      }
    }
    // Sweep 2, over the same pairs: each end of one segment as focus against
    // the other's line.
    for (std::size_t i = 0; i + 1 < count; ++i) {
      for (std::size_t j = i + 1; j < count; ++j) {
        const struct {
          std::size_t line, owner;
          int end;
          std::uint32_t color;
          const char* name;
        } arcs[] = {
            {i, j, 1, 0xFF00FF, "arc 1 (left end of j, line of i)"},
            {i, j, 2, 0xFFFF00, "arc 2 (right end of j, line of i)"},
            {j, i, 1, 0x00FFFF, "arc 3 (left end of i, line of j)"},
            {j, i, 2, 0x00FF00, "arc 4 (right end of i, line of j)"},
        };
        for (const auto& a : arcs) {
          where = Where(2, i, j, a.name);
          tr.Arc(i, j, a.line, a.owner, a.end, a.color);
        }
      }
    }
  } catch (const Stop& stop) {
    if (stop.fault.empty()) {
      tr.out.too_long = true;
    } else {
      tr.out.error = "Run-time error: " + stop.fault + " in " + where;
    }
  }
  std::feclearexcept(FE_ALL_EXCEPT);
  return std::move(tr.out);
}

}  // namespace kaldra::plain
