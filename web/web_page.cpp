#include "web/web_page.h"

#include <algorithm>
#include <utility>

namespace kaldra {

namespace {

// The drawing's yields are the instrument's, as the window's canvas asks
// them.
class DrawingYields final : public RunYields {
 public:
  explicit DrawingYields(Instrument& model) : model_(model) {}
  bool GoesOn() override { return model_.DrawingGoesOn(); }
  Proceed BeforePair(int i, int j) override { return model_.BeforePair(i, j); }
  Proceed Waited() override { return model_.Waited(); }

 private:
  Instrument& model_;
};

// A trace's yields ask its job whether it goes on, at every outer index and
// every pair, as the window's worker does; it never waits.
class TraceYields final : public RunYields {
 public:
  TraceYields(std::uint64_t job, const Instrument& model) : job_(job), model_(model) {}
  bool GoesOn() override { return TraceJob{job_, {}}.GoesOn(model_.TracesCancelledUpTo()); }
  Proceed BeforePair(int /*i*/, int /*j*/) override { return Waited(); }
  Proceed Waited() override {
    return {GoesOn() ? Proceed::Kind::kGoOn : Proceed::Kind::kStop, std::nullopt};
  }

 private:
  std::uint64_t job_;
  const Instrument& model_;
};

Outcome OutcomeOf(PictureRun::State state) {
  switch (state) {
    case PictureRun::State::kFinished:
      return Outcome::kFinished;
    case PictureRun::State::kFailed:
      return Outcome::kFailed;
    default:
      return Outcome::kStopped;
  }
}

bool Ended(PictureRun::State state) {
  return state == PictureRun::State::kFinished || state == PictureRun::State::kStopped ||
         state == PictureRun::State::kFailed;
}

}  // namespace

WebPage::WebPage(int width, int height)
    : width_(width),
      height_(height),
      model_(width, height),
      shown_(std::make_shared<RasterCanvas>(width, height)) {}

Instrument& WebPage::At(double now_ms) {
  clock_ms_ = std::max(clock_ms_, now_ms);
  model_.AdvanceTo(Time(static_cast<Time::rep>(clock_ms_)));
  return model_;
}

WebPage::Next WebPage::Pump() {
  Next next;
  // A run that ends lets the instrument hand out the next one, as the
  // window's drawing loop takes one drawing after another.
  while (PumpTrace() || PumpDrawing(next)) {
  }
  return next;
}

bool WebPage::PumpTrace() {
  if (!trace_) {
    std::optional<TraceJob> job = model_.TakeTrace();
    if (!job) return false;
    trace_id_ = job->id;
    trace_.emplace(++runs_, std::move(job->picture), false);
    trace_begun_ms_ = clock_ms_;
  }
  TraceYields yields(trace_id_, model_);
  const PictureRun::State state = trace_->Run(yields);
  if (!Ended(state)) return false;
  if (model_.TraceEnded(OutcomeOf(state), trace_->Fault())) {
    shown_ = trace_->Canvas();
    repaint_ = true;
    last_trace_ms_ = clock_ms_ - trace_begun_ms_;
  }
  trace_.reset();
  return true;
}

bool WebPage::PumpDrawing(Next& next) {
  if (!drawing_) {
    std::optional<Picture> picture = model_.TakeDrawing();
    if (!picture) return false;
    // Drawn where it is seen, as the window draws on its own canvas.
    drawing_.emplace(++runs_, std::move(*picture), true);
    shown_ = drawing_->Canvas();
    repaint_ = true;
  }
  DrawingYields yields(model_);
  const PictureRun::State state = drawing_->Run(yields);
  if (drawing_->TakeDrawn() && shown_ == drawing_->Canvas()) repaint_ = true;
  switch (state) {
    case PictureRun::State::kFrame:
      next.frame = true;
      return false;
    case PictureRun::State::kWaiting:
      next.wake = drawing_->WaitsUntil();
      return false;
    case PictureRun::State::kTracing:
      return false;
    default:
      break;
  }
  model_.DrawingEnded(OutcomeOf(state));
  if (state == PictureRun::State::kFailed) next.failure = drawing_->Fault();
  drawing_.reset();
  return state != PictureRun::State::kFailed;
}

void WebPage::FrameCame() {
  if (drawing_) drawing_->FrameCame();
}

PictureRun* WebPage::Run(int run) {
  return drawing_ && drawing_->Id() == run ? &*drawing_
         : trace_ && trace_->Id() == run   ? &*trace_
                                           : nullptr;
}

void WebPage::Deliver(int run, int k, std::string_view bytes) {
  PictureRun* target = Run(run);
  if (target == nullptr) return;
  std::optional<TracedIndex> traced = FromBytes(bytes);
  if (!traced) {
    traced.emplace();
    traced->fault = "the page could not read what a worker traced";
  }
  target->Deliver(k, std::move(*traced));
}

void WebPage::TraceHere(int run, int k) {
  PictureRun* target = Run(run);
  if (target == nullptr) return;
  const RasterCanvas& canvas = *target->Canvas();
  target->Deliver(k, TraceIndex(*target->TracedScene(), canvas.Width(), canvas.Height(), k));
}

bool WebPage::TakeRepaint() { return std::exchange(repaint_, false); }

}  // namespace kaldra
