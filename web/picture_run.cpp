#include "web/picture_run.h"

#include <algorithm>
#include <utility>

#include "scene/draw_scene.h"

namespace kaldra {

PictureRun::PictureRun(int id, Picture picture, bool frame_per_index)
    : id_(id),
      picture_(std::move(picture)),
      canvas_(std::make_shared<RasterCanvas>(picture_.width, picture_.height, picture_.style)),
      frame_per_index_(frame_per_index),
      traced_(static_cast<std::size_t>(2 * std::max(0, picture_.drawn->Count() - 1))) {
  // A drawing is seen from the start. A trace is seen only once complete,
  // and never if it stops: its background waits for its first index, so
  // that the page hands the indices out first and draws it while the
  // workers trace.
  if (frame_per_index_) DrawBackground();
}

void PictureRun::DrawBackground() {
  if (std::exchange(background_, true)) return;
  DrawScene(*picture_.drawn, *canvas_);
  // From here on the canvas takes the diagram, as TraceDiagram tells it.
  canvas_->AutoRedraw(false);
}

void PictureRun::Deliver(int k, TracedIndex traced) {
  if (k >= index_ && k < Indices()) traced_[static_cast<std::size_t>(k)] = std::move(traced);
}

PictureRun::State PictureRun::Run(RunYields& yields) {
  if (ended_) return *ended_;
  if (!background_) {
    if (Indices() > 0 && !traced_.front()) return State::kTracing;
    DrawBackground();
  }
  const int per_sweep = Indices() / 2;
  while (index_ < Indices()) {
    std::optional<TracedIndex>& traced = traced_[static_cast<std::size_t>(index_)];
    if (!index_begun_) {
      // In a thicker style the points plotted so far become blocks before
      // they are seen, as at the window's yields.
      canvas_->ThickenPoints();
      if (frame_per_index_ && !frame_came_) return State::kFrame;
      if (!traced) return State::kTracing;
      // Asked right before the pairs are replayed, so that nothing is drawn
      // for a run given up while it waited for its frame or its index.
      if (!yields.GoesOn()) return End(State::kStopped);
      index_begun_ = true;
      pair_ = 0;
    }
    const int i = index_ % per_sweep;
    for (; pair_ < traced->pairs.size(); ++pair_) {
      const TracedIndex::Pair& pair = traced->pairs[pair_];
      const Proceed proceed = waiting_ ? yields.Waited() : yields.BeforePair(i, pair.j);
      waiting_ = proceed.kind == Proceed::Kind::kWait;
      if (waiting_) {
        canvas_->ThickenPoints();
        until_ = proceed.until;
        return State::kWaiting;
      }
      if (proceed.kind == Proceed::Kind::kStop) return End(State::kStopped);
      Replay(pair);
    }
    if (!traced->fault.empty()) {
      fault_ = traced->fault;
      return End(State::kFailed);
    }
    traced.reset();  // its memory is not needed any more
    ++index_;
    index_begun_ = false;
    frame_came_ = false;
  }
  return End(State::kFinished);
}

bool PictureRun::TakeDrawn() { return std::exchange(drawn_, false); }

PictureRun::State PictureRun::End(State state) {
  canvas_->ThickenPoints();
  ended_ = state;
  traced_.clear();
  return state;
}

void PictureRun::Replay(const TracedIndex::Pair& pair) {
  for (const PlotPoint& p : pair.points) {
    if (p.color != canvas_->ForeColor()) canvas_->ForeColor(p.color);
    canvas_->PSet(p.x, p.y);
  }
  drawn_ = drawn_ || !pair.points.empty();
}

}  // namespace kaldra
