// The scene set-up of a run: count, canvas, count label, then the segments.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/random_source.h"
#include "tests/scene/event_log_canvas.h"
#include "tracing/start_up.h"

namespace kaldra {
namespace {

// Hands out one given number, then those of a seeded generator.
class FirstThenSeeded : public RandomSource {
 public:
  FirstThenSeeded(float first, std::uint32_t seed) : first_(first), rest_(seed) {}
  float Rnd() override {
    if (!first_taken_) {
      first_taken_ = true;
      return first_;
    }
    return rest_.Rnd();
  }

 private:
  float first_;
  bool first_taken_ = false;
  SeededRandom rest_;
};

TEST(SetUpRandomScene, PrintsTheCountAfterClearingToBlackThenDrawsTheSegments) {
  mdlKaldra mdl;
  mdl.Pi = 3;
  testing::EventLogCanvas canvas;
  FirstThenSeeded random(9.0f / 14.0f, 7);  // round(9.0000...) + 3 = 12
  SetUpRandomScene(mdl, canvas, random, 788, 565);

  ASSERT_EQ(mdl.SegCount, 12);
  EXPECT_EQ(mdl.SegPlaced, 12);
  EXPECT_EQ(mdl.ViewW, 788);
  EXPECT_EQ(mdl.ViewH, 565);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(mdl.Pi), 0x400921FB54442D11u);

  ASSERT_GE(canvas.events.size(), 3u);
  const std::vector<std::string> start(canvas.events.begin(), canvas.events.begin() + 3);
  EXPECT_EQ(start, (std::vector<std::string>{"fore FFFFFF", "back 000000",
                                             "print 'N= 12 ' at (180, 20)"}));
  EXPECT_EQ(canvas.prints.front().color, kWhite);
  EXPECT_EQ(canvas.back_colors, std::vector<Color>{kBlack});
  // Then the twelve segments, each white, drawn and labelled in turn.
  std::vector<std::string> rest;
  for (int n = 0; n < 12; ++n) {
    for (auto& e : testing::SegmentEvents(n, mdl.X1[n], mdl.Y1[n], mdl.X2[n], mdl.Y2[n])) {
      rest.push_back(e);
    }
  }
  EXPECT_EQ(std::vector<std::string>(canvas.events.begin() + 3, canvas.events.end()), rest);
}

}  // namespace
}  // namespace kaldra
