#include "instrument/drawing_pace.h"

#include <algorithm>
#include <utility>

namespace kaldra {

void DrawingPace::Want(SceneRef scene) {
  wanted_ = std::move(scene);
  if (drawing_) drawing_->stopped = true;
}

void DrawingPace::Stop() {
  wanted_.reset();
  if (drawing_) drawing_->stopped = true;
}

SceneRef DrawingPace::Take() {
  if (drawing_ || !wanted_) return nullptr;
  drawing_ = UnderWay{};
  drawing_->scene = std::move(wanted_);
  wanted_.reset();
  return drawing_->scene;
}

void DrawingPace::Ended() { drawing_.reset(); }

Proceed DrawingPace::BeforePair(int i, int j, Time now) {
  ++drawing_->pairs;
  if (!Paced()) {
    // Full speed: no wait, so the drawing is as fast as ever.
    drawing_->waiting.reset();
    return {};
  }
  drawing_->waiting = {i, j};
  drawing_->since = now;
  return Waited(now);
}

Proceed DrawingPace::Waited(Time now) const {
  if (!GoesOn()) return {Proceed::Kind::kStop, std::nullopt};
  if (paused_) return {Proceed::Kind::kWait, std::nullopt};
  const Time until = drawing_->since + Time(DelayMs());
  if (now >= until) return {};
  return {Proceed::Kind::kWait, until};
}

std::optional<std::pair<int, int>> DrawingPace::WaitingPair() const {
  if (!drawing_) return std::nullopt;
  return drawing_->waiting;
}

int DrawingPace::Sweep() const {
  const int n = drawing_->scene->Count();
  return drawing_->pairs <= n * (n - 1) / 2 ? 1 : 2;
}

void DrawingPace::Slower() {
  pace_ = std::min(pace_ + 1, static_cast<int>(kPairDelaysMs.size()) - 1);
}

void DrawingPace::Faster() { pace_ = std::max(pace_ - 1, 0); }

}  // namespace kaldra
