#include "app/background_trace.h"

#include <chrono>
#include <limits>
#include <utility>

#include "qt_canvas/image_canvas.h"
#include "scene/draw_scene.h"
#include "scene/run_time_error.h"
#include "tracing/sweeps.h"

namespace kaldra {

namespace {

// A canvas whose yields stop the trace once its job says so, so at most the
// outer index each thread is tracing is traced in vain.
class JobCanvas : public ImageCanvas {
 public:
  JobCanvas(const TraceJob& job, const std::atomic<std::uint64_t>& cancelled_upto)
      : ImageCanvas(job.picture.width, job.picture.height, job.picture.style),
        job_(job),
        cancelled_upto_(cancelled_upto) {}
  bool DoEvents() override {
    ThickenPoints();
    return GoesOn();
  }
  bool BeforePair(int /*i*/, int /*j*/) override { return GoesOn(); }

 private:
  bool GoesOn() const { return job_.GoesOn(cancelled_upto_.load(std::memory_order_relaxed)); }
  const TraceJob& job_;
  const std::atomic<std::uint64_t>& cancelled_upto_;
};

}  // namespace

Time SteadyNow() {
  return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now().time_since_epoch());
}

BackgroundTrace::BackgroundTrace(Finished finished)
    : finished_(std::move(finished)), worker_([this] { Run(); }) {}

BackgroundTrace::~BackgroundTrace() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  Cancel(std::numeric_limits<std::uint64_t>::max());  // the trace in flight stops at its next yield
  wake_.notify_one();
  worker_.join();
}

void BackgroundTrace::Start(TraceJob job) {
  {
    const std::lock_guard lock(mutex_);
    next_ = std::move(job);
  }
  wake_.notify_one();
}

void BackgroundTrace::Run() {
  for (;;) {
    std::optional<TraceJob> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_.has_value(); });
      if (stop_) return;
      job = std::move(next_);
      next_.reset();
    }
    JobCanvas canvas(*job, cancelled_upto_);
    Outcome outcome = Outcome::kFinished;
    std::string error;
    try {
      const Scene& scene = *job->picture.drawn;
      DrawScene(scene, canvas);
      if (TraceDiagram(scene, canvas, {TracingThreads()}).stopped) outcome = Outcome::kStopped;
      canvas.ThickenPoints();
    } catch (const RunTimeError& e) {
      outcome = Outcome::kFailed;
      error = e.what();
    }
    finished_(canvas.Image(), outcome, error);
  }
}

}  // namespace kaldra
