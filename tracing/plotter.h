#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/canvas.h"
#include "scene/color.h"

namespace kaldra {

// Where a trace's points go: straight to a canvas, or into a buffer of the
// canvas calls in their order, to be replayed later on the caller's thread.
// A buffered trace touches nothing shared, so pairs can be traced on several
// threads at once; replaying the buffers in the sequential order gives the
// canvas exactly the calls the sequential sweeps would have made.
class Plotter {
 public:
  // Buffering.
  Plotter() = default;
  // Straight through to `canvas`.
  explicit Plotter(Canvas& canvas) : canvas_(&canvas) {}

  // Buffered only: the pair whose traces follow, announced on replay.
  void BeginPair(int i, int j) { pairs_.push_back({i, j, colors_.size()}); }

  void ForeColor(Color color) {
    if (canvas_ != nullptr) {
      canvas_->ForeColor(color);
      return;
    }
    colors_.push_back({points_.size(), color});
  }

  void PSet(float x, float y) {
    if (canvas_ != nullptr) {
      canvas_->PSet(x, y);
      return;
    }
    points_.push_back({x, y});
  }

  // Makes the buffered calls on `canvas`, in order: BeforePair, ForeColor,
  // PSet. Every buffered PSet follows a ForeColor, since each trace sets its
  // colour before it plots. Stops where BeforePair says not to go on, and
  // returns false then.
  bool Replay(Canvas& canvas) const;

 private:
  struct PairMark {
    int i, j;
    std::size_t first_color;
  };
  struct ColorMark {
    std::size_t first_point;
    Color color;
  };
  struct Point2 {
    float x, y;
  };

  Canvas* canvas_ = nullptr;
  std::vector<PairMark> pairs_;
  std::vector<ColorMark> colors_;
  std::vector<Point2> points_;
};

}  // namespace kaldra
