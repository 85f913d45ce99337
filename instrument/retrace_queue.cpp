#include "instrument/retrace_queue.h"

#include <utility>

namespace kaldra {

void RetraceQueue::Request(Picture picture) {
  pending_ = TraceJob{++requests_, std::move(picture)};
}

void RetraceQueue::Cancel() {
  pending_.reset();
  cancelled_upto_ = requests_;
}

std::optional<TraceJob> RetraceQueue::Take() {
  if (in_flight_ || !pending_) return std::nullopt;
  job_ = std::move(*pending_);
  pending_.reset();
  in_flight_ = true;
  return job_;
}

RetraceQueue::Fate RetraceQueue::Ended(Outcome outcome) {
  in_flight_ = false;
  // A trace that stopped, or whose request was cancelled meanwhile, is never
  // shown. Traces run in the order of their requests, so any other finished
  // one is newer than the picture shown.
  if (outcome == Outcome::kStopped || job_.id <= cancelled_upto_) return Fate::kPassOver;
  if (outcome == Outcome::kFinished) return Fate::kShow;
  // A position whose diagram cannot be traced counts as refused; an older one
  // is simply passed over, the newer one being traced next.
  return pending_ ? Fate::kPassOver : Fate::kRefuse;
}

}  // namespace kaldra
