// Dragging in edit mode as the window does it, without Qt: the instrument
// judges each position of the pointer on the main thread, a worker traces the
// pictures it hands out on every core (as the window's background trace does),
// and each finished one is shown. The positions come at a mouse's pace, one
// every 8 ms for two seconds, around a small circle at the end of a segment,
// each along the whole way from the press, at the window's size and in a
// window twice as large each way (a scale of 2). Reports the frames shown per
// second of the drag, the median and the longest interval between two frames,
// the median time from a position to the frame that shows it, the median
// trace and the median judgement of a position. The window's painting of each
// frame is not in these figures.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <numbers>
#include <optional>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "instrument/instrument.h"
#include "scene/draw_scene.h"
#include "scene/raster_canvas.h"
#include "tracing/sweeps.h"

namespace kaldra::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kMouseInterval{8};
constexpr int kPositions = 250;
constexpr double kRadius = 4;  // pixels around the end grabbed

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

// The worker: traces one job at a time, as the window's BackgroundTrace.
class Tracer {
 public:
  Tracer() : thread_([this] { Run(); }) {}
  ~Tracer() {
    {
      const std::lock_guard lock(mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void Start(TraceJob job) {
    {
      const std::lock_guard lock(mutex_);
      job_ = std::move(job);
      done_ = false;
    }
    wake_.notify_all();
  }
  // Waits until the trace in flight is done or `until` comes; true when done.
  bool WaitDone(Clock::time_point until) {
    std::unique_lock lock(mutex_);
    if (!wake_.wait_until(lock, until, [this] { return done_; })) return false;
    done_ = false;
    return true;
  }
  double LastTraceMs() const { return last_ms_; }

 private:
  void Run() {
    for (;;) {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || job_.has_value(); });
      if (quit_) return;
      const TraceJob job = std::move(*job_);
      job_.reset();
      lock.unlock();
      const Clock::time_point start = Clock::now();
      RasterCanvas canvas(job.picture.width, job.picture.height, job.picture.style);
      DrawScene(*job.picture.drawn, canvas);
      TraceDiagram(*job.picture.drawn, canvas, {TracingThreads()});
      canvas.ThickenPoints();
      benchmark::DoNotOptimize(canvas.PixelsWritten());
      lock.lock();
      last_ms_ = Ms(Clock::now() - start);
      done_ = true;
      wake_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<TraceJob> job_;
  bool done_ = false;
  bool quit_ = false;
  double last_ms_ = 0;
  std::thread thread_;  // last, so that it starts after everything it reads
};

Scene HundredSegments() { return GridSegments(10, 10); }

// `scale`: the window's scale, 2 for a window of at least 1576x1130 pixels.
template <Scene (*MakeScene)(), int scale>
void BM_Drag(benchmark::State& state) {
  const Scene scene = MakeScene();
  // The right end of the middle segment: in the grid, one with neighbours
  // all round.
  const Segment& grabbed = scene[scene.Count() / 2];
  std::vector<double> intervals, behind, traces, judged;
  double frames_per_second = 0;
  for (auto _ : state) {
    Instrument m(kDefaultCanvasWidth, kDefaultCanvasHeight);
    m.ShowFile("bench.scene", scene);
    m.TakeDrawing();
    m.DrawingEnded(Outcome::kFinished);
    m.ResizeView(kDefaultCanvasWidth * scale, kDefaultCanvasHeight * scale);
    m.TakeTrace();  // the picture at that scale, as if traced already
    m.TraceEnded(Outcome::kFinished);
    m.Do(WindowAction::kEditMode);
    const CanvasView& view = m.View();
    m.Press(view.ViewX(grabbed.x2), view.ViewY(grabbed.y2));
    Tracer tracer;
    bool in_flight = false;
    std::map<const Scene*, Clock::time_point> moved_at;
    const Scene* last_moved = nullptr;
    Clock::time_point flight_moved_at;  // when the position traced was reached
    std::optional<Clock::time_point> last_frame;
    const Clock::time_point start = Clock::now();
    const auto now_ms = [&start] { return std::chrono::duration_cast<Time>(Clock::now() - start); };
    const auto next_trace = [&] {
      if (in_flight) return;
      if (std::optional<TraceJob> job = m.TakeTrace()) {
        flight_moved_at = moved_at.at(job->picture.scene.get());
        tracer.Start(std::move(*job));
        in_flight = true;
      }
    };
    int frames = 0;
    for (int k = 0; k <= kPositions; ++k) {
      // Until the next position, the traces that end are shown.
      const Clock::time_point next = start + k * kMouseInterval;
      while (in_flight && tracer.WaitDone(k < kPositions ? next : Clock::time_point::max())) {
        in_flight = false;
        m.AdvanceTo(now_ms());
        const Clock::time_point at = Clock::now();
        if (m.TraceEnded(Outcome::kFinished)) {
          ++frames;
          traces.push_back(tracer.LastTraceMs());
          behind.push_back(Ms(at - flight_moved_at));
          if (last_frame) intervals.push_back(Ms(at - *last_frame));
          last_frame = at;
        }
        next_trace();
      }
      if (k == kPositions) break;
      std::this_thread::sleep_until(next);
      m.AdvanceTo(now_ms());
      const double turn = 2 * std::numbers::pi * k / (kPositions / 2.0);
      const Clock::time_point judging = Clock::now();
      m.MoveTo(view.ViewX(grabbed.x2 + kRadius * std::cos(turn)),
               view.ViewY(grabbed.y2 + kRadius * std::sin(turn)));
      judged.push_back(Ms(Clock::now() - judging));
      // Each accepted position is a new scene (an address may come again).
      if (m.CurrentScene().get() != last_moved)
        moved_at[last_moved = m.CurrentScene().get()] = Clock::now();
      next_trace();
    }
    frames_per_second = frames / (kPositions * Ms(kMouseInterval) / 1000);
  }
  state.counters["frames_per_s"] = frames_per_second;
  state.counters["interval_median_ms"] = Median(intervals);
  state.counters["interval_max_ms"] = intervals.empty()
                                          ? 0
                                          : *std::max_element(intervals.begin(), intervals.end());
  state.counters["behind_median_ms"] = Median(behind);
  state.counters["trace_median_ms"] = Median(traces);
  state.counters["judge_median_ms"] = Median(judged);
}

BENCHMARK(BM_Drag<SeventeenSegments, 1>)
    ->Name("Drag/17_segments")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_Drag<HundredSegments, 1>)
    ->Name("Drag/100_segments")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_Drag<HundredSegments, 2>)
    ->Name("Drag/100_segments_scale_2")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
}  // namespace kaldra::bench

BENCHMARK_MAIN();
