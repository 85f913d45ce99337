#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "scene/canvas.h"

namespace kaldra::testing {

// A canvas in memory that remembers what was asked of it: every point plotted
// on it (through the plot sink) and colour change, and each clearing, line,
// text, yield and announced pair as a line of the call log. Its pixels are
// never looked at.
class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(int width = 788, int height = 565)
      : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u) {
    AttachSurface({pixels_.data(), width, height, width});
    SetPlotSink(&plots);
  }

  void ForeColor(Color color) override {
    Canvas::ForeColor(color);
    fore_colors.push_back(color);
  }
  using Canvas::ForeColor;

  void BackColor(Color color) override { calls.push_back("BackColor " + std::to_string(color)); }
  void Line(float x1, float y1, float x2, float y2) override {
    Log("Line", {x1, y1, x2, y2});
    SetCurrentPosition(x2, y2);
  }
  void Print(std::string_view text) override { Log("Print", {CurrentX(), CurrentY()}, text); }
  void AutoRedraw(bool on) override {
    Canvas::AutoRedraw(on);
    calls.push_back("AutoRedraw " + std::to_string(static_cast<int>(on)));
  }
  bool DoEvents() override {
    calls.emplace_back("DoEvents");
    return calls.size() != stop_at;
  }
  // A pair announced, with the colour changes so far.
  bool BeforePair(int i, int j) override {
    calls.push_back("BeforePair " + std::to_string(i) + " " + std::to_string(j) + " " +
                    std::to_string(fore_colors.size()));
    return calls.size() != stop_at;
  }

  std::vector<PlotPoint> plots;
  std::vector<Color> fore_colors;
  std::vector<std::string> calls;
  std::size_t stop_at = 0;  // the call, counted from 1, whose yield says not to go on

 private:
  // One line of the call log: the call, its coordinates, the colour of the
  // moment in hex and any text.
  void Log(const char* call, std::initializer_list<float> numbers, std::string_view text = "") {
    std::ostringstream line;
    line << call;
    for (const float v : numbers) line << " " << v;
    line << " " << std::hex << ForeColor();
    if (!text.empty()) line << " '" << text << "'";
    calls.push_back(line.str());
  }

  std::vector<std::uint32_t> pixels_;
};

}  // namespace kaldra::testing
