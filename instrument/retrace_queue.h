#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "instrument/drawing_pace.h"
#include "instrument/scene_origin.h"

namespace kaldra {

// One scene for a front end to trace away from its drawing, each into a
// picture of its own, so that only complete diagrams are ever shown.
struct TraceJob {
  std::uint64_t id = 0;
  SceneRef scene;
  Time finish_after{};  // superseded from then on, the trace finishes all the same

  // Whether the trace goes on, asked at its yields, when `wanted` is the
  // newest request (0 once all were cancelled). A newer request makes it
  // obsolete, unless the picture shown is old enough that this one had better
  // be finished; a cancelled one stops. Plain data, so the front end may ask
  // on the thread it traces on.
  bool GoesOn(std::uint64_t wanted, Time now) const {
    return wanted == id || (wanted != 0 && now >= finish_after);
  }
};

// How a trace or a drawing ended.
enum class Outcome { kFinished, kStopped, kFailed };

// The scenes of edits waiting to be traced, one at a time. Only the newest
// request matters: a newer one makes the trace in progress obsolete, and that
// trace stops at its next yield. But a drag faster than the tracing would then
// never see a picture, so a trace begun once the picture shown is
// kLongestWithoutPicture out of date is finished and shown all the same.
class RetraceQueue {
 public:
  static constexpr Time kLongestWithoutPicture{100};

  // Asks for the scene's diagram at `now`.
  void Request(SceneRef scene, Time now);
  // Makes every request so far obsolete, never to be shown.
  void Cancel();
  // The next trace to run, when one is waiting and none is in flight.
  std::optional<TraceJob> Take(Time now);
  // The newest request, 0 when it was cancelled: what TraceJob::GoesOn asks.
  std::uint64_t Wanted() const { return wanted_; }
  // Whether the newest request is still to be traced.
  bool Awaiting() const { return awaited_ != 0; }

  // What becomes of a trace that ended: its picture shown, passed over, or,
  // for the newest request failing, refused.
  enum class Fate { kShow, kPassOver, kRefuse };
  // The trace in flight ended at `now`. Precondition: a job was taken.
  Fate Ended(Outcome outcome, Time now);
  // The scene of the trace in flight, or of the one that ended last.
  const SceneRef& JobScene() const { return job_.scene; }

 private:
  std::uint64_t requests_ = 0;
  std::optional<TraceJob> pending_;  // the newest request, not yet taken
  bool in_flight_ = false;
  TraceJob job_;                        // the trace in flight, or the one that ended last
  std::uint64_t wanted_ = 0;            // the newest request; 0 once cancelled
  std::uint64_t awaited_ = 0;           // the newest request, until its trace ends
  std::uint64_t cancelled_upto_ = 0;    // requests up to this one are never shown
  std::uint64_t shown_ = 0;             // the request whose picture is shown
  std::optional<Time> outdated_since_;  // since when the picture shown is out of date
};

}  // namespace kaldra
