// The per-sample shortcuts against the arithmetic they stand for, above all
// where the two disagree: near-ties, which the exact distances must decide.
#include <array>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "geometry/constructions.h"
#include "scene/power.h"
#include "scene/scene_builder.h"
#include "tracing/closer_test.h"
#include "tracing/rejection_window.h"
#include "tracing/square_as_pow.h"
#include "tracing/traces.h"

namespace kaldra {
namespace {

// The library's pow with an exponent the compiler cannot see.
double LibraryPow(double base, double exponent) {
  volatile double e = exponent;
  return std::pow(base, e);
}

TEST(SquareAsPow, EqualsThePowerFunctionBitForBit) {
  std::mt19937_64 engine(12345);
  std::uniform_real_distribution<double> walk_values(-3000.0, 3000.0);
  int product_differs = 0;
  for (int n = 0; n < 2'000'000; ++n) {
    // A few exact squares and zero among the walk's values.
    const double t = n < 4 ? std::ldexp(n, n) : walk_values(engine);
    const double expected = LibraryPow(t, 2.0);
    ASSERT_EQ(SquareAsPow(t), expected) << "t = " << t;
    if (t * t != expected) ++product_differs;
  }
  // The shortcut would be pointless if the product always agreed, and the
  // test would prove nothing if the hard cases never came up.
  EXPECT_GT(product_differs, 100);
}

// A sample (x, y), the site s at the pair's distance and a point p that ties
// with it: the squared sums of plain products order the two one way, the
// distances taken with pow the other (found by a search over random points).
struct NearTie {
  double x, y, px, py, sx, sy;
};
const NearTie kNearTies[] = {
    // p nearer by the squares, not by the distances (they are equal)
    {528.06971290700062, 664.51084202485094, 82.189996724162683, 624.33922369873346,
     496.72409900003322, 217.9238597794851},
    {136.82652317601529, 384.43446138191075, 393.33288589029542, 463.88124250022844,
     384.57814242709571, 488.00299087537911},
    {495.3083573693649, 72.528923206320641, 456.85525524809913, 394.12089601904398,
     332.84607060547671, 352.71822246626039},
    // p nearer by the distances, not by the squares
    {161.35578508113201, 88.392827258206893, 266.33105968102575, 231.27047866795536,
     242.45561421617538, 246.05274373654157},
    {264.69799911367693, 186.39406579333914, 660.39412930855997, 70.976497940126322,
     442.79963692810247, 558.11499475507514},
};

void PrintTo(const NearTie& t, std::ostream* os) { *os << "sample (" << t.x << ", " << t.y << ")"; }

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
  // As the end of a third segment, pointing away from the sample so that the
  // end is its nearest point: is that segment strictly closer than the pair?
  const double ux = (t.px - t.x) / d_site;
  const double uy = (t.py - t.y) / d_site;
  const double cos20 = std::cos(0.35);
  const double sin20 = std::sin(0.35);
  SceneBuilder builder(4000, 4000);
  ASSERT_TRUE(builder.Add(3000, 3100, 3300, 3500).Accepted());
  ASSERT_TRUE(builder.Add(3500, 3000, 3800, 2800).Accepted());
  ASSERT_TRUE(builder
                  .Add(t.px, t.py, t.px + 40 * (ux * cos20 - uy * sin20),
                       t.py + 40 * (ux * sin20 + uy * cos20))
                  .Accepted());
  const Scene scene = builder.Build();
  CloserTest closer(scene, 0, 1);
  EXPECT_EQ(closer.AnyCloser(t.x, t.y, s_site, [&] { return d_site; }), nearer);
  EXPECT_EQ(AnyCloserSegment(scene, 0, 1, t.x, t.y, d_site), nearer);
}

INSTANTIATE_TEST_SUITE_P(Samples, NearTies, ::testing::ValuesIn(kNearTies));

// Exact ties: a third segment whose line or end is at exactly the pair's
// distance d is not closer, in the fast test as in the plain one.
TEST(CloserTest, ASegmentAtExactlyTheDistanceIsNotCloser) {
  SceneBuilder builder(800, 600);
  for (const auto& s : {std::array<double, 4>{300, 350, 500, 380},
                        {600, 50, 700, 170},
                        {100, 100, 200, 175}}) {  // the last on y = 0.75 x + 25, norm 1.25
    ASSERT_TRUE(builder.Add(s[0], s[1], s[2], s[3]).Accepted());
  }
  const Scene scene = builder.Build();
  CloserTest closer(scene, 0, 1);
  // The line exactly 80 away with its foot inside; an end exactly 50 away.
  for (const auto& [x, y, d] : {std::array<double, 3>{150, 237.5, 80}, {70, 60, 50}}) {
    EXPECT_FALSE(closer.AnyCloser(x, y, d * d, [d] { return d; })) << x << ", " << y;
    EXPECT_TRUE(closer.AnyCloser(x, y, d * d * 1.01, [d] { return d * 1.005; }));
  }
}

// Each rejection radius is the distance to where the reason would stop
// holding, less a rounding allowance far below a pixel; a window covers the
// walk strictly before the parameter that radius reaches.
TEST(RejectionWindow, RadiiFallJustShortOfTheBoundary) {
  SceneBuilder builder(300, 300);
  ASSERT_TRUE(builder.Add(100, 100, 200, 200).Accepted());
  const Scene scene = builder.Build();
  const CanvasBounds bounds = CanvasBounds::Around(300, 300);
  struct Case {
    const char* what;
    double radius, boundary;
  };
  const Case cases[] = {
      // The segment 35.36 away, the pair 20 further: k stays closer for 10.
      {"closer", CloserRadius(scene[0], 150, 100, 35.35533905932738 + 20), 10},
      // The probe (1, 0) beside the site (0, 0): their bisector is x = 0.5.
      {"probe", ProbeRadius(0, 0, 1, 0, 10, 5, 0), 9.5},
      // The same with a compared distance up to 0.1 off: a slimmer window.
      {"probe off", ProbeRadius(0, 0, 1, 0, 10, 5, 0.1), 9.5 - 0.1 * 21.6 / 1},
      // The foot of (300, 250) on y = x is at x = 275, 75 past the end.
      {"foot", FootRadius(scene[0], 300, 250), 75 * std::sqrt(2.0)},
      {"outside", OutsideRadius(bounds, -14, 100), 10},
  };
  for (const Case& c : cases) {
    EXPECT_LT(c.radius, c.boundary) << c.what;
    EXPECT_GT(c.radius, c.boundary - 0.02) << c.what;
  }
  // An arc with h = 1 from t = 5 moves at most dt (1 + (5 + dt) / 2) <= 10.
  const double dt = ArcReach(1, 0, 0, 5, 10);
  EXPECT_NEAR(dt, (std::sqrt(129.0) - 7) / 2, 1e-6);
  EXPECT_EQ(ArcReach(0, 0, 0, 5, 10), 0);  // a focus on the line: no window
  EXPECT_NEAR(StraightReach(std::sqrt(2.0), 10), 10 / std::sqrt(2.0), 1e-6);

  RejectionWindow window(true);
  EXPECT_FALSE(window.Covers(-1e300));
  window.Open(10, 2.5);
  EXPECT_TRUE(window.Covers(12.4999));
  EXPECT_FALSE(window.Covers(12.5));
  RejectionWindow off(false);
  off.Open(10, 2.5);
  EXPECT_FALSE(off.Covers(11));
}

// The foot's x exactly as the closer-segment test computes it.
bool ExactFootInside(const Segment& s, double x, double y) {
  const double mp = -1 / s.slope;
  const double cp = y - mp * x;
  const double fx = (cp - s.intercept) / (s.slope - mp);
  return s.x1 <= fx && fx <= s.x2;
}

TEST(FootInside, AgreesWithTheQuotientNearBothEnds) {
  SceneBuilder builder(300, 300);
  ASSERT_TRUE(builder.Add(100, 100, 200, 200).Accepted());
  const Scene scene = builder.Build();
  const Segment& s = scene[0];
  // Walk points whose feet straddle each end by a few units in the last place,
  // the end itself among them: both ends belong to the segment.
  for (const double end : {100.0, 200.0}) {
    double x = end - 1e-12;
    for (int n = 0; n < 2000; ++n, x = std::nextafter(x, 1e9)) {
      const double y = 2 * end - x;  // on the perpendicular through the end
      const bool inside = FootInside(s, (y - s.perp * x) - s.intercept);
      EXPECT_EQ(inside, ExactFootInside(s, x, y)) << x;
      if (x == end) {
        EXPECT_TRUE(inside);
      }
    }
  }
}

}  // namespace
}  // namespace kaldra
