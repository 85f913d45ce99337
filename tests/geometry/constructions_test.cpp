#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"
#include "tests/support/build_scene.h"

namespace kaldra {
namespace {

using testing::BuildScene;

struct Seg {
  double x1, y1, x2, y2;
};

// A segment as a scene holds it, built by hand so that it may lie anywhere.
Segment Hand(const Seg& s) {
  const Line line = LineThrough(s.x1, s.y1, s.x2, s.y2);
  return {s.x1, s.y1, s.x2, s.y2, line.slope, line.intercept, true, 0, 0, 0, 0, 0};
}

void ExpectLineNear(const ClippedLine& actual, const ClippedLine& expected) {
  const double got[] = {actual.StartX, actual.StartY, actual.EndX, actual.EndY};
  const double want[] = {expected.StartX, expected.StartY, expected.EndX, expected.EndY};
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], want[k], 1e-6) << "coordinate " << k;
  // A line that misses the band gets one point twice, exactly.
  EXPECT_EQ(actual.StartX == actual.EndX, expected.StartX == expected.EndX);
  EXPECT_EQ(actual.StartY == actual.EndY, expected.StartY == expected.EndY);
}

// The bisector y = b * x + e of A and B, cut to the band of a 600 x 400
// rectangle, the same whichever point comes first, where the plain cases
// (the pinned diagrams walk many) give way to the edges of the band.
TEST(PointBisector, ClipsThePerpendicularBisectorToTheBand) {
  struct Row {
    const char* name;
    double ax, ay, bx, by;
    ClippedLine expected;
  };
  const Row rows[] = {
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

// The bisectors of segments i and j in a 400 x 300 rectangle; a fault would
// throw.
AngleBisectors Bisect(const Seg& i, const Seg& j) {
  return AngleBisectorLines(Hand(i), Hand(j), 400, 300);
}

// The cases the pinned diagrams cannot reach or may miss: a bisector of slope
// exactly 0, outside the band (both ends at (0, intercept), no division by
// zero), on the band's edges or just inside it (it crosses the band). The
// plain cases, and the perpendicular bisector of opposite slopes that misses
// the rectangle, are the pinned scenes' own.
TEST(LineBisectors, ClipsAHorizontalBisectorWhereverItLies) {
  ExpectLineNear(Bisect({0, -50, 100, -40}, {0, -30, 100, -40}).first, {0, -40, 0, -40});
  ExpectLineNear(ClipToBand(0, 0, 400, 300), {0, 0, 400, 0});
  ExpectLineNear(ClipToBand(0, 0.5, 400, 300), {0, 0.5, 400, 0.5});
  ExpectLineNear(ClipToBand(0, 300, 400, 300), {0, 300, 400, 300});
  ExpectLineNear(Bisect({0, 340, 100, 350}, {0, 360, 100, 350}).first, {0, 350, 0, 350});
}

// Pi is the fifteen-digit 3.14159265358979, seven units in the last place
// below the double nearest to pi (every mdlKaldra's Pi is this constant).
// Each routine leaves its result in its record, clipped to the scene's 400 x
// 500. The parabolas' directrix is segment 0 on y = 0.5 x + 100, their foci
// the ends of segment 1, (200, 300) and (260, 420): each routine writes the
// shared vertex and only its own half-distance and axis angle.
TEST(mdlKaldra, PiAndARecordPerRoutine) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kKaldraPi), 0x400921FB54442D11u);
  const Scene scene = BuildScene({{100, 150, 300, 250}, {200, 300, 260, 420}}, 400, 500);
  mdlKaldra mdl(scene);
  mdl.PointBisector(100, 100, 200, 300);
  ExpectLineNear(mdl.PtBis, {0, 275, 400, 75});
  mdl.LineBisectors(0, 1);
  const AngleBisectors pure = AngleBisectorLines(scene[0], scene[1], 400, 500);
  ExpectLineNear(mdl.LnBis1, pure.first);
  ExpectLineNear(mdl.LnBis2, pure.second);
  // The parabola record's six fields in their order.
  const auto expect_frame = [&mdl](const std::array<double, 6>& expected) {
    const ParabolaFrameRecord& f = mdl.ParabolaFrame;
    const double got[] = {f.ParHalfE, f.ParAxisE, f.ParX, f.ParY, f.ParHalfS, f.ParAxisS};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], expected[k], 1e-6) << "field " << k;
  };
  mdl.ParabolaFrame = {-1, -2, -3, -4, -5, -6};
  mdl.StartParabola(0, 1);  // foot (240, 220), vertex (220, 260)
  expect_frame({-1, -2, 220, 260, 44.721360, -1.107149});
  // Foot (336, 268), vertex (298, 344); the axis is the line's normal,
  // whatever the focus.
  mdl.EndParabola(0, 1);
  expect_frame({84.970583, -1.107149, 298, 344, 44.721360, -1.107149});
}

}  // namespace
}  // namespace kaldra
