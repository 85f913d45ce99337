#include "scene/generate_segments.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/recording_canvas.h"
#include "tracing/start_up.h"

namespace kaldra {
namespace {

using testing::RecordingCanvas;

TEST(SegCountFromRandom, RoundsHalfToEvenThenAddsThree) {
  const std::pair<float, int> rows[] = {{0.0f, 3},   {0.0357f, 3},     {0.0358f, 4},     {0.25f, 7},
                                        {0.75f, 13}, {0.7500001f, 14}, {0.99999994f, 17}};
  for (auto [r, count] : rows) EXPECT_EQ(SegCountFromRandom(r), count) << r;
}

struct Seg {
  double x1, y1, x2, y2;
};

Seg LeftToRight(const Seg& s) { return s.x1 < s.x2 ? s : Seg{s.x2, s.y2, s.x1, s.y1}; }
float F(double v) { return static_cast<float>(v); }

// The view's margin band spans 1024 x 512 pixels, so every whole coordinate in
// it comes from a float exactly: x = r * 1024 + 15, y = r * 512 + 15.
constexpr int kExactW = 1054;
constexpr int kExactH = 542;

// The numbers that draw these ends, four per segment: x1, y1, x2, y2.
std::vector<float> Script(std::initializer_list<Seg> segments) {
  std::vector<float> r;
  for (const Seg& s : segments) {
    r.insert(r.end(), {F((s.x1 - 15) / 1024), F((s.y1 - 15) / 512), F((s.x2 - 15) / 1024),
                       F((s.y2 - 15) / 512)});
  }
  return r;
}

// The segments were drawn in white in this order, left end first, each
// labelled with its index at its midpoint; the labels follow first_label others.
void ExpectDrawn(const RecordingCanvas& canvas, std::size_t first_label,
                 std::initializer_list<Seg> segments) {
  ASSERT_EQ(canvas.lines.size(), segments.size());
  ASSERT_EQ(canvas.prints.size(), first_label + segments.size());
  int n = 0;
  for (const Seg& s : segments) {
    SCOPED_TRACE("segment " + std::to_string(n));
    const auto& line = canvas.lines[n];
    const auto& label = canvas.prints[first_label + n];
    EXPECT_EQ((std::array{line.x1, line.y1, line.x2, line.y2}),
              (std::array{F(s.x1), F(s.y1), F(s.x2), F(s.y2)}));
    EXPECT_EQ((std::array{label.x, label.y}),
              (std::array{F((s.x2 + s.x1) / 2), F((s.y2 + s.y1) / 2)}));
    EXPECT_EQ(label.text, FormatNumber(n++));
    EXPECT_EQ((std::array{line.color, label.color}), (std::array{kWhite, kWhite}));
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

class SecondCandidateTest : public ::testing::TestWithParam<PairRow> {};

// Judged against the first; a refused one costs four numbers and leaves no mark.
TEST_P(SecondCandidateTest, IsJudged) {
  const PairRow& row = GetParam();
  const Seg& c = row.candidate;
  // Vertical and horizontal candidates are refused alone, the rest against A.
  const bool alone = row.refusal == Refusal::kVertical || row.refusal == Refusal::kHorizontal;
  EXPECT_EQ(JudgeCandidate(SegmentTable{}, c.x1, c.y1, c.x2, c.y2).refusal,
            alone ? row.refusal : Refusal::kNone);
  SegmentTable t;
  t.SegCount = 2;
  RecordingCanvas canvas;
  canvas.ForeColor(kRed);
  testing::ScriptedRandom random(Script({kA, c, kFiller}));
  GenerateSegments(t, canvas, random, kExactW, kExactH);
  const bool accepted = row.refusal == Refusal::kNone;
  EXPECT_EQ(random.Taken(), accepted ? 8u : 12u);
  ExpectDrawn(canvas, 0, {kA, LeftToRight(accepted ? c : kFiller)});
  EXPECT_EQ(canvas.plots.size(), 2u);
  t.SegPlaced = 1;  // A alone
  const Verdict verdict = JudgeCandidate(t, c.x1, c.y1, c.x2, c.y2);
  EXPECT_EQ(verdict.refusal, row.refusal);
  EXPECT_EQ(verdict.other, accepted || alone ? -1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecondCandidateTest,
    ::testing::Values(
        // The lines meet at x = 1200, outside both ranges, which overlap on [200, 400].
        PairRow{"LinesMeetOutsideOverlappingRanges", {200, 300, 500, 350}, Refusal::kNone},
        // The lines meet at x ~ 246, inside A but left of the candidate.
        PairRow{"LinesMeetInsideOneRangeOnly", {300, 250, 380, 400}, Refusal::kNone},
        // (385, 195) lies on A's line only in exact arithmetic: no end is on a
        // line, and the lines meet at exactly x = 385, the candidate's end.
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

// The count label on black, then the segments in normal form, labelled in order.
TEST(SetUpRandomScene, LabelThenSegmentsInOrder) {
  constexpr Seg kB{481, 350, 200, 300};  // drawn right to left
  mdlKaldra mdl;
  RecordingCanvas canvas(kExactW, kExactH);
  std::vector<float> numbers = Script({kA, {150, 300, 350, 20}, kB, kFiller});
  numbers.insert(numbers.begin(), 0.0f);  // three segments; the crossing one is refused
  testing::ScriptedRandom random(numbers);
  SetUpRandomScene(mdl, canvas, random, kExactW, kExactH);
  EXPECT_EQ(mdl.SegCount, 3);
  EXPECT_EQ(canvas.back_colors, std::vector<Color>{kBlack});
  EXPECT_EQ(canvas.Pixel(180, 20), ToArgbPixel(kWhite)) << "the count label was cleared";
  ASSERT_FALSE(canvas.prints.empty());
  const auto& count = canvas.prints[0];
  EXPECT_EQ((std::tuple{count.text, count.x, count.y, count.color}),
            (std::tuple{std::string("N= 3 "), 180.0f, 20.0f, kWhite}));
  ExpectDrawn(canvas, 1, {kA, LeftToRight(kB), kFiller});
  // B is drawn and stored left end first, its line still the one computed from
  // the end generated first, (481, 350).
  const double slope = (300.0 - 350.0) / (200.0 - 481.0);
  EXPECT_EQ(mdl.Slope[1], slope);
  EXPECT_EQ(mdl.Intercept[1], 350 - slope * 481);
  EXPECT_NE(mdl.Intercept[1], 300 - slope * 200) << "the case must tell the ends apart";
}

SegmentTable Generate(std::uint32_t seed) {
  SeededRandom random(seed);
  testing::RecordingCanvas canvas(1, 1);
  SegmentTable t;
  t.SegCount = SegCountFromRandom(random.Rnd());
  GenerateSegments(t, canvas, random, 788, 565);
  return t;
}

void ExpectPairIsSafe(const SegmentTable& t, int k, int n) {
  SCOPED_TRACE("segments " + std::to_string(k) + " and " + std::to_string(n));
  EXPECT_NE(t.Slope[k], t.Slope[n]);
  for (auto [a, b] : {std::pair{k, n}, std::pair{n, k}}) {
    for (auto [x, y] : {std::pair{t.X1[a], t.Y1[a]}, std::pair{t.X2[a], t.Y2[a]}}) {
      EXPECT_TRUE(x != t.X1[b] && x != t.X2[b] && y != t.Y1[b] && y != t.Y2[b]) << "shared";
      EXPECT_NE(t.Slope[b] * x - y + t.Intercept[b], 0.0) << "an end on the other's line";
    }
  }
  // No crossing: the lines do not meet strictly inside both x-ranges.
  const double xi = (t.Intercept[n] - t.Intercept[k]) / (t.Slope[k] - t.Slope[n]);
  EXPECT_FALSE(t.X1[n] < xi && xi < t.X2[n] && t.X1[k] < xi && xi < t.X2[k]) << "xi " << xi;
}

TEST(GeneratedScenes, AreWellFormedPairwiseSafeAndTheSameForTheSameSeed) {
  for (std::uint32_t seed = 0; seed < 500; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const SegmentTable t = Generate(seed);
    EXPECT_EQ(t.SegPlaced, t.SegCount);
    for (int n = 0; n < t.SegCount; ++n) {
      SCOPED_TRACE("segment " + std::to_string(n));
      EXPECT_LT(t.X1[n], t.X2[n]);
      EXPECT_NE(t.Y1[n], t.Y2[n]);
      for (double x : {t.X1[n], t.X2[n]}) EXPECT_TRUE(x >= 15 && x < 788 - 15) << x;
      for (double y : {t.Y1[n], t.Y2[n]}) EXPECT_TRUE(y >= 15 && y < 565 - 15) << y;
      for (int k = 0; k < n; ++k) ExpectPairIsSafe(t, k, n);
    }
    const SegmentTable again = Generate(seed);
    for (auto column : {&SegmentTable::X1, &SegmentTable::Y1, &SegmentTable::X2, &SegmentTable::Y2,
                        &SegmentTable::Slope, &SegmentTable::Intercept}) {
      EXPECT_EQ(std::memcmp(&(t.*column), &(again.*column), sizeof(TableColumn)), 0);
    }
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace kaldra
