#pragma once

#include <cstdint>
#include <optional>

#include "instrument/picture.h"

namespace kaldra {

// One picture for a front end to trace away from its drawing, each on a
// canvas of its own, so that only complete diagrams are ever shown.
struct TraceJob {
  std::uint64_t id = 0;
  Picture picture;

  // Whether the trace goes on, asked at its yields, when every request up to
  // `cancelled_upto` is cancelled. Plain data, so the front end may ask on
  // the thread it traces on.
  bool GoesOn(std::uint64_t cancelled_upto) const { return id > cancelled_upto; }
};

// How a trace or a drawing ended.
enum class Outcome { kFinished, kStopped, kFailed };

// The pictures of edits waiting to be traced, one at a time. Only the newest
// request waits: a newer one replaces it. The trace in flight is never given
// up for a newer position, though: it finishes and is shown, and the newest
// position is traced next. Abandoning it would show nothing at all while the
// positions come faster than a trace (a drag over a hundred segments), where
// finishing it shows a picture every trace, at most two traces behind the
// pointer. Only a cancellation (another scene, another scale) stops it.
class RetraceQueue {
 public:
  // Asks for the picture's diagram.
  void Request(Picture picture);
  // Makes every request so far obsolete, never to be shown; the trace in
  // flight stops at its next yield.
  void Cancel();
  // The next trace to run, when one is waiting and none is in flight.
  std::optional<TraceJob> Take();
  // Every request up to this one is cancelled: what TraceJob::GoesOn asks.
  std::uint64_t CancelledUpTo() const { return cancelled_upto_; }
  // Whether the newest request is still to be traced.
  bool Awaiting() const { return pending_ || (in_flight_ && job_.id > cancelled_upto_); }

  // What becomes of a trace that ended: its picture shown, passed over, or,
  // for the newest request failing, refused.
  enum class Fate { kShow, kPassOver, kRefuse };
  // The trace in flight ended. Precondition: a job was taken.
  Fate Ended(Outcome outcome);
  // The picture of the trace in flight, or of the one that ended last.
  const Picture& JobPicture() const { return job_.picture; }

 private:
  std::uint64_t requests_ = 0;
  std::optional<TraceJob> pending_;  // the newest request, not yet taken
  bool in_flight_ = false;
  TraceJob job_;                      // the trace in flight, or the one that ended last
  std::uint64_t cancelled_upto_ = 0;  // requests up to this one are never shown
};

}  // namespace kaldra
