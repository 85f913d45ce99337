#include "tools/scene_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"
#include "scene/random_source.h"
#include "tests/support/recording_canvas.h"
#include "tracing/start_up.h"

namespace kaldra {
namespace {

constexpr double kW = 788;
constexpr double kH = 565;

// One way to break a scene, as the smallest text that shows it.
struct RefusalCase {
  const char* name;
  const char* text;
  int line;            // the line the refusal names
  const char* reason;  // a part of its reason
};

void PrintTo(const RefusalCase& row, std::ostream* os) { *os << row.name; }

class SceneRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SceneRefusal, NamesTheLineAndTheRule) {
  const RefusalCase& c = GetParam();
  const SceneReadResult read = ReadScene(c.text, kW, kH);
  ASSERT_TRUE(read.error.has_value());
  EXPECT_EQ(read.error->line, c.line);
  EXPECT_NE(read.error->reason.find(c.reason), std::string::npos) << read.error->reason;
  EXPECT_TRUE(read.scene.segments.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRule, SceneRefusal,
    ::testing::Values(
        RefusalCase{"Empty", "", 0, "no segments"},
        RefusalCase{"OnlyCommentsAndBlanks", "# nothing\n\n   \t\n", 0, "no segments"},
        RefusalCase{"ThreeNumbers", "1 2 3\n", 1, "expected four numbers x1 y1 x2 y2, found 3"},
        RefusalCase{"FiveNumbers", "1 2 3 4 5\n", 1, "found more"},
        RefusalCase{"Word", "10 20 abc 40\n", 1, "'abc' is not a number"},
        RefusalCase{"TrailingGarbage", "10 20 30x 40\n", 1, "'30x' is not a number"},
        RefusalCase{"DecimalComma", "10,5 20 30 40\n", 1, "'10,5' is not a number"},
        RefusalCase{"TwoSigns", "10 +-20 30 40\n", 1, "is not a number"},
        RefusalCase{"HexFloat", "0x10 20 30 40\n", 1, "is not a number"},
        RefusalCase{"ControlByte", "10 2\x01 30 40\n", 1, "'2?' is not a number"},
        RefusalCase{"Infinity", "10 20 inf 40\n", 1, "'inf' is not a finite number"},
        RefusalCase{"NotANumber", "10 20 30 nan\n", 1, "'nan' is not a finite number"},
        RefusalCase{"Overflowing", "10 20 1e999 40\n", 1, "'1e999' is out of range"},
        RefusalCase{"LeftOfTheRectangle", "-0.5 20 30 40\n", 1, "outside the drawing rectangle"},
        RefusalCase{"RightOfTheRectangle", "10 20 788.5 40\n", 1, "(788.5, 40) lies outside"},
        RefusalCase{"BelowTheRectangle", "10 20 30 565.25\n", 1, "outside the drawing rectangle"},
        RefusalCase{"Vertical", "10 20 10 40\n", 1, "vertical"},
        RefusalCase{"Horizontal", "10 20 30 20\n", 1, "horizontal"},
        RefusalCase{"Parallel", "10 10 20 20\n30 40 50 60\n", 2,
                    "same slope as the segment on line 1"},
        RefusalCase{"SharedX", "10 10 20 30\n40 50 10 45\n", 2,
                    "shares its x or its y with an end of the segment on line 1"},
        RefusalCase{"SharedY", "10 10 20 30\n40 50 60 30\n", 2, "shares its x or its y"},
        // (200, 105) lies on y = 0.5 x + 5, the line of the first segment.
        RefusalCase{"EndOnLine", "10 10 110 60\n200 105 250 300\n", 2,
                    "lies exactly on the line of the segment on line 1"},
        RefusalCase{"Crossing", "10 10 100 100\n# between\n400 410 500 300\n20 95 95 15\n", 4,
                    "crosses the segment on line 1"},
        // 100 / 5e-324 overflows, and 0 * inf is invalid: a generated scene
        // would have stopped with a run-time error here.
        RefusalCase{"SlopeOverflows", "0 0 5e-324 100\n", 1, "computing the segment's line"}),
    [](const ::testing::TestParamInfo<RefusalCase>& row) { return std::string(row.param.name); });

// 101 short segments side by side: distinct slopes, disjoint x-ranges, no
// shared coordinate.
std::string ManySegments(int count) {
  std::ostringstream text;
  for (int i = 0; i < count; ++i) {
    const double x = 10 + 6 * i;
    const double y = 10 + 5 * i;
    text << x << ' ' << y << ' ' << x + 2 << ' ' << y + 1 + i / 128.0 << '\n';
  }
  return text.str();
}

TEST(ReadScene, AcceptsTheLargestTableFull) {
  const SceneReadResult read = ReadScene(ManySegments(101), kW, kH);
  ASSERT_FALSE(read.error.has_value()) << read.error->reason;
  EXPECT_EQ(read.scene.segments.size(), 101u);
}

TEST(ReadScene, RefusesOneSegmentMoreThanTheTableHolds) {
  const SceneReadResult read = ReadScene(ManySegments(102), kW, kH);
  ASSERT_TRUE(read.error.has_value());
  EXPECT_EQ(read.error->line, 102);
  EXPECT_EQ(read.error->reason, "more than 101 segments");
}

TEST(ReadScene, KeepsTheFirstEndFirstAndTheLinesOfTheSegments) {
  const std::string text =
      "# two segments\n"
      "\n"
      "300 400 250 500   # drawn from its right end\n"
      "\t+6e2 5.025e1\t700.125 300.0625\r\n";
  const SceneReadResult read = ReadScene(text, kW, kH);
  ASSERT_FALSE(read.error.has_value()) << read.error->reason;
  ASSERT_EQ(read.scene.segments.size(), 2u);
  EXPECT_EQ(read.scene.lines, (std::vector<int>{3, 4}));
  const Candidate& first = read.scene.segments[0];
  EXPECT_EQ(first.x1, 300);
  EXPECT_EQ(first.y1, 400);
  // The line as the generation computes it, from the end drawn first.
  const Candidate expected = MakeCandidate(300, 400, 250, 500);
  EXPECT_EQ(first.slope, expected.slope);
  EXPECT_EQ(first.intercept, expected.intercept);
  EXPECT_EQ(read.scene.segments[1].x1, 600);
  EXPECT_EQ(read.scene.segments[1].y2, 300.0625);
}

TEST(ReadScene, TakesTheRectangleEdgesAsInside) {
  const SceneReadResult read = ReadScene("0 0 100 40\n788 565 700 500\n", kW, kH);
  EXPECT_FALSE(read.error.has_value());
  // The same ends are outside a smaller rectangle.
  EXPECT_TRUE(ReadScene("0 0 100 40\n788 565 700 500\n", 787, 565).error.has_value());
}

TEST(FormatSceneError, PutsTheFileAndLineBeforeTheReason) {
  EXPECT_EQ(FormatSceneError("a.scene", {3, "the segment is vertical"}),
            "a.scene:3: the segment is vertical");
  EXPECT_EQ(FormatSceneError("<stdin>", {0, "no segments"}), "<stdin>: no segments");
}

TEST(LeftEndGeneratedFirst, FindsTheEndTheInterceptCameFrom) {
  // Through (0, 5) both ends give intercept 5 exactly; the left end wins.
  SegmentTable both = PlaceScene({MakeCandidate(10, 15, 0, 5)});
  EXPECT_TRUE(LeftEndGeneratedFirst(both, 0));
  // Here y - m x rounds differently at the two ends.
  const Candidate right_first = MakeCandidate(700.1, 300.3, 100.7, 20.9);
  ASSERT_NE(right_first.y2 - right_first.slope * right_first.x2, right_first.intercept);
  EXPECT_FALSE(LeftEndGeneratedFirst(PlaceScene({right_first}), 0));
}

// Found by the fuzz target: (0, -0) gives the intercept -0 and (3, 9) gives
// +0, which == took for the same, so the scene was written left end first and
// read back with the other intercept.
TEST(WriteScene, NegativeZeroEndKeepsTheInterceptOfTheEndGeneratedFirst) {
  const SceneReadResult read = ReadScene("3 9 0 -0\n", kW, kH);
  ASSERT_FALSE(read.error.has_value()) << read.error->reason;
  const SegmentTable table = PlaceScene(read.scene.segments);
  EXPECT_FALSE(LeftEndGeneratedFirst(table, 0));
  const SceneReadResult back = ReadScene(WriteScene(table), kW, kH);
  ASSERT_FALSE(back.error.has_value()) << back.error->reason;
  EXPECT_TRUE(SameSegments(PlaceScene(back.scene.segments), table));
}

// The table of a seed's random scene, as the window makes it.
mdlKaldra RandomScene(std::uint32_t seed) {
  mdlKaldra mdl;
  testing::RecordingCanvas canvas;
  SeededRandom random(seed);
  SetUpRandomScene(mdl, canvas, random, kW, kH);
  return mdl;
}

TEST(WriteScene, ReadingBackReproducesRandomScenesBitForBit) {
  int right_ends_first = 0;
  for (std::uint32_t seed = 0; seed < 60; ++seed) {
    SCOPED_TRACE(seed);
    const mdlKaldra mdl = RandomScene(seed);
    for (int k = 0; k < mdl.SegPlaced; ++k)
      right_ends_first += LeftEndGeneratedFirst(mdl, k) ? 0 : 1;
    const SceneReadResult back = ReadScene(WriteScene(mdl, "a comment\nof two lines"), kW, kH);
    ASSERT_FALSE(back.error.has_value()) << back.error->reason;
    EXPECT_TRUE(SameSegments(PlaceScene(back.scene.segments), mdl));
  }
  // Segments stored with their right end generated first were among them.
  EXPECT_GT(right_ends_first, 0);
}

TEST(WriteScene, WritesCommentsAndSeventeenDigits) {
  const SegmentTable table = PlaceScene({MakeCandidate(0.1, 20, 30, 40.5)});
  EXPECT_EQ(WriteScene(table, "seed 7\nsecond"),
            "# seed 7\n# second\n0.10000000000000001 20 30 40.5\n");
}

TEST(SameSegments, ComparesBitsAndOnlyThePlacedSegments) {
  SegmentTable a = PlaceScene({MakeCandidate(10, 20, 30, 45)});
  SegmentTable b = a;
  b.X1[5] = 1;  // beyond SegPlaced
  EXPECT_TRUE(SameSegments(a, b));
  b.Intercept[0] = std::nextafter(b.Intercept[0], 0.0);
  EXPECT_FALSE(SameSegments(a, b));
}

// The files the fuzzer starts from: "ok-*" scenes load at 788 x 565, and each
// "bad-*" scene says in its first line where and why it is refused, as
// "# expect LINE: reason".
TEST(SceneCorpus, EveryFileIsReadAsItsNameSays) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KALDRA_SCENE_CORPUS)) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const SceneReadResult read = ReadScene(text, kW, kH);
    ++files;
    if (name.starts_with("ok-")) {
      EXPECT_FALSE(read.error.has_value()) << read.error->reason;
      continue;
    }
    ASSERT_TRUE(name.starts_with("bad-"));
    int line = -1;
    char reason[200] = {};
    ASSERT_EQ(std::sscanf(text.c_str(), "# expect %d: %199[^\n]", &line, reason), 2);
    ASSERT_TRUE(read.error.has_value());
    EXPECT_EQ(read.error->line, line);
    EXPECT_NE(read.error->reason.find(reason), std::string::npos) << read.error->reason;
  }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace kaldra
