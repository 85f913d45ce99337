// Properties of whole generated scenes over many fixed seeds.

#include <cstdint>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "scene/generate_segments.h"
#include "scene/random_source.h"

namespace kaldra {
namespace {

constexpr double kViewW = 788;
constexpr double kViewH = 565;
constexpr std::uint32_t kSeeds = 500;

// Takes the calls and draws nothing: no surface is attached, so PSet drops
// every point.
class NullCanvas : public Canvas {
 public:
  void BackColor(Color) override {}
  void Line(float, float, float, float) override {}
  void Print(std::string_view) override {}
};

SegmentTable Generate(std::uint32_t seed) {
  SeededRandom random(seed);
  NullCanvas canvas;
  SegmentTable t;
  t.SegCount = SegCountFromRandom(random.Rnd());
  GenerateSegments(t, canvas, random, kViewW, kViewH);
  return t;
}

bool OnLine(const SegmentTable& t, int k, double x, double y) {
  return t.Slope[k] * x - y + t.Intercept[k] == 0;
}

// Signed area of (a, b, c), for a crossing test that does not go through the
// stored lines at all.
double Turn(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

void ExpectSegmentIsWellFormed(const SegmentTable& t, int n) {
  SCOPED_TRACE("segment " + std::to_string(n));
  EXPECT_LT(t.X1[n], t.X2[n]);
  EXPECT_NE(t.Y1[n], t.Y2[n]);
  for (double x : {t.X1[n], t.X2[n]}) {
    EXPECT_GE(x, 15);
    EXPECT_LT(x, kViewW - 15);
  }
  for (double y : {t.Y1[n], t.Y2[n]}) {
    EXPECT_GE(y, 15);
    EXPECT_LT(y, kViewH - 15);
  }
  // The line is the generated one: its slope is the same from either end, its
  // intercept comes from whichever end was drawn first.
  EXPECT_EQ(t.Slope[n], (t.Y2[n] - t.Y1[n]) / (t.X2[n] - t.X1[n]));
  const bool from_left = t.Intercept[n] == t.Y1[n] - t.Slope[n] * t.X1[n];
  const bool from_right = t.Intercept[n] == t.Y2[n] - t.Slope[n] * t.X2[n];
  EXPECT_TRUE(from_left || from_right) << "intercept " << t.Intercept[n];
}

void ExpectPairIsSafe(const SegmentTable& t, int k, int n) {
  SCOPED_TRACE("segments " + std::to_string(k) + " and " + std::to_string(n));
  EXPECT_NE(t.Slope[k], t.Slope[n]);
  for (double xk : {t.X1[k], t.X2[k]}) {
    for (double xn : {t.X1[n], t.X2[n]}) EXPECT_NE(xk, xn);
  }
  for (double yk : {t.Y1[k], t.Y2[k]}) {
    for (double yn : {t.Y1[n], t.Y2[n]}) EXPECT_NE(yk, yn);
  }
  EXPECT_FALSE(OnLine(t, k, t.X1[n], t.Y1[n]));
  EXPECT_FALSE(OnLine(t, k, t.X2[n], t.Y2[n]));
  EXPECT_FALSE(OnLine(t, n, t.X1[k], t.Y1[k]));
  EXPECT_FALSE(OnLine(t, n, t.X2[k], t.Y2[k]));
  // The generation's own criterion: the lines do not meet strictly inside
  // both x-ranges.
  const double xi = (t.Intercept[n] - t.Intercept[k]) / (t.Slope[k] - t.Slope[n]);
  EXPECT_FALSE(t.X1[n] < xi && xi < t.X2[n] && t.X1[k] < xi && xi < t.X2[k]) << "xi " << xi;
  // And the same seen from the end points: the ends of each segment are not
  // on opposite sides of the other one.
  const double k1 = Turn(t.X1[n], t.Y1[n], t.X2[n], t.Y2[n], t.X1[k], t.Y1[k]);
  const double k2 = Turn(t.X1[n], t.Y1[n], t.X2[n], t.Y2[n], t.X2[k], t.Y2[k]);
  const double n1 = Turn(t.X1[k], t.Y1[k], t.X2[k], t.Y2[k], t.X1[n], t.Y1[n]);
  const double n2 = Turn(t.X1[k], t.Y1[k], t.X2[k], t.Y2[k], t.X2[n], t.Y2[n]);
  EXPECT_FALSE(((k1 < 0 && k2 > 0) || (k1 > 0 && k2 < 0)) &&
               ((n1 < 0 && n2 > 0) || (n1 > 0 && n2 < 0)));
}

TEST(GeneratedScenes, HaveThreeToSeventeenWellFormedPairwiseSafeSegments) {
  for (std::uint32_t seed = 0; seed < kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const SegmentTable t = Generate(seed);
    EXPECT_GE(t.SegCount, 3);
    EXPECT_LE(t.SegCount, 17);
    EXPECT_EQ(t.SegPlaced, t.SegCount);
    for (int n = 0; n < t.SegCount; ++n) {
      ExpectSegmentIsWellFormed(t, n);
      for (int k = 0; k < n; ++k) ExpectPairIsSafe(t, k, n);
    }
    if (HasFailure()) break;
  }
}

TEST(GeneratedScenes, SameSeedGivesTheSameTable) {
  for (std::uint32_t seed = 0; seed < 50; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const SegmentTable a = Generate(seed);
    const SegmentTable b = Generate(seed);
    ASSERT_EQ(a.SegCount, b.SegCount);
    for (int n = TableColumn::kFirst; n <= TableColumn::kLast; ++n) {
      EXPECT_EQ(a.X1[n], b.X1[n]);
      EXPECT_EQ(a.Y1[n], b.Y1[n]);
      EXPECT_EQ(a.X2[n], b.X2[n]);
      EXPECT_EQ(a.Y2[n], b.Y2[n]);
      EXPECT_EQ(a.Slope[n], b.Slope[n]);
      EXPECT_EQ(a.Intercept[n], b.Intercept[n]);
    }
  }
}

}  // namespace
}  // namespace kaldra
