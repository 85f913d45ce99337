// The per-sample shortcuts against the arithmetic they stand for, above all
// where the two disagree: near-ties, which the exact distances must decide;
// then the windows of rejected samples and the walk's jump across them.
#include <array>
#include <cmath>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "geometry/constructions.h"
#include "geometry/mdl_kaldra.h"
#include "tests/support/build_scene.h"
#include "tracing/accumulate.h"
#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/traces.h"

namespace kaldra {
namespace {

using testing::BuildScene;

// A sample (x, y), the site s at the pair's distance and a point p that ties
// with it: the squared sums order the two, but their correctly rounded roots,
// the distances, are equal, and so p is not strictly nearer (found by a search
// over random points).
struct NearTie {
  double x, y, px, py, sx, sy;
};
const NearTie kNearTies[] = {
    {528.06971290700062, 664.51084202485094, 82.189996724162683, 624.33922369873346,
     496.72409900003322, 217.9238597794851},
    {136.82652317601529, 384.43446138191075, 393.33288589029542, 463.88124250022844,
     384.57814242709571, 488.00299087537911},
    {495.3083573693649, 72.528923206320641, 456.85525524809913, 394.12089601904398,
     332.84607060547671, 352.71822246626039},
    {611.58569491752132, 692.98753907639377, 572.19985538686819, 198.83074629812157,
     614.65045677773071, 197.27311782239912},
    {380.45496201602037, 327.73049511251571, 54.230741618033861, 183.05645481001997,
     91.725471296864129, 117.99709028443661},
};

class NearTies : public ::testing::TestWithParam<NearTie> {};

TEST_P(NearTies, TheExactDistancesDecide) {
  const NearTie& t = GetParam();
  const double s_site = SquaredDistance(t.x, t.y, t.sx, t.sy);
  const double s_point = SquaredDistance(t.x, t.y, t.px, t.py);
  const double d_site = PointDistance(t.x, t.y, t.sx, t.sy);
  const bool nearer = PointDistance(t.x, t.y, t.px, t.py) < d_site;
  ASSERT_NE(s_point < s_site, nearer) << "not a near-tie the squares get wrong";
  EXPECT_EQ(CompareSquared(s_point, s_site), Order::kTie);
  // As a probe next to an end: is the interior nearer than the end?
  EXPECT_EQ(ProbeNearer(t.x, t.y, {t.px, t.py}, s_site, [&] { return d_site; }), nearer);
  // As the end of a third segment, pointing away from the sample (turned by
  // 0.35 rad) so that the end is its nearest point: is that segment strictly
  // closer than the pair?
  const double ux = (t.px - t.x) / d_site, uy = (t.py - t.y) / d_site;
  const double c = std::cos(0.35), s = std::sin(0.35);
  const Scene scene = BuildScene(
      {{3000, 3100, 3300, 3500},
       {3500, 3000, 3800, 2800},
       {t.px, t.py, t.px + 40 * (ux * c - uy * s), t.py + 40 * (ux * s + uy * c)}},
      4000, 4000);
  EXPECT_EQ(CloserTest(scene, 0, 1).AnyCloser(t.x, t.y, s_site, [&] { return d_site; }), nearer);
  EXPECT_EQ(AnyCloserSegment(scene, 0, 1, t.x, t.y, d_site), nearer);
  // At a tie no rejection window opens, whichever way the tie goes.
  EXPECT_LE(ProbeRadius(t.sx, t.sy, t.px, t.py, t.x, t.y, 0), 0);
  EXPECT_LE(CloserRadius(scene[2], t.x, t.y, d_site, d_site), 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, NearTies, ::testing::ValuesIn(kNearTies));

// Whether a third segment is strictly closer to (x, y) than the pair's
// distance d, asked of the plain count, in either order of the pair, and of
// the fast test: by its line when the foot is inside (both ends included),
// else by an end; a segment at exactly d, by its line or by its end, is not
// closer.
TEST(CloserTest, AnswersWhetherTheThirdSegmentIsStrictlyCloser) {
  // On y = x, Slope 1 and Intercept 0.
  constexpr std::array<double, 4> kDiagonal{100, 100, 200, 200};
  // On y = 0.75 x + 25: the root of Slope^2 + 1 is exactly 1.25, so distances
  // to its line come out exact.
  constexpr std::array<double, 4> kThreeFour{100, 100, 200, 175};
  const struct {
    const char* name;
    std::array<double, 4> third;
    double x, y, d;
    int closer;
  } rows[] = {
      // Line distance 35.355, foot at x = 125.
      {"LineCloserFootInside", kDiagonal, 150, 100, 40, 1},
      {"LineNotCloser", kDiagonal, 150, 100, 35, 0},
      // Line distance 35.355, foot at x = 25; the ends are 111.803 and 250 away.
      {"FootLeftOfTheSegmentEndsFarther", kDiagonal, 50, 0, 100, 0},
      {"FootLeftOfTheSegmentFirstEndCloser", kDiagonal, 50, 0, 120, 1},
      // Foot at x = 275; the second end is 111.803 away.
      {"FootRightOfTheSegmentSecondEndCloser", kDiagonal, 250, 300, 120, 1},
      // Feet exactly at x = 100 and x = 200; the line distance 2 / 2^0.5 rounds
      // one unit below d = 2^0.5, so only a foot test including the ends says 1.
      {"FootExactlyAtTheFirstEnd", kDiagonal, 99, 101, 1.4142135623730951, 1},
      {"FootExactlyAtTheSecondEnd", kDiagonal, 201, 199, 1.4142135623730951, 1},
      // Line distance exactly 80, foot at x = 198; a little more is closer.
      {"LineAtExactlyDIsNotCloser", kThreeFour, 150, 237.5, 80, 0},
      {"LineJustInsideD", kThreeFour, 150, 237.5, 80.4, 1},
      // Feet outside; an end exactly 50 away (a 30-40-50 triangle).
      {"FirstEndAtExactlyDIsNotCloser", kThreeFour, 70, 60, 50, 0},
      {"FirstEndJustInsideD", kThreeFour, 70, 60, 50.25, 1},
      {"SecondEndAtExactlyDIsNotCloser", kThreeFour, 230, 215, 50, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const Scene scene = BuildScene({{300, 350, 500, 380}, {600, 50, 700, 170}, r.third});
    const mdlKaldra mdl(scene);
    EXPECT_EQ(mdl.CountCloserSegments(0, 1, r.x, r.y, r.d), r.closer);
    EXPECT_EQ(mdl.CountCloserSegments(1, 0, r.x, r.y, r.d), r.closer);
    EXPECT_EQ(CloserTest(scene, 0, 1).AnyCloser(r.x, r.y, r.d * r.d, [&r] { return r.d; }),
              r.closer == 1);
  }
}

// Each rejection radius is the distance to where the reason would stop
// holding, less a rounding allowance far below a pixel.
TEST(RejectionWindow, RadiiFallJustShortOfTheBoundary) {
  const Scene scene = BuildScene({{100, 100, 200, 200}}, 300, 300);
  const struct {
    double radius, boundary;
  } rows[] = {
      // The segment 35.36 away, the pair 20 further: k stays closer for 10.
      {CloserRadius(scene[0], 150, 100, 35.35533905932738 + 20, 55.4), 10},
      // The probe (1, 0) beside the site (0, 0): their bisector is x = 0.5;
      // with a compared distance up to 0.1 off, 0.1 D / |sp| less, where D =
      // d + h + 0.1 + 1 = 21.78 bounds the distances in the window.
      {ProbeRadius(0, 0, 1, 0, 10, 5, 0), 9.5},
      {ProbeRadius(0, 0, 1, 0, 10, 5, 0.1), 9.5 - 2.178},
      // The foot of (300, 250) on y = x is at x = 275, 75 past the end.
      {FootRadius(scene[0], 300, 250), 75 * std::sqrt(2.0)},
      {OutsideRadius(CanvasBounds::Around(300, 300), -14, 100), 10},
      // An arc with h = 1 from t = 5 moves at most dt (1 + (5 + dt) / 2).
      {ArcReach(1, 0, 0, 5, 10), (std::sqrt(129.0) - 7) / 2},
      {StraightReach(std::sqrt(2.0), 100, 100, 10), 10 / std::sqrt(2.0)},
  };
  for (const auto& r : rows) {
    EXPECT_LT(r.radius, r.boundary) << r.boundary;
    EXPECT_GT(r.radius, r.boundary - 0.01) << r.boundary;
  }
  EXPECT_EQ(ArcReach(0, 0, 0, 5, 10), 0);  // a focus on the line: no window
}

// The error budget at work: every point within a window's radius of the
// rejected sample is rejected by the plain test for the same reason, right up
// to the window's edge, on ordinary segments and on the ones where rounding
// decides the foot test (a few units in the last place wide) or costs the
// most (steep).
TEST(RejectionWindow, EveryPointWithinTheRadiusIsRejectedPlainly) {
  std::mt19937_64 engine(11);
  std::uniform_real_distribution<double> x(20, 760), y(20, 540), turn(0, 6.283185307179586);
  int windows[3] = {0, 0, 0};  // closer, foot, probe
  for (int n = 0; n < 3000; ++n) {
    SceneBuilder builder(kDefaultCanvasWidth, kDefaultCanvasHeight);
    while (builder.Count() < 2) builder.Add(x(engine), y(engine), x(engine), y(engine));
    while (builder.Count() < 3) {
      const double x1 = x(engine);
      const double x2 = n % 3 == 0   ? std::nextafter(std::nextafter(x1, 1e9), 1e9)
                        : n % 3 == 1 ? x1 + 1e-4
                                     : x(engine);
      builder.Add(x1, y(engine), x2, y(engine));
    }
    const Scene scene = builder.Build();
    const Segment& k = scene[2];
    const double px = x(engine), py = y(engine);
    const double d = PointDistance(px, py, scene[0].x1, scene[0].y1);
    const Point site{k.x1, k.y1}, probe = Probe(site, {k.x2, k.y2});
    const auto foot_off = [&](double qx, double qy) {
      const double f = FootX(k, qx, qy);
      return !(f >= k.x1 && f <= k.x2);
    };
    const auto probe_nearer = [&](double qx, double qy) {
      return PointDistance(qx, qy, probe.x, probe.y) < PointDistance(qx, qy, site.x, site.y);
    };
    // Each reason that holds at the sample, the radius it gets, and the plain
    // test that must still hold within it.
    const struct {
      bool holds;
      double radius;
      std::function<bool(double, double)> rejects;
    } reasons[] = {
        {AnyCloserSegment(scene, 0, 1, px, py, d), CloserRadius(k, px, py, d, d),
         [&](double qx, double qy) {
           return AnyCloserSegment(scene, 0, 1, qx, qy,
                                   PointDistance(qx, qy, scene[0].x1, scene[0].y1));
         }},
        {foot_off(px, py), FootRadius(k, px, py), foot_off},
        {probe_nearer(px, py), ProbeRadius(site.x, site.y, probe.x, probe.y, px, py, 0),
         probe_nearer},
    };
    for (int r = 0; r < 3; ++r) {
      if (!reasons[r].holds || !(reasons[r].radius > 0)) continue;
      ++windows[r];
      for (int m = 0; m < 120; ++m) {
        const double angle = turn(engine), at = (m < 40   ? 0.5
                                                 : m < 80 ? 0.99
                                                          : 0.999999) *
                                                reasons[r].radius;
        const double qx = px + at * std::cos(angle), qy = py + at * std::sin(angle);
        ASSERT_TRUE(reasons[r].rejects(qx, qy))
            << "reason " << r << " scene " << n << " at " << at << " of " << reasons[r].radius;
      }
    }
  }
  for (const int opened : windows) EXPECT_GT(opened, 200);
}

// Jumping through a run of an accumulated walk lands where the plain loop
// lands, with the same count, across binade edges, through zero and on both
// walk steps.
TEST(AccumulateBelow, LandsWhereThePlainLoopLands) {
  std::mt19937_64 engine(7);
  std::uniform_real_distribution<double> start(-3000.0, 3000.0), run(0.0, 1.0);
  for (int n = 0; n < 60'000; ++n) {
    const double step = n % 2 == 0 ? 0.1 : 0.5;
    // Random starts and runs, a few of them long; and walks landing exactly
    // on a binade's edge 2^k, or a spacing or three beside it, from below
    // going up, and from beyond -2^k going down towards zero, where the
    // spacing halves: delta is the step rounded to the spacing u walked.
    double v = start(engine), bound = v + (n % 100 == 0 ? 60'000 : 400) * step * run(engine);
    if (n < 2 * 336) {  // 2 steps, 2 signs, 7 offsets, 12 edges, 2 bounds
      const int k = 1 + n / 28 % 12, m = n / 4 % 7 - 3;
      const double edge = n / 2 % 2 == 0 ? std::ldexp(1.0, k) : -std::ldexp(1.0, k);
      const double u = std::ldexp(1.0, edge > 0 ? k - 53 : k - 52);
      const double delta = std::nearbyint(step / u) * u;
      v = edge - 80 * delta + m * u;
      bound = n / 336 == 0 ? edge + 20 * step : std::nextafter(v + 40 * delta, edge);
    }
    Stride plain{v, 0};
    for (; plain.v < bound; plain.v = plain.v + step) ++plain.steps;
    const Stride fast = AccumulateBelow(v, step, bound);
    ASSERT_EQ(fast.steps, plain.steps) << std::hexfloat << v << " " << step << " " << bound;
    ASSERT_EQ(fast.v, plain.v) << std::hexfloat << v << " " << step << " " << bound;
  }
}

}  // namespace
}  // namespace kaldra
