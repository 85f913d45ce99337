#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "instrument/instrument.h"
#include "scene/raster_canvas.h"
#include "web/picture_run.h"

namespace kaldra {

// The web page's side of the instrument, as the window is the Qt side: the
// instrument itself, the canvas on screen, and the drawing and the trace of
// an edit under way, each a PictureRun fed with the outer indices the page's
// workers trace. The page's script turns the browser's events into the
// instrument's commands, hands the runs' indices to its workers and back,
// paints the canvas and what the instrument says to show over it, and calls
// Pump after each of these.
class WebPage {
 public:
  WebPage(int width, int height);

  // The instrument, told the time first: milliseconds of the page's clock.
  Instrument& At(double now_ms);
  const Instrument& Model() const { return model_; }
  // The canvas the scenes are on, the window's: a picture may be larger.
  int Width() const { return width_; }
  int Height() const { return height_; }

  // What the page is to do once Pump has done what it could.
  struct Next {
    bool frame = false;        // the drawing waits for the next animation frame
    std::optional<Time> wake;  // the drawing waits until then (its pace)
    std::string failure;       // a run-time error stopped the drawing; nothing more is drawn
  };
  // Starts the drawing and the trace that the instrument wants, replays what
  // the workers have traced, and tells the instrument how runs ended, as
  // often as that lets something else go on.
  Next Pump();
  // The animation frame that the drawing waits for has come.
  void FrameCame();
  // A worker's record of index k of run `run`, which may have ended since.
  void Deliver(int run, int k, std::string_view bytes);
  // Traces index k of run `run` on the page's own thread and delivers it, as
  // a worker would have; nothing if the run has ended.
  void TraceHere(int run, int k);
  // The drawing and the trace under way, either none; their indices are to
  // be traced, the older run's first.
  const PictureRun* Drawing() const { return drawing_ ? &*drawing_ : nullptr; }
  const PictureRun* Trace() const { return trace_ ? &*trace_ : nullptr; }

  // The canvas on screen: the drawing's, or the last trace shown.
  const RasterCanvas& Shown() const { return *shown_; }
  // Whether it changed since the last call.
  bool TakeRepaint();
  // How long the last trace shown took, from the edit to its picture, in
  // milliseconds: what a drag waits for each picture.
  double LastTraceMs() const { return last_trace_ms_; }

 private:
  PictureRun* Run(int run);
  bool PumpTrace();
  bool PumpDrawing(Next& next);

  int width_;
  int height_;
  double clock_ms_ = 0;  // the page's clock, to the fraction of a millisecond
  Instrument model_;
  std::shared_ptr<RasterCanvas> shown_;
  bool repaint_ = true;
  int runs_ = 0;  // the last run's id
  std::optional<PictureRun> drawing_;
  std::optional<PictureRun> trace_;
  std::uint64_t trace_id_ = 0;
  double trace_begun_ms_ = 0;
  double last_trace_ms_ = 0;
};

}  // namespace kaldra
