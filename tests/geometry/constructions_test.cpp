#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"
#include "scene/power.h"
#include "scene/run_time_error.h"
#include "scene/scene_builder.h"

namespace kaldra {
namespace {

struct Seg {
  double x1, y1, x2, y2;
};

// These segments built in order, in a width x height rectangle.
Scene Build(std::initializer_list<Seg> segments, double width = 400, double height = 300) {
  SceneBuilder builder(width, height);
  for (const Seg& s : segments) EXPECT_TRUE(builder.Add(s.x1, s.y1, s.x2, s.y2).Accepted());
  return builder.Build();
}

// A segment as a scene holds it, built by hand so that it may lie anywhere.
Segment Hand(const Seg& s) {
  const Line line = LineThrough(s.x1, s.y1, s.x2, s.y2);
  return {s.x1, s.y1, s.x2, s.y2, line.slope, line.intercept, true, 0, 0, 0, 0, 0};
}

void ExpectLineNear(const ClippedLine& actual, const ClippedLine& expected) {
  EXPECT_NEAR(actual.StartX, expected.StartX, 1e-6);
  EXPECT_NEAR(actual.StartY, expected.StartY, 1e-6);
  EXPECT_NEAR(actual.EndX, expected.EndX, 1e-6);
  EXPECT_NEAR(actual.EndY, expected.EndY, 1e-6);
  // A line that misses the band gets one point twice, exactly.
  EXPECT_EQ(actual.StartX == actual.EndX, expected.StartX == expected.EndX);
  EXPECT_EQ(actual.StartY == actual.EndY, expected.StartY == expected.EndY);
}

// pow with an exponent the compiler cannot see: always the library call.
double LibraryPow(double x, double exponent) {
  volatile double e = exponent;
  return std::pow(x, e);
}

// Squares and roots must come from the library's pow: a build that lets the
// compiler turn pow(x, 2.0) into x * x or pow(x, 0.5) into sqrt(x) would change
// the oracle and the sweeps alike, so only this test notices. The values are
// ones where this libm's pow and the product or sqrt differ in the last bit.
TEST(Power, SquaresAndRootsAreTheLibrarysPowBitForBit) {
  int told_apart = 0;
  for (const auto& [x, e] :
       {std::pair{-458.711, 2.0}, std::pair{-694.505, 2.0}, std::pair{539.170, 2.0},
        std::pair{990354.434, 0.5}, std::pair{188419.509, 0.5}, std::pair{897901.649, 0.5}}) {
    EXPECT_EQ(e == 2.0 ? Square(x) : Root(x), LibraryPow(x, e)) << x;
    if (LibraryPow(x, e) != (e == 2.0 ? x * x : std::sqrt(x))) ++told_apart;
  }
  EXPECT_EQ(PointDistance(0, 0, -254.871, 424.417),
            LibraryPow(LibraryPow(424.417, 2.0) + LibraryPow(-254.871, 2.0), 0.5));
  if (told_apart == 0) GTEST_SKIP() << "this libm's pow is x * x and sqrt(x) on every case";
}

// Pi is the fifteen-digit 3.14159265358979, seven units in the last place
// below the double nearest to pi, in the constant and in every new scene.
TEST(mdlKaldra, PiIsTheFifteenDigitValueAndRecordsAreClippedToTheScene) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kKaldraPi), 0x400921FB54442D11u);
  const Scene scene = Build({{10, 20, 30, 50}});
  mdlKaldra mdl(scene);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(mdl.Pi), 0x400921FB54442D11u);
  // The record form of the bisector, clipped to the scene's 400 x 300.
  mdl.PointBisector(100, 100, 200, 300);
  ExpectLineNear(mdl.PtBis, {0, 275, 400, 75});
}

