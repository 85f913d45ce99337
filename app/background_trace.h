#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <QImage>

#include "instrument/drawing_pace.h"
#include "instrument/retrace_queue.h"

namespace kaldra {

// The window's clock, as it tells the instrument the time.
Time SteadyNow();

// Traces the jobs the instrument hands out for edits on a worker thread, one
// at a time, each into a picture of its own, so that the window keeps
// answering while the user drags. At every yield the trace asks its job
// whether to go on, with the cancellations the window last passed on.
class BackgroundTrace {
 public:
  // A trace ended: its picture and how it ended, with the run-time error's
  // message when it failed. Called on the worker thread.
  using Finished =
      std::function<void(const QImage& picture, Outcome outcome, const std::string& error)>;

  explicit BackgroundTrace(Finished finished);
  ~BackgroundTrace();
  BackgroundTrace(const BackgroundTrace&) = delete;
  BackgroundTrace& operator=(const BackgroundTrace&) = delete;

  // The instrument's TracesCancelledUpTo, for the trace in flight.
  void Cancel(std::uint64_t upto) { cancelled_upto_.store(upto, std::memory_order_relaxed); }
  // Traces the job. Precondition: the one before has been reported.
  void Start(TraceJob job);

 private:
  void Run();

  Finished finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<TraceJob> next_;  // under mutex_
  bool stop_ = false;             // under mutex_
  std::atomic<std::uint64_t> cancelled_upto_{0};
  std::thread worker_;  // last, so that it starts after everything it reads
};

}  // namespace kaldra
