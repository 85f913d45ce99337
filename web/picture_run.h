#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "instrument/drawing_pace.h"
#include "instrument/picture.h"
#include "scene/raster_canvas.h"
#include "web/traced_index.h"

namespace kaldra {

// What a run asks its owner where the sequential sweeps yield: once per outer
// index, before its pairs (the canvas's DoEvents), and before every pair
// (BeforePair), then again while that says to wait.
class RunYields {
 public:
  virtual ~RunYields() = default;
  virtual bool GoesOn() = 0;
  virtual Proceed BeforePair(int i, int j) = 0;
  virtual Proceed Waited() = 0;
};

// A picture made on a canvas of its own from the outer indices that the
// page's workers trace (TracedIndex): sweep 1's indices in order, then sweep
// 2's, each replayed pair by pair once it has come, so that the canvas
// receives exactly the calls of the sequential sweeps, with their yields in
// between. The page's drawing also waits for an animation frame at every
// outer index, where the window lets the window system repaint; the trace of
// an edit does not. Nothing blocks: Run replays as far as it can and says
// what it waits for.
class PictureRun {
 public:
  // A new canvas of the picture's size and style, which takes the picture's
  // scene before its diagram: a drawing's at once, a trace's once its first
  // index has been traced.
  PictureRun(int id, Picture picture, bool frame_per_index);

  int Id() const { return id_; }
  // The scene traced: the picture's scene at its scale.
  const SceneRef& TracedScene() const { return picture_.drawn; }
  const std::shared_ptr<RasterCanvas>& Canvas() const { return canvas_; }
  // The outer indices to trace, k = 0, 1, ...: sweep 1's index k for k < n -
  // 1, then sweep 2's index k - (n - 1).
  int Indices() const { return static_cast<int>(traced_.size()); }
  // Index k has been traced; ignored once it was replayed.
  void Deliver(int k, TracedIndex traced);
  // The animation frame the run waits for has come.
  void FrameCame() { frame_came_ = true; }

  enum class State { kFrame, kTracing, kWaiting, kFinished, kStopped, kFailed };
  // Replays as far as it can: to an outer index not traced yet, a frame, a
  // wait before a pair, or the end.
  State Run(RunYields& yields);
  // While kWaiting: when to ask again at the latest; none while paused.
  std::optional<Time> WaitsUntil() const { return until_; }
  // The run-time error of a kFailed run.
  const std::string& Fault() const { return fault_; }
  // Whether the canvas changed since the last call.
  bool TakeDrawn();

 private:
  void DrawBackground();
  State End(State state);
  void Replay(const TracedIndex::Pair& pair);

  int id_;
  Picture picture_;
  std::shared_ptr<RasterCanvas> canvas_;
  bool frame_per_index_;
  std::vector<std::optional<TracedIndex>> traced_;
  int index_ = 0;               // the outer index replayed next, k as above
  bool index_begun_ = false;    // its yield is made, its pairs under way
  std::size_t pair_ = 0;        // the pair of the index replayed next
  bool frame_came_ = false;     // the frame of index_'s yield
  bool waiting_ = false;        // before pair_, told to wait
  std::optional<Time> until_;   // while waiting
  std::optional<State> ended_;  // how the run ended
  std::string fault_;
  bool drawn_ = true;
  bool background_ = false;  // the scene is drawn on the canvas
};

}  // namespace kaldra
