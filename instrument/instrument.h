#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "instrument/drawing_pace.h"
#include "instrument/exact_layer.h"
#include "instrument/probe.h"
#include "instrument/retrace_queue.h"
#include "instrument/scene_edit.h"
#include "instrument/scene_origin.h"
#include "instrument/window_actions.h"

namespace kaldra {

// A segment's ends, left end first.
struct SegmentEnds {
  double x1, y1, x2, y2;
};

// What a front end paints over the canvas, never into it, so that the canvas
// holds the diagram only.
struct Overlay {
  // The segments of the pair the drawing waits before, at a slow pace or paused.
  std::optional<std::pair<SegmentEnds, SegmentEnds>> highlight;
  // The exact diagram of the current scene, drawn as thin lines; null when
  // hidden. It follows every change of the scene, before the canvas does.
  std::shared_ptr<const ExactLayer> exact;
  // The probe at the pointer: the circle around it, the nearest points of the
  // nearest segments, and on the diagram those segments, highlighted; with
  // the reading in words next to the pointer.
  std::optional<ProbeReading> probe;
  std::vector<SegmentEnds> probe_highlight;
  std::vector<std::string> probe_text;
  // The rows of the legend, the families of curves and their colours, and
  // the exact diagram while it is shown; empty when the legend is hidden.
  std::vector<CurveFamily> legend;
  // In edit mode: why the last position asked for was refused, told next to
  // the pointer at (note_x, note_y).
  std::string note;
  double note_x = 0, note_y = 0;
  // The line at the bottom left: the pair, the pace, a pause, edit mode; empty
  // when there is nothing to tell.
  std::string status;
};

// The window's behaviour without a window: the one owner of the scene and
// where it came from, the drawing in progress with its pace and pause, edit
// mode with its operations and the undo history, the traces of edits and what
// becomes of them. A front end turns its events into the commands below, runs
// the drawing and the traces where it likes (they are the heavy work), tells
// how they ended, and paints what the queries say. The instrument reads no
// clock (time enters through AdvanceTo), starts no thread, never blocks, and
// throws nothing to steer the front end: a drawing or a trace to abandon is
// the answer of a yield.
class Instrument {
 public:
  // For a canvas of width x height pixels.
  Instrument(int width, int height) : width_(width), height_(height) {}

  // Time passes: what follows happens at `now`. Time never runs back.
  void AdvanceTo(Time now) { now_ = std::max(now_, now); }

  // The random scene of a seed (at start, or New scene with a seed of the
  // front end's choosing) or a scene read from a file, drawn from the start.
  // The traces of edits are cancelled, a drag ends, the history is cleared.
  void ShowSeed(std::uint32_t seed);
  void ShowFile(std::string file_name, Scene scene);
  // The actions the instrument carries out alone: redraw, the pace, pause,
  // legend, the exact diagram, the probe, edit mode, and in edit mode undo,
  // redo and delete segment (the one at the pointer). The others need the front end's desktop
  // (files, the clipboard, ending), and the queries below give what they need.
  void Do(WindowAction action);
  // The program ends: the drawing stops at its next yield, nothing more is
  // drawn.
  void End() { pace_.Stop(); }

  // The pointer over the canvas: where it is (a context menu opened there,
  // edit mode entered), where it moved, and the left button pressed and
  // released. In edit mode a press grabs an end, a segment's middle or empty
  // canvas (a new segment from there), every position of the drag is judged,
  // and its release makes the change one step of the history.
  void PointAt(double x, double y);
  void MoveTo(double x, double y);
  void Press(double x, double y);
  void Release(double x, double y);
  // The pointer left the canvas: the probe has nothing to read.
  void PointerLeft() { pointer_over_ = false; }

  // The drawing, which the front end runs: TakeDrawing gives the scene to
  // draw from the start; at every yield DrawingGoesOn, at every pair
  // BeforePair and then, while it says to wait, Waited; DrawingEnded at the
  // end, whatever the end.
  SceneRef TakeDrawing() { return pace_.Take(); }
  bool DrawingGoesOn() const { return pace_.GoesOn(); }
  Proceed BeforePair(int i, int j) { return pace_.BeforePair(i, j, now_); }
  Proceed Waited() const { return pace_.Waited(now_); }
  void DrawingEnded(Outcome outcome);

