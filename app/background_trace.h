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

#include "scene/scene.h"

namespace kaldra {

// Traces scenes on a worker thread while the user drags, each into a picture
// of its own, so the window keeps answering and only ever shows complete
// diagrams. Only the newest request matters: a newer one makes the trace in
// progress obsolete, and that trace gives up at its next yield.
class BackgroundTrace {
 public:
  // A finished trace: its request's number, and the picture, or the run-time
  // error that ended it. Called on the worker thread, for current requests
  // only (a request may still be overtaken while the call is under way).
  using Finished =
      std::function<void(std::uint64_t request, const QImage& picture, const std::string& error)>;

  BackgroundTrace(int width, int height, Finished finished);
  ~BackgroundTrace();
  BackgroundTrace(const BackgroundTrace&) = delete;
  BackgroundTrace& operator=(const BackgroundTrace&) = delete;

  // Asks for the scene's diagram; returns the request's number, which grows
  // with every request.
  std::uint64_t Request(Scene scene);
  // Makes every request so far obsolete.
  void Cancel();
  // Whether `request` is the newest and not cancelled.
  bool Current(std::uint64_t request) const { return current_.load() == request; }

 private:
  void Run();

  int width_;
  int height_;
  Finished finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Scene> next_;  // waiting to be traced, under mutex_
  bool stop_ = false;          // under mutex_
  std::uint64_t requests_ = 0;
  std::atomic<std::uint64_t> current_{0};  // the request still wanted; 0 for none
  std::thread worker_;                     // last, so that it starts after everything it reads
};

}  // namespace kaldra
