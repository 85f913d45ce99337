#include "scene/generate_segments.h"

#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/scene/event_log_canvas.h"
#include "tests/support/recording_canvas.h"

namespace kaldra {
namespace {

using testing::EventLogCanvas;
using testing::RecordingCanvas;
using testing::ScriptedRandom;
using testing::SegmentEvents;

// ---------------------------------------------------------------- the count

struct SegCountRow {
  const char* name;
  float r;
  int count;
};

class SegCountFromRandomTest : public ::testing::TestWithParam<SegCountRow> {};

TEST_P(SegCountFromRandomTest, RoundsHalfToEvenThenAddsThree) {
  EXPECT_EQ(SegCountFromRandom(GetParam().r), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Rows, SegCountFromRandomTest,
                         ::testing::Values(SegCountRow{"Zero", 0.0f, 3},
                                           SegCountRow{"JustBelowOneTwentyEighth", 0.0357f, 3},
                                           SegCountRow{"JustAboveOneTwentyEighth", 0.0358f, 4},
                                           SegCountRow{"QuarterTiesUpToEvenFour", 0.25f, 7},
                                           SegCountRow{"Half", 0.5f, 10},
                                           SegCountRow{"ThreeQuartersTiesDownToEvenTen", 0.75f, 13},
                                           SegCountRow{"JustAboveThreeQuarters", 0.7500001f, 14},
                                           SegCountRow{"LargestFloatBelowOne", 0.99999994f, 17}),
                         [](const auto& row) { return std::string(row.param.name); });

// ------------------------------------------------------ scripted generation

// A view whose margin band spans 1024 x 512 pixels: for every whole x the
// number (x - 15) / 1024 is a float, so scripted numbers give exact ends.
constexpr double kExactW = 1054;
constexpr double kExactH = 542;

struct Seg {
  double x1, y1, x2, y2;
};

// The four numbers that make GenerateSegments draw these ends in kExactW x kExactH.
void AppendNumbers(std::vector<float>& out, const Seg& s) {
  const double spans[] = {kExactW - 30, kExactH - 30, kExactW - 30, kExactH - 30};
  const double values[] = {s.x1, s.y1, s.x2, s.y2};
  for (int i = 0; i < 4; ++i) {
    const auto r = static_cast<float>((values[i] - 15) / spans[i]);
    EXPECT_EQ(static_cast<double>(r) * spans[i] + 15, values[i]) << "not exact in the script";
    out.push_back(r);
  }
}

std::vector<float> Script(std::initializer_list<Seg> segs) {
  std::vector<float> numbers;
  for (const Seg& s : segs) AppendNumbers(numbers, s);
  return numbers;
}

void ExpectSegment(const SegmentTable& t, int n, const Seg& left_to_right) {
  SCOPED_TRACE("segment " + std::to_string(n));
  EXPECT_EQ(t.X1[n], left_to_right.x1);
  EXPECT_EQ(t.Y1[n], left_to_right.y1);
  EXPECT_EQ(t.X2[n], left_to_right.x2);
  EXPECT_EQ(t.Y2[n], left_to_right.y2);
}

Seg LeftToRight(const Seg& s) { return s.x1 < s.x2 ? s : Seg{s.x2, s.y2, s.x1, s.y1}; }

TEST(GenerateSegments, FirstCandidateTakesX1Y1X2Y2InThatOrderScaledIntoTheMargin) {
  SegmentTable t;
  t.SegCount = 1;
  RecordingCanvas canvas;
  ScriptedRandom random({0.1f, 0.2f, 0.3f, 0.4f});
  GenerateSegments(t, canvas, random, 788, 565);
  EXPECT_EQ(random.Taken(), 4u);
  EXPECT_EQ(t.SegPlaced, 1);
  EXPECT_EQ(t.X1[0], static_cast<double>(0.1f) * 758 + 15);
  EXPECT_EQ(t.Y1[0], static_cast<double>(0.2f) * 535 + 15);
  EXPECT_EQ(t.X2[0], static_cast<double>(0.3f) * 758 + 15);
  EXPECT_EQ(t.Y2[0], static_cast<double>(0.4f) * 535 + 15);
}

TEST(GenerateSegments, RightToLeftCandidateIsStoredLeftEndFirstWithTheLineOfItsFirstEnd) {
  SegmentTable t;
  t.SegCount = 1;
  EventLogCanvas canvas;
  ScriptedRandom random(Script({{400, 200, 100, 100}}));
  GenerateSegments(t, canvas, random, kExactW, kExactH);
  ExpectSegment(t, 0, {100, 100, 400, 200});
  const double slope = (100.0 - 200.0) / (100.0 - 400.0);
  EXPECT_EQ(t.Slope[0], slope);
  EXPECT_EQ(t.Intercept[0], 200 - slope * 400);
  // The case is chosen so that the left end would give another intercept.
  EXPECT_NE(t.Intercept[0], 100 - slope * 100);
  EXPECT_EQ(canvas.events, SegmentEvents(0, 100, 100, 400, 200));
}

TEST(GenerateSegments, VerticalOrHorizontalFirstCandidateIsRefusedWithoutAFault) {
  for (const Seg& degenerate : {Seg{250, 300, 250, 400}, Seg{300, 250, 400, 250}}) {
    SegmentTable t;
    t.SegCount = 1;
    RecordingCanvas canvas;
    ScriptedRandom random(Script({degenerate, {100, 100, 400, 200}}));
    GenerateSegments(t, canvas, random, kExactW, kExactH);
    EXPECT_EQ(random.Taken(), 8u);
    ExpectSegment(t, 0, {100, 100, 400, 200});
    EXPECT_EQ(canvas.lines.size(), 1u);
  }
}

// A second candidate against the accepted segment A, from (100, 100) to
// (400, 200): slope 1/3, a value that is not exact in binary.
constexpr Seg kA{100, 100, 400, 200};
// Accepted after A and after every accepted row below.
constexpr Seg kFiller{600, 360, 900, 470};

struct PairRow {
  const char* name;
  Seg candidate;
  Refusal refusal;
};

const char* Name(Refusal r) {
  switch (r) {
    case Refusal::kNone:
      return "none";
    case Refusal::kVertical:
      return "vertical";
    case Refusal::kHorizontal:
      return "horizontal";
    case Refusal::kParallel:
      return "parallel";
    case Refusal::kSharedCoordinate:
      return "shared coordinate";
    case Refusal::kEndOnLine:
      return "end on line";
    case Refusal::kCrossing:
      return "crossing";
  }
  return "?";
}

class SecondCandidateTest : public ::testing::TestWithParam<PairRow> {};

TEST_P(SecondCandidateTest, IsJudgedAndRefusedOnesCostFourNumbersAndLeaveNoMark) {
  const PairRow& row = GetParam();
  {
    SegmentTable t;
    RecordingCanvas canvas;
    PlaceSegment(t, canvas, MakeCandidate(kA.x1, kA.y1, kA.x2, kA.y2));
    const Seg& c = row.candidate;
    const Verdict verdict = JudgeCandidate(t, c.x1, c.y1, c.x2, c.y2);
    EXPECT_STREQ(Name(verdict.refusal), Name(row.refusal));
    if (row.refusal != Refusal::kNone && row.refusal != Refusal::kVertical &&
        row.refusal != Refusal::kHorizontal) {
      EXPECT_EQ(verdict.other, 0);
    }
  }
  SegmentTable t;
  t.SegCount = 2;
  RecordingCanvas canvas;
  ScriptedRandom random(Script({kA, row.candidate, kFiller}));
  GenerateSegments(t, canvas, random, kExactW, kExactH);
  const bool accepted = row.refusal == Refusal::kNone;
  EXPECT_EQ(random.Taken(), accepted ? 8u : 12u);
  ExpectSegment(t, 1, LeftToRight(accepted ? row.candidate : kFiller));
  EXPECT_EQ(canvas.lines.size(), 2u);
  EXPECT_EQ(canvas.prints.size(), 2u);
  EXPECT_EQ(canvas.plots.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecondCandidateTest,
    ::testing::Values(
        // The lines meet at x = 1200, outside both ranges, which overlap on [200, 400].
        PairRow{"LinesMeetOutsideOverlappingRanges", {200, 300, 500, 350}, Refusal::kNone},
        // The lines meet at x ~ 246, inside A but left of the candidate.
        PairRow{"LinesMeetInsideOneRangeOnly", {300, 250, 380, 400}, Refusal::kNone},
        // (385, 195) lies on A's line only in exact arithmetic: no end is on a
        // line, and the crossing is computed at exactly x = 385, the
        // candidate's right end, which does not lie strictly inside its range.
        PairRow{"TouchesAtTheCandidatesEndX", {385, 195, 197, 217}, Refusal::kNone},
        // Through (400, 200), A's right end, computed at exactly x = 400.
        PairRow{"TouchesAtTheAcceptedEndX", {324, 96, 457, 278}, Refusal::kNone},
        PairRow{"CrossesLeftToRight", {150, 300, 350, 20}, Refusal::kCrossing},
        PairRow{"CrossesRightToLeft", {350, 20, 150, 300}, Refusal::kCrossing},
        PairRow{"Vertical", {250, 300, 250, 400}, Refusal::kVertical},
        PairRow{"Horizontal", {500, 300, 700, 300}, Refusal::kHorizontal},
        PairRow{"ParallelToA", {500, 300, 800, 400}, Refusal::kParallel},
        PairRow{"SharesAnXWithAnEndOfA", {400, 300, 600, 450}, Refusal::kSharedCoordinate},
        PairRow{"SharesAYWithAnEndOfA", {500, 200, 700, 450}, Refusal::kSharedCoordinate},
        PairRow{"HasAnEndExactlyOnAsLine", {40, 80, 90, 300}, Refusal::kEndOnLine},
        PairRow{"HasAsEndExactlyOnItsLine", {500, 250, 600, 300}, Refusal::kEndOnLine}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GenerateSegments, LabelsFollowAcceptanceOrderEachSegmentWhiteAndLeftToRight) {
  constexpr Seg kB{500, 350, 200, 300};
  SegmentTable t;
  t.SegCount = 3;
  EventLogCanvas canvas;
  canvas.ForeColor(kRed);
  canvas.events.clear();
  ScriptedRandom random(Script({kA, {150, 300, 350, 20}, kB, kFiller}));
  GenerateSegments(t, canvas, random, kExactW, kExactH);
  std::vector<std::string> expected;
  int label = 0;
  for (const Seg& s : {kA, LeftToRight(kB), kFiller}) {
    for (auto& e : SegmentEvents(label++, s.x1, s.y1, s.x2, s.y2)) expected.push_back(e);
  }
  EXPECT_EQ(canvas.events, expected);
  for (const auto& plot : canvas.plots) EXPECT_EQ(plot.color, kWhite);
}

}  // namespace
}  // namespace kaldra