  // The traces of edits, which the front end runs one at a time: TakeTrace
  // gives the next, whose GoesOn the front end asks at every yield with the
  // latest WantedTrace; TraceEnded says whether to show its picture (a
  // failure's error is told as a refusal).
  std::optional<TraceJob> TakeTrace() { return retraces_.Take(now_); }
  std::uint64_t WantedTrace() const { return retraces_.Wanted(); }
  bool TraceEnded(Outcome outcome, const std::string& error = {});

  // The scene: the one drawn, or the latest edit accepted.
  const SceneRef& CurrentScene() const { return scene_; }
  const SceneOrigin& Origin() const { return origin_; }
  bool Drawing() const { return pace_.Drawing(); }
  int PairDelayMs() const { return pace_.DelayMs(); }
  bool Paused() const { return pace_.Paused(); }
  bool LegendShown() const { return legend_; }
  bool ExactShown() const { return exact_shown_; }
  // The exact diagram of the current scene while it is shown, else null.
  const ExactLayer* Exact() const { return exact_shown_ ? exact_.get() : nullptr; }
  bool Probing() const { return probing_; }
  // What the probe reads at the pointer, while it is on and the pointer is
  // over the canvas: during a drawing, paused and in edit mode alike, always
  // of the current scene.
  std::optional<ProbeReading> ProbeAtPointer() const;
  std::optional<std::pair<int, int>> WaitingPair() const { return pace_.WaitingPair(); }
  bool Editing() const { return editing_; }
  // Whether the diagram of the latest edit is still to be traced.
  bool Retracing() const { return retraces_.Awaiting(); }
  // Why the last position asked for was refused; empty when it was accepted.
  const std::string& Refusal() const { return refusal_; }
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  Overlay OverCanvas() const;
  // "Seed 9" or "Scene my.scene", for the menu.
  std::string SceneLabel() const;
  // "Pace: full speed" or "Pace: 50 ms per pair", for the menu.
  std::string PaceLabel() const;
  // "9", "my" or "stdin", for suggested file names.
  std::string SceneName() const;
  // The seed, or the file name, to copy.
  std::string CopyText() const;
  // The scene as a scene file, with the seed while it is a seed's; none when
  // there is no scene or the text would not read back as exactly this scene.
  std::optional<std::string> SceneFileText() const;

 private:
  struct Drag {
    std::optional<Grab> grab;  // none: a new segment from the press point
    double press_x, press_y;
    EditedSegments before;
  };

  void Show(SceneOrigin origin, SceneRef scene);
  // Every change of the current scene passes here, so that the exact diagram
  // shown follows it.
  void SetScene(SceneRef scene);
  void FollowScene();
  void Redraw();
  void SetEditing(bool on);
  void DragTo(double x, double y);
  void EndDrag();
  void DeleteSegment();
  void StepHistory(std::vector<EditedSegments>& from, std::vector<EditedSegments>& to);
  // Judges the segments; an accepted scene becomes current and is traced, a
  // refused one leaves everything as it is but the reason. `edited` is the
  // segment changed, -1 for none in particular.
  bool ApplyEdit(const EditedSegments& segments, int edited);
  std::string StatusLine() const;

  int width_;
  int height_;
  Time now_{};
  SceneRef scene_;
  SceneOrigin origin_;
  SceneRef canvas_scene_;  // the scene whose complete diagram is on the canvas
  DrawingPace pace_;
  RetraceQueue retraces_;
  bool legend_ = false;
  bool exact_shown_ = false;
  std::shared_ptr<const ExactLayer> exact_;  // of scene_ while shown; may be older while hidden
  bool probing_ = false;
  bool pointer_over_ = false;  // whether the pointer is over the canvas
  bool editing_ = false;
  std::optional<Drag> drag_;
  std::vector<EditedSegments> undo_;
  std::vector<EditedSegments> redo_;
  std::string refusal_;
  double pointer_x_ = 0;
  double pointer_y_ = 0;
};

}  // namespace kaldra
