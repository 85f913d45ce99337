#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"

namespace kaldra {
namespace {

struct Seg {
  double x1, y1, x2, y2;
};

void SetSegment(mdlKaldra& mdl, int k, const Seg& s) {
  mdl.X1[k] = s.x1;
  mdl.Y1[k] = s.y1;
  mdl.X2[k] = s.x2;
  mdl.Y2[k] = s.y2;
  mdl.Slope[k] = (s.y2 - s.y1) / (s.x2 - s.x1);
  mdl.Intercept[k] = s.y1 - mdl.Slope[k] * s.x1;
}

// Segment 0 on y = 0.5 x + 100; (200, 300) is the first end of segment 1 and
// the second end of segment 2.
mdlKaldra WorkedScene() {
  mdlKaldra mdl;
  mdl.SegCount = 3;
  SetSegment(mdl, 0, {100, 150, 300, 250});
  SetSegment(mdl, 1, {200, 300, 260, 420});
  SetSegment(mdl, 2, {150, 280, 200, 300});
  return mdl;
}

constexpr ParabolaFrameRecord kSentinels{-1, -2, -3, -4, -5, -6};

TEST(StartParabola, WorkedExampleAndTheEndFieldsUntouched) {
  mdlKaldra mdl = WorkedScene();
  mdl.ParabolaFrame = kSentinels;
  mdl.StartParabola(0, 1);
  const ParabolaFrameRecord& f = mdl.ParabolaFrame;
  EXPECT_NEAR(f.ParX, 220, 1e-6);
  EXPECT_NEAR(f.ParY, 260, 1e-6);
  EXPECT_NEAR(f.ParHalfS, 44.721360, 1e-6);
  EXPECT_NEAR(f.ParAxisS, -1.107149, 1e-6);
  EXPECT_EQ(f.ParHalfE, kSentinels.ParHalfE);
  EXPECT_EQ(f.ParAxisE, kSentinels.ParAxisE);
}

TEST(EndParabola, WorkedExampleAndTheStartFieldsUntouched) {
  mdlKaldra mdl = WorkedScene();
  mdl.ParabolaFrame = kSentinels;
  mdl.EndParabola(0, 2);
  const ParabolaFrameRecord& f = mdl.ParabolaFrame;
  EXPECT_NEAR(f.ParX, 220, 1e-6);
  EXPECT_NEAR(f.ParY, 260, 1e-6);
  EXPECT_NEAR(f.ParHalfE, 44.721360, 1e-6);
  EXPECT_NEAR(f.ParAxisE, -1.107149, 1e-6);
  EXPECT_EQ(f.ParHalfS, kSentinels.ParHalfS);
  EXPECT_EQ(f.ParAxisS, kSentinels.ParAxisS);
}

TEST(ParabolaFrames, VertexIsTheLastCallsHalfDistanceAndAngleTheOwnCalls) {
  mdlKaldra mdl = WorkedScene();
  mdl.StartParabola(0, 1);  // focus (200, 300): vertex (220, 260)
  const ParabolaFrameRecord start = mdl.ParabolaFrame;
  mdl.EndParabola(0, 1);  // focus (260, 420): foot (336, 268), vertex (298, 344)
  const ParabolaFrameRecord& f = mdl.ParabolaFrame;
  EXPECT_NEAR(f.ParX, 298, 1e-6);
  EXPECT_NEAR(f.ParY, 344, 1e-6);
  EXPECT_NEAR(f.ParHalfE, 84.970583, 1e-6);
  EXPECT_EQ(f.ParHalfS, start.ParHalfS);
  EXPECT_EQ(f.ParAxisS, start.ParAxisS);
  // The axis is the normal of the line, whatever the focus.
  EXPECT_EQ(f.ParAxisE, start.ParAxisS);
}

// Distance from (x, y) to the line of segment k.
double LineDistance(const mdlKaldra& mdl, int k, double x, double y) {
  return std::fabs(mdl.Slope[k] * x - y + mdl.Intercept[k]) /
         std::sqrt(mdl.Slope[k] * mdl.Slope[k] + 1);
}

struct FrameRow {
  const char* name;
  Seg line;   // segment 0, the directrix
  Seg focus;  // segment 1: its first end for StartParabola, its second for EndParabola
};

class ParabolaFrameTest : public ::testing::TestWithParam<FrameRow> {};

TEST_P(ParabolaFrameTest, VertexIsHalfwayBetweenFocusAndLineOnTheNormal) {
  mdlKaldra mdl;
  mdl.SegCount = 2;
  SetSegment(mdl, 0, GetParam().line);
  SetSegment(mdl, 1, GetParam().focus);
  const double normal_angle = std::atan(-1 / mdl.Slope[0]);
  for (bool start : {true, false}) {
    SCOPED_TRACE(start ? "StartParabola" : "EndParabola");
    const double px = start ? mdl.X1[1] : mdl.X2[1];
    const double py = start ? mdl.Y1[1] : mdl.Y2[1];
    if (start) {
      mdl.StartParabola(0, 1);
    } else {
      mdl.EndParabola(0, 1);
    }
    const ParabolaFrameRecord& f = mdl.ParabolaFrame;
    const double half = start ? f.ParHalfS : f.ParHalfE;
    const double angle = start ? f.ParAxisS : f.ParAxisE;
    EXPECT_NEAR(2 * half, LineDistance(mdl, 0, px, py), 1e-9);
    EXPECT_NEAR(PointDistance(f.ParX, f.ParY, px, py), half, 1e-9);
    EXPECT_NEAR(LineDistance(mdl, 0, f.ParX, f.ParY), half, 1e-9);
    // The vertex lies on the normal through the focus, and the angle is that
    // normal's direction.
    EXPECT_NEAR((f.ParX - px) * std::sin(angle) - (f.ParY - py) * std::cos(angle), 0, 1e-9);
    EXPECT_NEAR(angle, normal_angle, 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParabolaFrameTest,
    ::testing::Values(FrameRow{"FocusBelowRisingLine", {100, 150, 300, 250}, {200, 300, 260, 420}},
                      FrameRow{"FocusAboveRisingLine", {100, 150, 300, 250}, {120, 40, 500, 90}},
                      FrameRow{"FallingLine", {50, 400, 450, 130}, {300, 420, 520, 60}},
                      FrameRow{"SteepLine", {300, 20, 301, 1020}, {100, 200, 600, 500}},
                      FrameRow{"ShallowLine", {20, 300, 700, 301}, {60, 40, 640, 520}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParabolaFrames, SteepLineHasAnAxisAngleNearZero) {
  mdlKaldra mdl;
  mdl.SegCount = 2;
  SetSegment(mdl, 0, {300, 20, 301, 1020});  // slope 1000
  SetSegment(mdl, 1, {100, 200, 600, 500});
  mdl.StartParabola(0, 1);
  EXPECT_NEAR(mdl.ParabolaFrame.ParAxisS, -0.001, 1e-6);
  SetSegment(mdl, 0, {300, 1020, 301, 20});  // slope -1000
  mdl.EndParabola(0, 1);
  EXPECT_NEAR(mdl.ParabolaFrame.ParAxisE, 0.001, 1e-6);
}

}  // namespace
}  // namespace kaldra
