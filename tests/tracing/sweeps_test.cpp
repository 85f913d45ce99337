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

// A canvas that raises a floating-point flag at chosen moments: in the yield,
// which the window system's own arithmetic may do, or at the colour change
// that starts trace number `fault_at`, as a trace's own arithmetic would.
class FlagRaisingCanvas : public testing::RecordingCanvas {
 public:
  explicit FlagRaisingCanvas(int fault_at) : fault_at_(fault_at) {}
  bool DoEvents() override {
    std::feraiseexcept(FE_DIVBYZERO);
    return RecordingCanvas::DoEvents();
  }
  void ForeColor(Color color) override {
    RecordingCanvas::ForeColor(color);
    if (static_cast<int>(fore_colors.size()) == fault_at_) std::feraiseexcept(FE_OVERFLOW);
  }
  using RecordingCanvas::ForeColor;

 private:
  int fault_at_;
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

// A flag left by the yield is not the drawing's fault; one raised during a
// trace ends the drawing, naming the sweep, the pair and the trace.
TEST(TraceDiagram, AFaultDuringATraceIsARunTimeErrorNamingIt) {
  const struct {
    int fault_at;  // the trace, counted from 1 over both sweeps
    const char* where;
  } rows[] = {
      {0, nullptr},
      {1, "sweep 1, pair (0, 1), endpoint bisector 1"},
      {5, "sweep 1, pair (0, 1), angle bisector 1"},
      {19, "sweep 2, pair (0, 1), arc 1"},
      {30, "sweep 2, pair (1, 2), arc 4"},
  };
  const Scene scene = ThreeSegments();
  for (const auto& row : rows) {
    FlagRaisingCanvas canvas(row.fault_at);
    if (row.where == nullptr) {
      EXPECT_NO_THROW(TraceDiagram(scene, canvas));
      continue;
    }
    try {
      TraceDiagram(scene, canvas);
      ADD_FAILURE() << "no run-time error for " << row.where;
    } catch (const RunTimeError& error) {
      EXPECT_NE(std::string(error.what()).find(row.where), std::string::npos) << error.what();
      EXPECT_EQ(static_cast<int>(canvas.fore_colors.size()), row.fault_at);
    }
  }
  ClearFloatingPointFaults();
}

}  // namespace
}  // namespace kaldra
