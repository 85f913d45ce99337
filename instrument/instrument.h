#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "instrument/canvas_view.h"
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
// holds the diagram only. Places are on the canvas; `view` says where the
// canvas's picture stands in the view.
struct Overlay {
  CanvasView view;
  // The segments of the pair the drawing waits before, at a slow pace or paused.
  std::optional<std::pair<SegmentEnds, SegmentEnds>> highlight;
  // In edit mode, the segment being added, from the press to the pointer,
  // whether or not it is accepted: a dashed line.
  std::optional<SegmentEnds> preview;
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
  // The line at the bottom left: the pair, the pace, a pause, edit mode and
  // the pointer's place; empty when there is nothing to tell.
  std::string status;
  // In the status line's place for the first seconds of a run nobody has
  // touched yet: how to find everything else.
  std::string hint;
  bool large = false;  // projector mode: text for the back of the room
};

// What the pointer is over in edit mode, for its shape: an end (a drag moves
// it), a segment's middle (moves the segment), empty canvas (adds one).
enum class PointerShape { kArrow, kEnd, kMiddle, kEmpty };

// What a menu shows of an action at the moment, the same in every front end.
struct ActionState {
  // The entry's text as it reads now, '&' before its access key: the table's,
  // but Copy seed names a file when the scene is one's.
  const char* text = "";
  bool shown = true;    // edit mode's actions only in edit mode
  bool enabled = true;  // the steps while paused, undo and redo with a step to
                        // take, Copy with something to copy
  // For an action that turns something on or off, shown with a check mark:
  // whether it is on.
  std::optional<bool> checked;
};

// The answer to "save the changes first?", asked before they would be lost.
enum class SaveAnswer { kSave, kDiscard, kCancel };

// The window's behaviour without a window: the one owner of the scene and
// where it came from, the drawing in progress with its pace, pause and step,
// the scale and style of the picture in the view, edit mode with its
// operations and the undo history, the traces of edits and what becomes of
// them, and whether changes are saved. A front end turns its events into the
// commands below, runs the drawing and the traces where it likes (they are
// the heavy work), tells how they ended, and paints what the queries say. The
// instrument reads no clock (time enters through AdvanceTo), starts no thread,
// never blocks, and throws nothing to steer the front end: a drawing or a
// trace to abandon is the answer of a yield.
class Instrument {
 public:
  // How long a run nobody has touched shows the hint.
  static constexpr Time kHintTime{6000};

  // For a canvas of width x height pixels, in a view of the same size.
  Instrument(int width, int height) : width_(width), height_(height) {}

  // Time passes: what follows happens at `now`. Time never runs back.
  void AdvanceTo(Time now) { now_ = std::max(now_, now); }

  // A scene drawn from the start: a new random one (at start, or New scene),
  // the random scene of a seed asked for by name, or one read from a file.
  // The traces of edits are cancelled, a drag ends, the history is cleared.
  void ShowNewScene(std::uint32_t seed);
  void ShowSeed(std::uint32_t seed);
  void ShowFile(std::string file_name, Scene scene);
  // The actions the instrument carries out alone: redraw, the pace, pause and
  // the steps, legend, the exact diagram, the probe, projector mode, edit
  // mode, and in edit mode undo, redo and delete segment (the one at the
  // pointer). The others need the front end's desktop (files, the clipboard,
  // ending), and the queries below give what they need; they count as
  // touching the instrument all the same.
  void Do(WindowAction action);
  // The program ends: the drawing stops at its next yield, nothing more is
  // drawn.
  void End() { pace_.Stop(); }
  // The view is now width x height pixels: the picture is drawn or traced
  // again at the scale that fits it best.
  void ResizeView(int width, int height);

  // The pointer over the view: where it is (a context menu opened there,
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
  // Escape: a drag in progress goes back to where it started, and nothing
  // else happens. Returns whether there was one.
  bool CancelDrag();

  // The scene was saved to `file_name`: no longer modified, and named by that
  // file unless it is a seed's scene still.
  void SceneSaved(std::string file_name);
  // Whether the scene has changes since it was generated, read or saved.
  // While it has, a front end asks before anything replaces or ends it.
  bool Modified() const;
  // Whether what asked goes ahead once the user answered; after kSave, only
  // if the scene was saved (the file dialog may be cancelled, a write fail).
  bool GoesAheadAfter(SaveAnswer answer) const {
    return answer == SaveAnswer::kDiscard || (answer == SaveAnswer::kSave && !Modified());
  }

