#include "app/background_trace.h"

#include <utility>

#include "qt_canvas/image_canvas.h"
#include "scene/draw_scene.h"
#include "scene/run_time_error.h"
#include "tracing/sweeps.h"

namespace kaldra {

namespace {

// Thrown from a yield of an obsolete trace; caught in the worker's loop.
struct TraceObsolete {};

// A canvas whose yields give up as soon as its request is no longer current,
// so at most the outer index each thread is tracing is traced in vain; after
// `finish_after` it goes on all the same, unless the request was cancelled.
class ObsoletableCanvas : public ImageCanvas {
 public:
  using Clock = std::chrono::steady_clock;
  ObsoletableCanvas(int width, int height, const std::atomic<std::uint64_t>& current,
                    std::uint64_t request, Clock::time_point finish_after)
      : ImageCanvas(width, height),
        current_(current),
        request_(request),
        finish_after_(finish_after) {}
  bool DoEvents() override {
    ThrowIfObsolete();
    return true;
  }
  bool BeforePair(int /*i*/, int /*j*/) override {
    ThrowIfObsolete();
    return true;
  }

 private:
  void ThrowIfObsolete() const {
    const std::uint64_t current = current_.load(std::memory_order_relaxed);
    if (current == request_) return;
    if (current == 0 || Clock::now() < finish_after_) throw TraceObsolete{};
  }
  const std::atomic<std::uint64_t>& current_;
  std::uint64_t request_;
  Clock::time_point finish_after_;
};

}  // namespace

BackgroundTrace::BackgroundTrace(int width, int height, Finished finished)
    : width_(width), height_(height), finished_(std::move(finished)), worker_([this] { Run(); }) {}

BackgroundTrace::~BackgroundTrace() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  current_ = 0;
  wake_.notify_one();
  worker_.join();
}

std::uint64_t BackgroundTrace::Request(Scene scene) {
  std::uint64_t request = 0;
  {
    const std::lock_guard lock(mutex_);
    next_ = std::move(scene);
    request = ++requests_;
    current_ = request;
    if (!outdated_since_) outdated_since_ = std::chrono::steady_clock::now();
  }
  wake_.notify_one();
  return request;
}

std::uint64_t BackgroundTrace::Cancel() {
  const std::lock_guard lock(mutex_);
  next_.reset();
  outdated_since_.reset();
  current_ = 0;
  return requests_;
}

void BackgroundTrace::Run() {
  for (;;) {
    std::optional<Scene> scene;
    std::uint64_t request = 0;
    ObsoletableCanvas::Clock::time_point finish_after;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_.has_value(); });
      if (stop_) return;
      scene = std::move(next_);
      next_.reset();
      request = current_;
      finish_after = outdated_since_.value_or(ObsoletableCanvas::Clock::now()) +
                     kLongestWithoutPicture;
    }
    if (request == 0) continue;
    ObsoletableCanvas canvas(width_, height_, current_, request, finish_after);
    std::string error;
    try {
      DrawScene(*scene, canvas);
      TraceDiagram(*scene, canvas, {TracingThreads()});
    } catch (const TraceObsolete&) {
      continue;
    } catch (const RunTimeError& e) {
      error = e.what();
    }
    {
      const std::lock_guard lock(mutex_);
      if (current_ == 0) continue;  // cancelled meanwhile
      // Up to date until the next request, unless a newer one is waiting.
      if (current_ == request) {
        outdated_since_.reset();
      } else {
        outdated_since_ = ObsoletableCanvas::Clock::now();
      }
    }
    finished_(request, *scene, canvas.Image(), error);
  }
}

}  // namespace kaldra
