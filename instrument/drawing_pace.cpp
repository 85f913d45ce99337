#include "instrument/drawing_pace.h"

#include <algorithm>
#include <utility>

namespace kaldra {

void DrawingPace::Want(Picture picture, int skip) {
  wanted_ = UnderWay{std::move(picture), 0, skip, std::nullopt, Time{}, false};
  if (drawing_) drawing_->stopped = true;
}

bool DrawingPace::Redo(Picture picture) {
  if (wanted_) {
    wanted_->picture = std::move(picture);
  } else if (GoesOn()) {
    Want(std::move(picture), PairsDone());
  } else {
    return false;
  }
  return true;
}

void DrawingPace::Stop() {
  wanted_.reset();
  if (drawing_) drawing_->stopped = true;
}

std::optional<Picture> DrawingPace::Take() {
  if (drawing_ || !wanted_) return std::nullopt;
  drawing_ = std::move(wanted_);
  wanted_.reset();
  return drawing_->picture;
}

void DrawingPace::Ended() { drawing_.reset(); }

Proceed DrawingPace::BeforePair(int i, int j, Time now) {
  ++drawing_->pairs;
  drawing_->waiting = {i, j};
  drawing_->since = now;
  const Proceed proceed = Waited(now);
  // A pair gone on to is no longer waited before.
  if (proceed.kind == Proceed::Kind::kGoOn) drawing_->waiting.reset();
  return proceed;
}

Proceed DrawingPace::Waited(Time now) const {
  if (!GoesOn()) return {Proceed::Kind::kStop, std::nullopt};
  // At full speed, and up to the pair stepped to, nothing waits, so the
  // drawing is as fast as ever.
  if (!Paced() || PairsDone() < drawing_->skip) return {};
  if (paused_) return {Proceed::Kind::kWait, std::nullopt};
  const Time until = drawing_->since + Time(DelayMs());
  if (now >= until) return {};
  return {Proceed::Kind::kWait, until};
}

std::optional<std::pair<int, int>> DrawingPace::WaitingPair() const {
  if (!drawing_) return std::nullopt;
  return drawing_->waiting;
}

int DrawingPace::PairsDone() const {
  if (!drawing_) return 0;
  // The pair waited before is announced, not traced.
  return drawing_->pairs - (drawing_->waiting ? 1 : 0);
}

int DrawingPace::PairsPerSweep() const {
  const int n = drawing_->picture.drawn->Count();
  return n * (n - 1) / 2;
}

int DrawingPace::Sweep() const { return drawing_->pairs <= PairsPerSweep() ? 1 : 2; }

void DrawingPace::StepForward() {
  if (paused_ && drawing_ && drawing_->waiting) drawing_->skip = PairsDone() + 1;
}

void DrawingPace::Slower() {
  pace_ = std::min(pace_ + 1, static_cast<int>(kPairDelaysMs.size()) - 1);
}

void DrawingPace::Faster() { pace_ = std::max(pace_ - 1, 0); }

}  // namespace kaldra
