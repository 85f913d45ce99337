#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"
#include "scene/run_time_error.h"

namespace kaldra {
namespace {

struct Line {
  double slope, intercept;
};

// Segments 0 and 1 on the given lines, in a 400 x 300 rectangle. LineBisectors
// reads only the lines.
mdlKaldra TwoLines(const Line& i, const Line& j) {
  mdlKaldra mdl;
  mdl.SegCount = 2;
  mdl.ViewW = 400;
  mdl.ViewH = 300;
  mdl.Slope[0] = i.slope;
  mdl.Intercept[0] = i.intercept;
  mdl.Slope[1] = j.slope;
  mdl.Intercept[1] = j.intercept;
  return mdl;
}

void ExpectLineNear(const ClippedLine& actual, const ClippedLine& expected, double tolerance) {
  EXPECT_NEAR(actual.StartX, expected.StartX, tolerance);
  EXPECT_NEAR(actual.StartY, expected.StartY, tolerance);
  EXPECT_NEAR(actual.EndX, expected.EndX, tolerance);
  EXPECT_NEAR(actual.EndY, expected.EndY, tolerance);
}

// Lines that meet at (100, 100) with direction angles whose mean is pi/4.
constexpr Line kHalfSlope{0.5, 50};
constexpr Line kDoubleSlope{2, -100};
// The lines of (100, 20)-(300, 40) and (100, 280)-(300, 260): opposite slopes,
// meeting at (1400, 150).
constexpr Line kRising{0.1, 10};
constexpr Line kFalling{-0.1, 290};

TEST(LineBisectors, MeanDirectionAndItsPerpendicular) {
  mdlKaldra mdl = TwoLines(kHalfSlope, kDoubleSlope);
  mdl.LineBisectors(0, 1);
  ExpectLineNear(mdl.LnBis1, {0, 0, 300, 300}, 1e-6);  // y = x, leaves through y = 300
  ExpectLineNear(mdl.LnBis2, {0, 200, 200, 0}, 1e-6);  // y = -x + 200, leaves through y = 0
}

TEST(LineBisectors, OppositeSlopesGiveAHorizontalBisectorAndOneThatMissesTheRectangle) {
  mdlKaldra mdl = TwoLines(kRising, kFalling);
  ClearFloatingPointFaults();
  mdl.LineBisectors(0, 1);
  EXPECT_EQ(RaisedFloatingPointFault(), nullptr);
  // Slope exactly 0 inside the band: the edges x = 0 and x = ViewW, no division.
  EXPECT_EQ(mdl.LnBis1.StartX, 0.0);
  EXPECT_EQ(mdl.LnBis1.EndX, 400.0);
  EXPECT_EQ(mdl.LnBis1.StartY, mdl.LnBis1.EndY);
  EXPECT_NEAR(mdl.LnBis1.StartY, 150, 1e-9);
  // Nearly vertical through x ~ 1400: both ends at its crossing with y = 0.
  EXPECT_EQ(mdl.LnBis2.StartX, mdl.LnBis2.EndX);
  EXPECT_EQ(mdl.LnBis2.StartY, mdl.LnBis2.EndY);
  EXPECT_NEAR(mdl.LnBis2.StartX, 1400, 1e-6);
  EXPECT_EQ(mdl.LnBis2.StartY, 0.0);
}

// A horizontal bisector outside the band has no crossing with y = 0 or
// y = ViewH; it gets both ends at (0, intercept) without dividing by zero.
struct OutsideRow {
  const char* name;
  Line i, j;
  double y0;
};

class HorizontalBisectorOutsideTest : public ::testing::TestWithParam<OutsideRow> {};

TEST_P(HorizontalBisectorOutsideTest, GetsBothEndsAtTheLeftEdge) {
  const OutsideRow& r = GetParam();
  mdlKaldra mdl = TwoLines(r.i, r.j);
  ClearFloatingPointFaults();
  mdl.LineBisectors(0, 1);
  EXPECT_EQ(RaisedFloatingPointFault(), nullptr);
  EXPECT_EQ(mdl.LnBis1.StartX, 0.0);
  EXPECT_EQ(mdl.LnBis1.EndX, 0.0);
  EXPECT_EQ(mdl.LnBis1.StartY, mdl.LnBis1.EndY);
  EXPECT_NEAR(mdl.LnBis1.StartY, r.y0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rows, HorizontalBisectorOutsideTest,
                         ::testing::Values(OutsideRow{"BelowYZero", {0.1, -50}, {-0.1, -30}, -40},
                                           OutsideRow{"BeyondViewH", {0.1, 340}, {-0.1, 360}, 350}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LineBisectors, RewritesBothRecordsOnEveryCall) {
  mdlKaldra mdl = TwoLines(kRising, kFalling);
  mdl.Slope[2] = kHalfSlope.slope;
  mdl.Intercept[2] = kHalfSlope.intercept;
  mdl.Slope[3] = kDoubleSlope.slope;
  mdl.Intercept[3] = kDoubleSlope.intercept;
  mdl.LnBis1 = {-7, -7, -7, -7};
  mdl.LnBis2 = {-7, -7, -7, -7};
  mdl.LineBisectors(0, 1);
  ExpectLineNear(mdl.LnBis1, {0, 150, 400, 150}, 1e-6);
  ExpectLineNear(mdl.LnBis2, {1400, 0, 1400, 0}, 1e-6);
  mdl.LineBisectors(2, 3);
  ExpectLineNear(mdl.LnBis1, {0, 0, 300, 300}, 1e-6);
  ExpectLineNear(mdl.LnBis2, {0, 200, 200, 0}, 1e-6);
  mdl.LineBisectors(0, 1);
  ExpectLineNear(mdl.LnBis1, {0, 150, 400, 150}, 1e-6);
  ExpectLineNear(mdl.LnBis2, {1400, 0, 1400, 0}, 1e-6);
}

// Distance from (x, y) to the line y = slope * x + intercept.
double LineDistance(const Line& l, double x, double y) {
  return std::fabs(l.slope * x - y + l.intercept) / std::sqrt(l.slope * l.slope + 1);
}

struct PairRow {
  const char* name;
  Line i, j;
};

class LineBisectorsPairTest : public ::testing::TestWithParam<PairRow> {};

TEST_P(LineBisectorsPairTest, BothBisectorsAreEquidistantFromTheLinesAndIndependentOfOrder) {
  const PairRow& r = GetParam();
  mdlKaldra mdl = TwoLines(r.i, r.j);
  mdl.LineBisectors(0, 1);
  const ClippedLine first = mdl.LnBis1;
  const ClippedLine second = mdl.LnBis2;
  for (const ClippedLine& b : {first, second}) {
    EXPECT_LE(b.StartX, b.EndX);
    for (double y : {b.StartY, b.EndY}) {
      EXPECT_GE(y, 0);
      EXPECT_LE(y, 300);
    }
    for (double t : {0.0, 0.5, 1.0}) {
      const double x = b.StartX + t * (b.EndX - b.StartX);
      const double y = b.StartY + t * (b.EndY - b.StartY);
      EXPECT_NEAR(LineDistance(r.i, x, y), LineDistance(r.j, x, y), 1e-9);
    }
  }
  // The two directions are perpendicular.
  const double dot = (first.EndX - first.StartX) * (second.EndX - second.StartX) +
                     (first.EndY - first.StartY) * (second.EndY - second.StartY);
  EXPECT_NEAR(dot, 0, 1e-6);
  mdl.LineBisectors(1, 0);
  ExpectLineNear(mdl.LnBis1, first, 1e-9);
  ExpectLineNear(mdl.LnBis2, second, 1e-9);
}

// Pairs whose two bisectors both cross the 400 x 300 rectangle.
INSTANTIATE_TEST_SUITE_P(Rows, LineBisectorsPairTest,
                         ::testing::Values(PairRow{"MeetingInside", kHalfSlope, kDoubleSlope},
                                           PairRow{"RisingAndFalling", {0.3, 40}, {-1.7, 500}},
                                           PairRow{"BothFalling", {-0.2, 180}, {-3, 560}},
                                           PairRow{"SteepAndShallow", {12, -1500}, {0.05, 140}}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kaldra
