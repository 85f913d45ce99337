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

// A canvas whose yields give up as soon as its request is no longer current:
// at most one pair is traced in vain.
class ObsoletableCanvas : public ImageCanvas {
 public:
  ObsoletableCanvas(int width, int height, const std::atomic<std::uint64_t>& current,
                    std::uint64_t request)
      : ImageCanvas(width, height), current_(current), request_(request) {}
  void DoEvents() override { ThrowIfObsolete(); }
  void BeforePair(int /*i*/, int /*j*/) override { ThrowIfObsolete(); }

 private:
  void ThrowIfObsolete() const {
    if (current_.load(std::memory_order_relaxed) != request_) throw TraceObsolete{};
  }
  const std::atomic<std::uint64_t>& current_;
  std::uint64_t request_;
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
  }
  wake_.notify_one();
  return request;
}

void BackgroundTrace::Cancel() {
  const std::lock_guard lock(mutex_);
  next_.reset();
  current_ = 0;
}

void BackgroundTrace::Run() {
  for (;;) {
    std::optional<Scene> scene;
    std::uint64_t request = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_.has_value(); });
      if (stop_) return;
      scene = std::move(next_);
      next_.reset();
      request = current_;
    }
    if (request == 0) continue;
    ObsoletableCanvas canvas(width_, height_, current_, request);
    std::string error;
    try {
      DrawScene(*scene, canvas);
      TraceDiagram(*scene, canvas);
    } catch (const TraceObsolete&) {
      continue;
    } catch (const RunTimeError& e) {
      error = e.what();
    }
    if (Current(request)) finished_(request, canvas.Image(), error);
  }
}

}  // namespace kaldra
