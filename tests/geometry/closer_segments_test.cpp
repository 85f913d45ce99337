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

// Segments 0 and 1 are the pair (far from every sample below); segment 2 is
// the third segment under test.
mdlKaldra SceneWithThird(const Seg& third) {
  mdlKaldra mdl;
  mdl.SegCount = 3;
  SetSegment(mdl, 0, {300, 350, 500, 380});
  SetSegment(mdl, 1, {600, 50, 700, 150});
  SetSegment(mdl, 2, third);
  return mdl;
}

// On y = x, Slope 1 and Intercept 0.
constexpr Seg kDiagonal{100, 100, 200, 200};
// On y = 0.75 x + 25: the root of Slope^2 + 1 is exactly 1.25, so distances
// to its line come out exact.
constexpr Seg kThreeFour{100, 100, 200, 175};

struct CloserRow {
  const char* name;
  Seg third;
  double x, y, d;
  int result;
};

class CountCloserSegmentsTest : public ::testing::TestWithParam<CloserRow> {};

TEST_P(CountCloserSegmentsTest, AnswersWhetherTheThirdSegmentIsStrictlyCloser) {
  const CloserRow& r = GetParam();
  const mdlKaldra mdl = SceneWithThird(r.third);
  // The two excluded indices may come in either order.
  EXPECT_EQ(mdl.CountCloserSegments(0, 1, r.x, r.y, r.d), r.result);
  EXPECT_EQ(mdl.CountCloserSegments(1, 0, r.x, r.y, r.d), r.result);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CountCloserSegmentsTest,
    ::testing::Values(
        // Line distance 35.355, foot at x = 125.
        CloserRow{"LineCloserFootInside", kDiagonal, 150, 100, 40, 1},
        CloserRow{"LineNotCloser", kDiagonal, 150, 100, 35, 0},
        // Line distance 35.355, foot at x = 25; the ends are 111.803 and 250 away.
        CloserRow{"FootLeftOfTheSegmentEndsFarther", kDiagonal, 50, 0, 100, 0},
        CloserRow{"FootLeftOfTheSegmentFirstEndCloser", kDiagonal, 50, 0, 120, 1},
        // Foot at x = 275; the second end is 111.803 away.
        CloserRow{"FootRightOfTheSegmentEndsFarther", kDiagonal, 250, 300, 100, 0},
        CloserRow{"FootRightOfTheSegmentSecondEndCloser", kDiagonal, 250, 300, 120, 1},
        // Feet exactly at x = 100 and x = 200. The line distance, 2 / 2^0.5,
        // rounds one unit below the end's distance 2^0.5 = d, so only a foot
        // test that includes both ends finds the segment closer.
        CloserRow{"FootExactlyAtTheFirstEndIsOnTheSegment", kDiagonal, 99, 101, 1.4142135623730951,
                  1},
        CloserRow{"FootExactlyAtTheSecondEndIsOnTheSegment", kDiagonal, 201, 199,
                  1.4142135623730951, 1},
        // Line distance exactly 80, foot at x = 198.
        CloserRow{"LineAtExactlyDIsNotCloser", kThreeFour, 150, 237.5, 80, 0},
        CloserRow{"LineJustInsideDIsCloser", kThreeFour, 150, 237.5, 80.000001, 1},
        // Feet outside; an end exactly 50 away (a 30-40-50 triangle).
        CloserRow{"FirstEndAtExactlyDIsNotCloser", kThreeFour, 70, 60, 50, 0},
        CloserRow{"FirstEndJustInsideDIsCloser", kThreeFour, 70, 60, 50.000001, 1},
        CloserRow{"SecondEndAtExactlyDIsNotCloser", kThreeFour, 230, 215, 50, 0},
        CloserRow{"SecondEndJustInsideDIsCloser", kThreeFour, 230, 215, 50.000001, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CountCloserSegments, OnlyThePairInTheTableGivesZero) {
  mdlKaldra mdl = SceneWithThird(kDiagonal);
  mdl.SegCount = 2;
  EXPECT_EQ(mdl.CountCloserSegments(0, 1, 150, 100, 1e9), 0);
  EXPECT_EQ(mdl.CountCloserSegments(1, 0, 320, 355, 1e9), 0);
}

TEST(CountCloserSegments, SkipsExactlyTheTwoIndicesItIsGiven) {
  const mdlKaldra mdl = SceneWithThird(kDiagonal);
  // Segment 2 is 35.355 away, segments 0 and 1 more than 40.
  EXPECT_EQ(mdl.CountCloserSegments(2, 0, 150, 100, 40), 0);
  EXPECT_EQ(mdl.CountCloserSegments(1, 2, 150, 100, 40), 0);
  EXPECT_EQ(mdl.CountCloserSegments(0, 1, 150, 100, 40), 1);
  // With every segment closer the answer is still 1.
  EXPECT_EQ(mdl.CountCloserSegments(0, 1, 150, 100, 1e9), 1);
  EXPECT_EQ(mdl.CountCloserSegments(2, 1, 150, 100, 1e9), 1);
}

}  // namespace
}  // namespace kaldra
