#include "instrument/retrace_queue.h"

#include <algorithm>
#include <utility>

namespace kaldra {

void RetraceQueue::Request(SceneRef scene, Time now) {
  pending_ = TraceJob{++requests_, std::move(scene), Time(0)};
  wanted_ = awaited_ = requests_;
  if (!outdated_since_) outdated_since_ = now;
}

void RetraceQueue::Cancel() {
  pending_.reset();
  outdated_since_.reset();
  wanted_ = awaited_ = 0;
  cancelled_upto_ = requests_;
}

std::optional<TraceJob> RetraceQueue::Take(Time now) {
  if (in_flight_ || !pending_) return std::nullopt;
  job_ = std::move(*pending_);
  pending_.reset();
  job_.finish_after = outdated_since_.value_or(now) + kLongestWithoutPicture;
  in_flight_ = true;
  return job_;
}

RetraceQueue::Fate RetraceQueue::Ended(Outcome outcome, Time now) {
  in_flight_ = false;
  // A trace that stopped, or whose requests were all cancelled meanwhile, is
  // never shown.
  if (outcome == Outcome::kStopped || wanted_ == 0) return Fate::kPassOver;
  // Up to date until the next request, unless a newer one is waiting.
  if (wanted_ == job_.id) {
    outdated_since_.reset();
  } else {
    outdated_since_ = now;
  }
  // A picture older than the one shown, or of a scene since replaced, is not
  // shown.
  if (job_.id <= std::max(cancelled_upto_, shown_)) return Fate::kPassOver;
  const bool newest = job_.id == awaited_;
  if (newest) awaited_ = 0;
  if (outcome == Outcome::kFinished) {
    shown_ = job_.id;
    return Fate::kShow;
  }
  // A position whose diagram cannot be traced counts as refused; an older one
  // is simply passed over.
  return newest ? Fate::kRefuse : Fate::kPassOver;
}

}  // namespace kaldra