// The bisector y = b * x + e of A and B, cut to the band of a 600 x 400
// rectangle, the same whichever point comes first.
TEST(PointBisector, ClipsThePerpendicularBisectorToTheBand) {
  struct Row {
    const char* name;
    double ax, ay, bx, by;
    ClippedLine expected;
  };
  const Row rows[] = {
      // b = -0.5, e = 275; b * 600 + e = -25 is below 0.
      {"LeavesThroughYZero", 100, 100, 200, 300, {0, 275, 550, 0}},
      // b = -20, e = 4205: enters through y = 400, leaves through y = 0,
      // so the first end has the larger y.
      {"SteepFromViewHToYZero", 100, 200, 300, 210, {190.25, 400, 210.25, 0}},
      // e exactly 0 and 400: the first end stays on x = 0, not at -e / b = -0.
      {"InterceptExactlyZero", 100, 200, 200, 100, {0, 0, 400, 400}},
      {"InterceptExactlyViewH", 50, 250, 150, 350, {0, 400, 400, 0}},
      // Lines that miss the band over 0 <= x <= 600.
      {"BelowYZeroLeftOfTheRectangle", -100, -100, 0, 0, {-100, 0, -100, 0}},
      {"BeyondViewHLeftOfTheRectangle", 0, 600, 100, 500, {-100, 400, -100, 400}},
      {"BelowYZeroRightOfTheRectangle", 700, 100, 800, 0, {700, 0, 700, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const ClippedLine line = PointBisectorLine(r.ax, r.ay, r.bx, r.by, 600, 400);
    ExpectLineNear(line, r.expected);
    EXPECT_EQ(std::signbit(line.StartX), std::signbit(r.expected.StartX));
    ExpectLineNear(PointBisectorLine(r.bx, r.by, r.ax, r.ay, 600, 400), r.expected);
  }
}

// Segments 0 and 1 are the pair, far from every sample below.
constexpr Seg kPair0{300, 350, 500, 380};
constexpr Seg kPair1{600, 50, 700, 170};
// On y = x, Slope 1 and Intercept 0.
constexpr Seg kDiagonal{100, 100, 200, 200};
// On y = 0.75 x + 25: the root of Slope^2 + 1 is exactly 1.25, so distances
// to its line come out exact.
constexpr Seg kThreeFour{100, 100, 200, 175};

TEST(CountCloserSegments, AnswersWhetherTheThirdSegmentIsStrictlyCloser) {
  struct Row {
    const char* name;
    Seg third;
    double x, y, d;
    int result;
  };
  const Row rows[] = {
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
      // Line distance exactly 80, foot at x = 198.
      {"LineAtExactlyDIsNotCloser", kThreeFour, 150, 237.5, 80, 0},
      // Feet outside; an end exactly 50 away (a 30-40-50 triangle).
      {"FirstEndAtExactlyDIsNotCloser", kThreeFour, 70, 60, 50, 0},
      {"SecondEndAtExactlyDIsNotCloser", kThreeFour, 230, 215, 50, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const Scene scene = Build({kPair0, kPair1, r.third}, 800, 600);
    const mdlKaldra mdl(scene);
    EXPECT_EQ(mdl.CountCloserSegments(0, 1, r.x, r.y, r.d), r.result);
    EXPECT_EQ(mdl.CountCloserSegments(1, 0, r.x, r.y, r.d), r.result);  // either order
  }
  // The pair itself is skipped: segment 2 is 35.355 away, 0 and 1 farther.
  const Scene scene = Build({kPair0, kPair1, kDiagonal}, 800, 600);
  EXPECT_EQ(mdlKaldra(scene).CountCloserSegments(2, 0, 150, 100, 40), 0);
}

// The bisectors of segments i and j in a 400 x 300 rectangle, which may raise
// no floating-point fault.
AngleBisectors Bisect(const Seg& i, const Seg& j) {
  ClearFloatingPointFaults();
  const AngleBisectors both = AngleBisectorLines(Hand(i), Hand(j), 400, 300);
  EXPECT_EQ(RaisedFloatingPointFault(), nullptr);
  return both;
}

// The mean direction and its perpendicular, whichever line comes first; a
// bisector of slope exactly 0, inside the band or outside it (both ends at
// (0, intercept), no division by zero), and one that misses the rectangle.
TEST(LineBisectors, ClipsBothBisectorsOfTheSupportingLines) {
  // y = 0.5 x + 50 and y = 2 x - 100 meet at (100, 100); their mean is pi/4.
  for (const AngleBisectors& both : {Bisect({0, 50, 100, 100}, {100, 100, 150, 200}),
                                     Bisect({100, 100, 150, 200}, {0, 50, 100, 100})}) {
    ExpectLineNear(both.first, {0, 0, 300, 300});
    ExpectLineNear(both.second, {0, 200, 200, 0});
  }
  // Opposite slopes meeting at (1400, 150).
  const AngleBisectors both = Bisect({100, 20, 300, 40}, {100, 280, 300, 260});
  ExpectLineNear(both.first, {0, 150, 400, 150});
  ExpectLineNear(both.second, {1400, 0, 1400, 0});
  ExpectLineNear(Bisect({0, -50, 100, -40}, {0, -30, 100, -40}).first, {0, -40, 0, -40});
  // A horizontal line on the band's edges or just inside it crosses the band.
  ExpectLineNear(ClipToBand(0, 0, 400, 300), {0, 0, 400, 0});
  ExpectLineNear(ClipToBand(0, 0.5, 400, 300), {0, 0.5, 400, 0.5});
  ExpectLineNear(ClipToBand(0, 300, 400, 300), {0, 300, 400, 300});
  ExpectLineNear(Bisect({0, 340, 100, 350}, {0, 360, 100, 350}).first, {0, 350, 0, 350});
  // The record form keeps the same two lines.
  const Scene scene = Build({{10, 60, 110, 110}, {120, 130, 170, 235}});
  mdlKaldra mdl(scene);
  mdl.LineBisectors(0, 1);
  const AngleBisectors pure = AngleBisectorLines(scene[0], scene[1], 400, 300);
  ExpectLineNear(mdl.LnBis1, pure.first);
  ExpectLineNear(mdl.LnBis2, pure.second);
}

// The directrix is segment 0 on y = 0.5 x + 100; the foci are the ends of
// segment 1, (200, 300) and (260, 420). Each routine writes the shared vertex
// and only its own half-distance and axis angle.
TEST(ParabolaFrames, WorkedExampleWithStartAndEndFieldsKeptApart) {
  const Scene scene = Build({{100, 150, 300, 250}, {200, 300, 260, 420}}, 400, 500);
  mdlKaldra mdl(scene);
  mdl.ParabolaFrame = {-1, -2, -3, -4, -5, -6};
  mdl.StartParabola(0, 1);  // foot (240, 220), vertex (220, 260)
  const ParabolaFrameRecord start = mdl.ParabolaFrame;
  EXPECT_NEAR(start.ParX, 220, 1e-6);
  EXPECT_NEAR(start.ParY, 260, 1e-6);
  EXPECT_NEAR(start.ParHalfS, 44.721360, 1e-6);
  EXPECT_NEAR(start.ParAxisS, -1.107149, 1e-6);
  EXPECT_EQ(start.ParAxisE, -2);
  mdl.EndParabola(0, 1);  // foot (336, 268), vertex (298, 344)
  const ParabolaFrameRecord& end = mdl.ParabolaFrame;
  EXPECT_NEAR(end.ParY, 344, 1e-6);
  EXPECT_NEAR(end.ParHalfE, 84.970583, 1e-6);
  EXPECT_EQ(end.ParAxisE, start.ParAxisS);  // the line's normal, whatever the focus
  EXPECT_EQ(end.ParHalfS, start.ParHalfS);  // untouched
}

}  // namespace
}  // namespace kaldra
