#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <QImage>

#include "scene/scene.h"

namespace kaldra {

// Traces scenes on a worker thread while the user drags, each into a picture
// of its own, so the window keeps answering and only ever shows complete
// diagrams. Only the newest request matters: a newer one makes the trace in
// progress obsolete, and that trace gives up at its next yield. But a drag
// faster than the tracing would then never see a picture, so once the newest
// picture is kLongestWithoutPicture out of date, the trace in progress is
// finished and reported all the same.
class BackgroundTrace {
 public:
  // A finished trace: its request's number, its scene, and the picture, or
  // the run-time error that ended it. Called on the worker thread, for the
  // newest request or one finished to keep the pictures coming, never for a
  // cancelled one (but a cancel may come while the call is under way).
  using Finished = std::function<void(std::uint64_t request, const Scene& scene,
                                      const QImage& picture, const std::string& error)>;

  static constexpr std::chrono::milliseconds kLongestWithoutPicture{100};

  BackgroundTrace(int width, int height, Finished finished);
  ~BackgroundTrace();
  BackgroundTrace(const BackgroundTrace&) = delete;
  BackgroundTrace& operator=(const BackgroundTrace&) = delete;

  // Asks for the scene's diagram; returns the request's number, which grows
  // with every request.
  std::uint64_t Request(Scene scene);
  // Makes every request so far obsolete, never to be reported; returns the
  // number of the last one.
  std::uint64_t Cancel();

 private:
  void Run();

  int width_;
  int height_;
  Finished finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Scene> next_;  // waiting to be traced, under mutex_
  bool stop_ = false;          // under mutex_
  // Since when the newest picture reported is out of date, under mutex_.
  std::optional<std::chrono::steady_clock::time_point> outdated_since_;
  std::uint64_t requests_ = 0;
  std::atomic<std::uint64_t> current_{0};  // the request still wanted; 0 for none
  std::thread worker_;                     // last, so that it starts after everything it reads
};

}  // namespace kaldra
