#include "instrument/instrument.h"

#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "scene/decimal_text.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scaled_scene.h"
#include "scene/scene_file.h"

namespace kaldra {

namespace {

SegmentEnds EndsOf(const Segment& s) { return {s.x1, s.y1, s.x2, s.y2}; }

// A coordinate for the status line: to a tenth of a pixel, whole pixels
// without a decimal point.
std::string Coordinate(double v) { return GeneralText(std::round(v * 10) / 10, 7); }

}  // namespace

void Instrument::ShowNewScene(std::uint32_t seed) {
  SeededRandom random(seed);
  Show({seed, false, {}}, std::make_shared<const Scene>(GenerateScene(random, width_, height_)));
}

void Instrument::ShowSeed(std::uint32_t seed) {
  ShowNewScene(seed);
  origin_.chosen = true;
}

void Instrument::ShowFile(std::string file_name, Scene scene) {
  Show({std::nullopt, false, std::move(file_name)},
       std::make_shared<const Scene>(std::move(scene)));
}

void Instrument::Show(SceneOrigin origin, SceneRef scene) {
  // The first scene of a run tells, for a while, where everything else is.
  if (!scene_) hint_until_ = now_ + kHintTime;
  undo_.clear();
  redo_.clear();
  origin_ = std::move(origin);
  SetScene(std::move(scene));
  saved_ = SegmentsOf(*scene_);
  Redraw();
}

void Instrument::SetScene(SceneRef scene) {
  scene_ = std::move(scene);
  FollowScene();
}

void Instrument::FollowScene() {
  // Built when shown, not with every edit made while it is hidden: a few
  // milliseconds on the largest scenes, each time.
  if (exact_shown_ && scene_ && (!exact_ || exact_->scene != scene_))
    exact_ = MakeExactLayer(scene_);
}

void Instrument::Redraw(int skip) {
  // The scene drawn replaces whatever an edit left to trace, and a drag in
  // progress, whose segments were those of the scene before.
  retraces_.Cancel();
  drag_.reset();
  refusal_.clear();
  pace_.Want(PictureOf(scene_), skip);
}

void Instrument::Do(WindowAction action) {
  hint_until_.reset();
  if (EditModeOnly(action) && !editing_) return;
  if (StepsWhilePaused(action) && (!pace_.Paused() || !scene_)) return;
  switch (action) {
    case WindowAction::kRedraw:
      Redraw();
      break;
    case WindowAction::kSlower:
      pace_.Slower();
      break;
    case WindowAction::kFaster:
      pace_.Faster();
      break;
    case WindowAction::kFullSpeed:
      pace_.FullSpeed();
      break;
    case WindowAction::kPause:
      pace_.TogglePause();
      break;
    case WindowAction::kStepForward:
      pace_.StepForward();
      break;
    case WindowAction::kStepBack:
      StepBack();
      break;
    case WindowAction::kStepToStart:
      Redraw();
      break;
    case WindowAction::kLegend:
      legend_ = !legend_;
      break;
    case WindowAction::kExactDiagram:
      exact_shown_ = !exact_shown_;
      FollowScene();
      break;
    case WindowAction::kProbe:
      probing_ = !probing_;
      break;
    case WindowAction::kProjector:
      projector_ = !projector_;
      Repicture();
      break;
    case WindowAction::kEditMode:
      SetEditing(!editing_);
      break;
    case WindowAction::kUndo:
      StepHistory(undo_, redo_);
      break;
    case WindowAction::kRedo:
      StepHistory(redo_, undo_);
      break;
    case WindowAction::kDeleteSegment:
      DeleteSegment();
      break;
    default:  // the front end's own
      break;
  }
}

void Instrument::StepBack() {
  // From a finished diagram, back to its last pair.
  const int done = pace_.GoesOn() ? pace_.PairsDone() : scene_->Count() * (scene_->Count() - 1);
  if (done > 0) Redraw(done - 1);
}

Picture Instrument::PictureOf(const SceneRef& scene) const {
  const int scale = view_.scale;
  Picture picture{scene,          scene,           scale,
                  width_ * scale, height_ * scale, StyleFor(scale, projector_)};
  if (scale == 1) return picture;
  std::string refusal;
  if (std::optional<Scene> scaled = ScaledScene(*scene, scale, refusal)) {
    picture.drawn = std::make_shared<const Scene>(std::move(*scaled));
    return picture;
  }
  // Rounding the products broke a near tie: the scene is drawn as it is,
  // and the view enlarges that picture instead.
  return {scene, scene, 1, width_, height_, StyleFor(1, projector_)};
}

void Instrument::ResizeView(int width, int height) {
  const CanvasView view = FitCanvas(width_, height_, width, height, kMaxSceneScale);
  const bool rescaled = view.scale != view_.scale;
  view_ = view;
  if (rescaled) Repicture();
}

void Instrument::Repicture() {
  if (!scene_) return;
  // A drawing goes on where it was, at the new scale; a finished picture is
  // traced again, away from the drawing, and shows meanwhile as it was.
  Picture picture = PictureOf(scene_);
  if (!pace_.Redo(picture)) {
    retraces_.Cancel();
    retraces_.Request(std::move(picture));
  }
}

void Instrument::SetPointer(double view_x, double view_y) {
  pointer_x_ = view_.CanvasX(view_x);
  pointer_y_ = view_.CanvasY(view_y);
  pointer_over_ = CanvasArea::Of(width_, height_).Contains({pointer_x_, pointer_y_});
}

void Instrument::PointAt(double x, double y) {
  hint_until_.reset();
  SetPointer(x, y);
}

void Instrument::MoveTo(double x, double y) {
  SetPointer(x, y);
  if (drag_) {
    DragTo();
  } else {
    // A refused deletion is told until the pointer moves on.
    refusal_.clear();
  }
}

void Instrument::Press(double x, double y) {
  hint_until_.reset();
  if (!editing_ || drag_ || !scene_) return;
  SetPointer(x, y);
  EditedSegments now = SegmentsOf(*scene_);
  const std::optional<Grab> grab = GrabAt(now, pointer_x_, pointer_y_);
  drag_ = Drag{grab, pointer_x_, pointer_y_, std::move(now)};
}

void Instrument::Release(double x, double y) {
  if (!drag_) return;
  SetPointer(x, y);
  DragTo();
  EndDrag();
}

bool Instrument::CancelDrag() {
  if (!drag_) return false;
  const EditedSegments before = std::move(drag_->before);
  drag_.reset();
  ApplyEdit(before, -1);
  refusal_.clear();
  return true;
}

void Instrument::SetEditing(bool on) {
  EndDrag();
  editing_ = on;
  refusal_.clear();
}

void Instrument::DragTo() {
  // Every position is the press's segments moved by the whole way from the
  // press, so no rounding accumulates along the drag.
  const double dx = pointer_x_ - drag_->press_x;
  const double dy = pointer_y_ - drag_->press_y;
  EditedSegments segments = drag_->before;
  int edited = static_cast<int>(segments.size());
  if (drag_->grab) {
    segments = Moved(std::move(segments), *drag_->grab, dx, dy);
    edited = drag_->grab->segment;
  } else if (dx == 0 && dy == 0) {
    return;  // no segment yet, rather than a refused vertical one
  } else {
    segments.push_back({drag_->press_x, drag_->press_y, pointer_x_, pointer_y_});
  }
  ApplyEdit(segments, edited);
}

void Instrument::EndDrag() {
  if (!drag_) return;
  // A press released where it was pressed changed nothing: no step.
  if (SegmentsOf(*scene_) != drag_->before) {
    undo_.push_back(std::move(drag_->before));
    redo_.clear();
  }
  drag_.reset();
  refusal_.clear();
}

void Instrument::DeleteSegment() {
  if (drag_ || !scene_) return;
  const EditedSegments before = SegmentsOf(*scene_);
  const std::optional<Grab> grab = GrabAt(before, pointer_x_, pointer_y_);
  if (!grab) return;
  // The segments after it move up one place, so the indices close up.
  EditedSegments segments = before;
  segments.erase(segments.begin() + grab->segment);
  if (ApplyEdit(segments, -1)) {
    undo_.push_back(before);
    redo_.clear();
  }
}

void Instrument::StepHistory(std::vector<EditedSegments>& from, std::vector<EditedSegments>& to) {
  if (drag_ || from.empty() || !scene_) return;
  EditedSegments now = SegmentsOf(*scene_);
  if (ApplyEdit(from.back(), -1)) {
    from.pop_back();
    to.push_back(std::move(now));
  }
}

bool Instrument::ApplyEdit(const EditedSegments& segments, int edited) {
  if (scene_ && SegmentsOf(*scene_) == segments) {
    refusal_.clear();
    return true;
  }
  EditVerdict verdict = JudgeSegments(segments, edited, width_, height_);
  if (!verdict.scene) {
    refusal_ = std::move(verdict.refusal);
    return false;
  }
  refusal_.clear();
  // A fresh scene still being drawn gives way to its edit.
  pace_.Stop();
  SetScene(std::make_shared<const Scene>(std::move(*verdict.scene)));
  retraces_.Request(PictureOf(scene_));
  return true;
}

void Instrument::SceneSaved(std::string file_name) {
  if (!scene_) return;
  // A seed's own scene keeps its seed, which its file records too.
  if (!SeedsScene(origin_, Modified())) origin_.file_name = std::move(file_name);
  saved_ = SegmentsOf(*scene_);
}

bool Instrument::Modified() const { return scene_ && SegmentsOf(*scene_) != saved_; }

void Instrument::DrawingEnded(Outcome outcome) {
  if (outcome == Outcome::kFinished) canvas_scene_ = pace_.Drawn().scene;
  // After a run-time error nothing more is drawn.
  if (outcome == Outcome::kFailed) pace_.Stop();
  pace_.Ended();
}

bool Instrument::TraceEnded(Outcome outcome, const std::string& error) {
  switch (retraces_.Ended(outcome)) {
    case RetraceQueue::Fate::kShow:
      canvas_scene_ = retraces_.JobPicture().scene;
      return true;
    case RetraceQueue::Fate::kRefuse:
      // A position whose diagram cannot be traced counts as refused: the
      // scene goes back to the one on the canvas.
      if (canvas_scene_) {
        SetScene(canvas_scene_);
        refusal_ = error;
      }
      return false;
    case RetraceQueue::Fate::kPassOver:
      break;
  }
  return false;
}

ActionState Instrument::StateOf(WindowAction action) const {
  ActionState state;
  state.text = InfoOf(action).menu_text;
  state.shown = !EditModeOnly(action) || editing_;
  if (StepsWhilePaused(action)) state.enabled = Paused();
  if (action == WindowAction::kUndo) state.enabled = CanUndo();
  if (action == WindowAction::kRedo) state.enabled = CanRedo();
  // An edited seed's scene has neither a seed nor a file that reproduces it.
  if (action == WindowAction::kCopySeed) {
    state.enabled = !CopyText().empty();
    if (!NamedBySeed(origin_)) state.text = "&Copy file name";
  }
  switch (action) {
    case WindowAction::kPause:
      state.checked = Paused();
      break;
    case WindowAction::kLegend:
      state.checked = legend_;
      break;
    case WindowAction::kEditMode:
      state.checked = editing_;
      break;
    case WindowAction::kExactDiagram:
      state.checked = exact_shown_;
      break;
    case WindowAction::kProbe:
      state.checked = probing_;
      break;
    case WindowAction::kProjector:
      state.checked = projector_;
      break;
    default:  // no check mark
      break;
  }
  return state;
}

PointerShape Instrument::Pointer() const {
  if (!editing_ || !scene_) return PointerShape::kArrow;
  const std::optional<Grab> grab = drag_ ? drag_->grab
                                         : GrabAt(SegmentsOf(*scene_), pointer_x_, pointer_y_);
  if (!grab) return PointerShape::kEmpty;
  return grab->part == Grab::Part::kWhole ? PointerShape::kMiddle : PointerShape::kEnd;
}

Overlay Instrument::OverCanvas() const {
  Overlay overlay;
  overlay.view = view_;
  if (const auto pair = pace_.WaitingPair()) {
    const Scene& drawn = *pace_.Drawn().scene;
    overlay.highlight = {EndsOf(drawn[pair->first]), EndsOf(drawn[pair->second])};
  }
  if (drag_ && !drag_->grab && (pointer_x_ != drag_->press_x || pointer_y_ != drag_->press_y))
    overlay.preview = {drag_->press_x, drag_->press_y, pointer_x_, pointer_y_};
  if (exact_shown_) overlay.exact = exact_;
  overlay.probe = ProbeAtPointer();
  if (overlay.probe) {
    if (overlay.probe->OnDiagram()) {
      for (const SegmentDistance& s : overlay.probe->nearest) {
        overlay.probe_highlight.push_back(EndsOf((*scene_)[s.segment]));
      }
    }
    overlay.probe_text = ProbeText(*overlay.probe);
  }
  if (legend_) {
    overlay.legend.assign(kCurveFamilies.begin(), kCurveFamilies.end());
    if (exact_shown_) overlay.legend.push_back(kExactDiagramRow);
  }
  if (editing_) {
    overlay.note = refusal_;
    overlay.note_x = pointer_x_;
    overlay.note_y = pointer_y_;
  }
  overlay.status = StatusLine();
  if (overlay.status.empty() && OverlayChangesAt()) overlay.hint = "right click for the menu";
  overlay.large = projector_;
  return overlay;
}

std::optional<ProbeReading> Instrument::ProbeAtPointer() const {
  if (!probing_ || !pointer_over_ || !scene_ || scene_->Count() == 0) return std::nullopt;
  return ReadProbe(*scene_, {pointer_x_, pointer_y_});
}

std::optional<Time> Instrument::OverlayChangesAt() const {
  if (hint_until_ && now_ < *hint_until_) return hint_until_;
  return std::nullopt;
}

std::string Instrument::StatusLine() const {
  std::string line;
  const auto add = [&line](const std::string& part) {
    line += (line.empty() ? "" : " \u00b7 ") + part;
  };
  const bool paced = pace_.Paced();
  if (const auto pair = pace_.WaitingPair(); paced && pair) {
    const int per_sweep = pace_.PairsPerSweep();
    add("sweep " + std::to_string(pace_.Sweep()) + ", pair " +
        std::to_string((pace_.PairsDone() % per_sweep) + 1) + " of " + std::to_string(per_sweep) +
        " (" + std::to_string(pair->first) + ", " + std::to_string(pair->second) + ")");
  }
  if (paced) add(PaceWords());
  if (Paused()) add("paused (Space resumes, \u2190 \u2192 step)");
  if (paced && !Drawing()) add("R redraws");
  if (editing_) {
    add("edit mode (D leaves)");
    add("(" + Coordinate(pointer_x_) + ", " + Coordinate(pointer_y_) + ")");
  }
  if (exact_shown_ && exact_ && !exact_->diagram) add("no exact diagram: " + exact_->problem);
  return line;
}

std::string Instrument::PaceWords() const {
  return PairDelayMs() == 0 ? "full speed" : std::to_string(PairDelayMs()) + " ms per pair";
}

std::string Instrument::PaceLabel() const { return "Pace: " + PaceWords(); }

std::optional<std::string> Instrument::SceneFileText() const {
  if (!scene_) return std::nullopt;
  return SavedSceneText(*scene_, ReproducingSeed());
}

}  // namespace kaldra
