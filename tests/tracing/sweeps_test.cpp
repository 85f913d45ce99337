// Facts about the two sweeps that no plot list shows: the order of the traces
// and the yields, and the fault check after every trace.
#include "tracing/sweeps.h"

#include <cfenv>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/run_time_error.h"
#include "tests/support/build_scene.h"
#include "tests/support/recording_canvas.h"

namespace kaldra {
namespace {

// Three segments that meet every rule of a generated scene.
Scene ThreeSegments() {
  return testing::BuildScene({{100, 120, 260, 200}, {420, 90, 560, 230}, {300, 400, 480, 330}});
}

// A canvas that raises every floating-point flag whenever it is called, as
// the window system's own arithmetic during a yield may.
class FlagRaisingCanvas : public testing::RecordingCanvas {
 public:
  bool DoEvents() override {
    std::feraiseexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    return RecordingCanvas::DoEvents();
  }
  void ForeColor(Color color) override {
    RecordingCanvas::ForeColor(color);
    std::feraiseexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
  }
  using RecordingCanvas::ForeColor;
};

// Drawing without redraws, the sweeps yield before each outer index and
// announce each pair right before its first trace: six traces a pair in sweep
// 1, four arcs in sweep 2 (the number after a pair counts the colour changes
// before it). The traces' colours and order show in the pinned diagrams.
TEST(TraceDiagram, TracesInPairOrderAndYieldsOncePerOuterIndexInEachSweep) {
  testing::RecordingCanvas canvas;
  TraceDiagram(ThreeSegments(), canvas);
  EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                              "AutoRedraw 0", "DoEvents", "BeforePair 0 1 0", "BeforePair 0 2 6",
                              "DoEvents", "BeforePair 1 2 12", "DoEvents", "BeforePair 0 1 18",
                              "BeforePair 0 2 22", "DoEvents", "BeforePair 1 2 26"}));
}

// A yield or an announcement that says not to go on ends the diagram right
// there, on one thread or two: the canvas has had the calls up to it, no more.
TEST(TraceDiagram, StopsAtTheYieldThatSaysSo) {
  testing::RecordingCanvas whole;
  EXPECT_FALSE(TraceDiagram(ThreeSegments(), whole).stopped);
  for (const int threads : {1, 2}) {
    for (std::size_t stop_at = 2; stop_at <= whole.calls.size(); ++stop_at) {
      testing::RecordingCanvas canvas;
      canvas.stop_at = stop_at;
      EXPECT_TRUE(TraceDiagram(ThreeSegments(), canvas, {.threads = threads}).stopped);
      EXPECT_EQ(canvas.calls, std::vector(whole.calls.begin(), whole.calls.begin() + stop_at));
      // Stopped at an announcement, not one colour of that pair is set.
      const std::string& last = canvas.calls.back();
      EXPECT_TRUE(last == "DoEvents" ||
                  last.ends_with(" " + std::to_string(canvas.fore_colors.size())))
          << last;
    }
  }
}

// The drawing finds its faults itself: flags left behind by the canvas, on
// the sequential and the parallel path, are none of its business.
TEST(TraceDiagram, FlagsLeftByTheCanvasAreNoFault) {
  FlagRaisingCanvas sequential, parallel;
  EXPECT_NO_THROW(TraceDiagram(ThreeSegments(), sequential));
  EXPECT_NO_THROW(TraceDiagram(ThreeSegments(), parallel, {.threads = 2}));
  EXPECT_EQ(parallel.plots.size(), sequential.plots.size());
  std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace kaldra
