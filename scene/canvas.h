#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/color.h"

namespace kaldra {

// The window's client area in pixels: the canvas of every diagram unless a
// size is asked for.
inline constexpr int kDefaultCanvasWidth = 788;
inline constexpr int kDefaultCanvasHeight = 565;

// One point PSet drew while someone listens: the single-precision
// coordinates exactly as plotted, and the foreground colour of the moment.
struct PlotPoint {
  float x;
  float y;
  Color color;
};

// 32-bit 0xAARRGGBB image memory that PSet writes into directly.
struct PixelSurface {
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // in pixels, not bytes
};

// The drawing surface the core draws on: pixel coordinates, origin at the top
// left, y growing downwards. Everything but PSet goes through virtual calls,
// since each is made at most once per trace; PSet is the per-sample hot path
// and writes straight into the surface the backend attached.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Every later Line, PSet and Print draws in this colour.
  virtual void ForeColor(Color color);
  Color ForeColor() const { return fore_color_; }

  // Clears the whole canvas to this colour.
  virtual void BackColor(Color color) = 0;

  // While on, drawing is part of the picture a repaint restores. Our canvases
  // keep every drawing on a repaint, so the flag only tells the backend that
  // the fixed background (count label and segments) is complete.
  virtual void AutoRedraw(bool on) { auto_redraw_ = on; }
  bool AutoRedraw() const { return auto_redraw_; }

  // A one-pixel line from (x1, y1) to (x2, y2); the current position becomes
  // (x2, y2).
  virtual void Line(float x1, float y1, float x2, float y2) = 0;

  // Text with its top-left corner at the current position.
  virtual void Print(std::string_view text) = 0;

  // Lets the window system handle what is pending (repaints, clicks). Returns
  // whether the drawing goes on: false when the user has asked for another
  // scene or ended the program, or a newer edit has made the trace obsolete;
  // the sweeps then stop at once and return.
  virtual bool DoEvents() { return true; }

  // Called by the sweeps right before they trace the pair (i, j). The window
  // waits here when the user asks for a slower pace or a pause; returns
  // whether to go on, as DoEvents does. By default the drawing goes on at
  // once, so a drawing at full speed is not touched.
  virtual bool BeforePair(int /*i*/, int /*j*/) { return true; }

  // One pixel at (lround(x), lround(y)) in the foreground colour; a point off
  // the surface is not shown. The current position becomes (x, y).
  void PSet(float x, float y) {
    current_x_ = x;
    current_y_ = y;
    // lround(v) lies in [0, n - 1] exactly when -0.5 < v < n - 0.5; testing
    // the float first also keeps huge values away from the integer cast.
    if (!(x > -0.5f && x < static_cast<float>(surface_.width) - 0.5f)) return;
    if (!(y > -0.5f && y < static_cast<float>(surface_.height) - 0.5f)) return;
    const std::ptrdiff_t column = RoundHalfAway(x);
    const std::ptrdiff_t row = RoundHalfAway(y);
    surface_.bits[row * surface_.stride + column] = fore_pixel_;
    ++pixels_written_;
    // Recorded only here, so the list and PixelsWritten count the same points.
    if (plot_sink_ != nullptr) plot_sink_->push_back({x, y, fore_color_});
  }

  float CurrentX() const { return current_x_; }
  float CurrentY() const { return current_y_; }

  // Every PSet that lands on the surface appends to this list while it is
  // set; nullptr stops listening.
  void SetPlotSink(std::vector<PlotPoint>* sink) { plot_sink_ = sink; }

  // How many PSet calls landed on the surface.
  std::uint64_t PixelsWritten() const { return pixels_written_; }

  int Width() const { return surface_.width; }
  int Height() const { return surface_.height; }

 protected:
  void AttachSurface(PixelSurface surface) { surface_ = surface; }
  const PixelSurface& Surface() const { return surface_; }
  void SetCurrentPosition(float x, float y) {
    current_x_ = x;
    current_y_ = y;
  }

 private:
  // lround for a value already known to lie in (-0.5, 2^23): the truncation
  // and the fraction are both exact in float.
  static std::ptrdiff_t RoundHalfAway(float v) {
    const auto whole = static_cast<std::ptrdiff_t>(v);
    const float fraction = v - static_cast<float>(whole);
    return fraction >= 0.5f ? whole + 1 : whole;
  }

  PixelSurface surface_;
  Color fore_color_ = kBlack;
  std::uint32_t fore_pixel_ = ToArgbPixel(kBlack);
  bool auto_redraw_ = true;
  float current_x_ = 0;
  float current_y_ = 0;
  std::vector<PlotPoint>* plot_sink_ = nullptr;
  std::uint64_t pixels_written_ = 0;
};

// The canvas's number format: a non-negative integer prints as a blank (the
// place of its sign), its digits and a blank, so 12 prints as " 12 ".
std::string FormatNumber(long value);

}  // namespace kaldra