  // The drawing, which the front end runs: TakeDrawing gives the picture to
  // draw from the start; at every yield DrawingGoesOn, at every pair
  // BeforePair and then, while it says to wait, Waited; DrawingEnded at the
  // end, whatever the end.
  std::optional<Picture> TakeDrawing() { return pace_.Take(); }
  bool DrawingGoesOn() const { return pace_.GoesOn(); }
  Proceed BeforePair(int i, int j) { return pace_.BeforePair(i, j, now_); }
  Proceed Waited() const { return pace_.Waited(now_); }
  void DrawingEnded(Outcome outcome);

  // The traces of edits (and of the picture at another scale), which the
  // front end runs one at a time: TakeTrace gives the next, whose GoesOn the
  // front end asks at every yield with the latest TracesCancelledUpTo;
  // TraceEnded says whether to show its picture (a failure's error is told as
  // a refusal).
  std::optional<TraceJob> TakeTrace() { return retraces_.Take(); }
  std::uint64_t TracesCancelledUpTo() const { return retraces_.CancelledUpTo(); }
  bool TraceEnded(Outcome outcome, const std::string& error = {});

  // The scene: the one drawn, or the latest edit accepted.
  const SceneRef& CurrentScene() const { return scene_; }
  const SceneOrigin& Origin() const { return origin_; }
  const CanvasView& View() const { return view_; }
  bool Drawing() const { return pace_.Drawing(); }
  int PairDelayMs() const { return pace_.DelayMs(); }
  bool Paused() const { return pace_.Paused(); }
  bool LegendShown() const { return legend_; }
  bool Projector() const { return projector_; }
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
  // What the menu shows of `action` now.
  ActionState StateOf(WindowAction action) const;
  PointerShape Pointer() const;

  Overlay OverCanvas() const;
  // When the overlay changes without a command: the hint's end.
  std::optional<Time> OverlayChangesAt() const;
  // "Pace: full speed" or "Pace: 50 ms per pair", for the menu.
  std::string PaceLabel() const;
  // The names of the scene (scene_origin.h).
  std::string Caption() const { return kaldra::Caption(origin_, Modified()); }
  std::string SceneLabel() const { return kaldra::SceneLabel(origin_, Modified()); }
  std::string SceneName() const { return kaldra::SceneName(origin_, Modified()); }
  std::string CopyText() const { return kaldra::CopyText(origin_, Modified()); }
  // The seed that reproduces the scene: none for a file's scene or once
  // edited.
  std::optional<std::uint32_t> ReproducingSeed() const {
    return SeedsScene(origin_, Modified()) ? origin_.seed : std::nullopt;
  }
  // The scene as a scene file, with the seed while it is the seed's; none
  // when there is no scene or the text would not read back as exactly this
  // scene.
  std::optional<std::string> SceneFileText() const;

 private:
  struct Drag {
    std::optional<Grab> grab;  // none: a new segment from the press point
    double press_x, press_y;   // on the canvas
    EditedSegments before;
  };

  void Show(SceneOrigin origin, SceneRef scene);
  // Every change of the current scene passes here, so that the exact diagram
  // shown follows it.
  void SetScene(SceneRef scene);
  void FollowScene();
  // The scene drawn again from the start, its first `skip` pairs at once.
  void Redraw(int skip = 0);
  void StepBack();
  // The picture of the scene at the view's scale, in the style chosen.
  Picture PictureOf(const SceneRef& scene) const;
  // The scale or the style changed: the picture is made again.
  void Repicture();
  // The pointer at a point of the view.
  void SetPointer(double view_x, double view_y);
  void SetEditing(bool on);
  void DragTo();
  void EndDrag();
  void DeleteSegment();
  void StepHistory(std::vector<EditedSegments>& from, std::vector<EditedSegments>& to);
  // Judges the segments; an accepted scene becomes current and is traced, a
  // refused one leaves everything as it is but the reason. `edited` is the
  // segment changed, -1 for none in particular.
  bool ApplyEdit(const EditedSegments& segments, int edited);
  std::string StatusLine() const;
  // "full speed" or "50 ms per pair".
  std::string PaceWords() const;

  int width_;
  int height_;
  Time now_{};
  SceneRef scene_;
  SceneOrigin origin_;
  EditedSegments saved_;   // the segments as generated, read or saved last
  SceneRef canvas_scene_;  // the scene whose complete diagram is on the canvas
  CanvasView view_;
  bool projector_ = false;
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
  double pointer_x_ = 0;  // on the canvas
  double pointer_y_ = 0;
  std::optional<Time> hint_until_;
};

}  // namespace kaldra
