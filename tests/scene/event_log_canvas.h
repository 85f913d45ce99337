#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/recording_canvas.h"

namespace kaldra::testing {

// A recording canvas that also keeps the calls in one ordered log, so a test
// can see what came before what: "fore FFFFFF", "back 000000",
// "line (x1, y1)-(x2, y2)" and "print ' 0 ' at (x, y)", the position being the
// one the preceding PSet set. Floats are written with nine digits, enough to
// tell any two apart.
class EventLogCanvas : public RecordingCanvas {
 public:
  using RecordingCanvas::ForeColor;
  using RecordingCanvas::RecordingCanvas;

  void ForeColor(Color color) override {
    RecordingCanvas::ForeColor(color);
    Log("fore %06X", static_cast<unsigned>(color));
  }
  void BackColor(Color color) override {
    RecordingCanvas::BackColor(color);
    Log("back %06X", static_cast<unsigned>(color));
  }
  void Line(float x1, float y1, float x2, float y2) override {
    RecordingCanvas::Line(x1, y1, x2, y2);
    Log("line (%.9g, %.9g)-(%.9g, %.9g)", x1, y1, x2, y2);
  }
  void Print(std::string_view text) override {
    RecordingCanvas::Print(text);
    Log("print '%.*s' at (%.9g, %.9g)", static_cast<int>(text.size()), text.data(), CurrentX(),
        CurrentY());
  }

  std::vector<std::string> events;

 private:
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char buffer[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    events.emplace_back(buffer);
  }
};

// The log entries for one segment as the scene draws it: white, the line from
// left end to right end, the label at the midpoint.
inline std::vector<std::string> SegmentEvents(int label, double x1, double y1, double x2,
                                              double y2) {
  EventLogCanvas expected(1, 1);
  expected.ForeColor(kWhite);
  expected.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                static_cast<float>(y2));
  expected.PSet(static_cast<float>((x2 + x1) / 2), static_cast<float>((y2 + y1) / 2));
  expected.Print(FormatNumber(label));
  return expected.events;
}

}  // namespace kaldra::testing
