#include "instrument/instrument.h"

#include <memory>
#include <string>
#include <utility>

#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"

namespace kaldra {

namespace {

SegmentEnds EndsOf(const Segment& s) { return {s.x1, s.y1, s.x2, s.y2}; }

// The file's name without its folder.
std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

void Instrument::ShowSeed(std::uint32_t seed) {
  SeededRandom random(seed);
  Show({seed, {}}, std::make_shared<const Scene>(GenerateScene(random, width_, height_)));
}

void Instrument::ShowFile(std::string file_name, Scene scene) {
  Show({std::nullopt, std::move(file_name)}, std::make_shared<const Scene>(std::move(scene)));
}

void Instrument::Show(SceneOrigin origin, SceneRef scene) {
  undo_.clear();
  redo_.clear();
  origin_ = std::move(origin);
  SetScene(std::move(scene));
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

void Instrument::Redraw() {
  // The scene drawn replaces whatever an edit left to trace, and a drag in
  // progress, whose segments were those of the scene before.
  retraces_.Cancel();
  drag_.reset();
  refusal_.clear();
  pace_.Want(scene_);
}

void Instrument::Do(WindowAction action) {
  if (EditModeOnly(action) && !editing_) return;
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

void Instrument::PointAt(double x, double y) {
  pointer_x_ = x;
  pointer_y_ = y;
  pointer_over_ = CanvasArea::Of(width_, height_).Contains({x, y});
}

void Instrument::MoveTo(double x, double y) {
  PointAt(x, y);
  if (drag_) {
    DragTo(x, y);
  } else {
    // A refused deletion is told until the pointer moves on.
    refusal_.clear();
  }
}

void Instrument::Press(double x, double y) {
  if (!editing_ || drag_ || !scene_) return;
  PointAt(x, y);
  EditedSegments now = SegmentsOf(*scene_);
  const std::optional<Grab> grab = GrabAt(now, x, y);
  drag_ = Drag{grab, x, y, std::move(now)};
}

void Instrument::Release(double x, double y) {
  if (!drag_) return;
  PointAt(x, y);
  DragTo(x, y);
  EndDrag();
}

void Instrument::SetEditing(bool on) {
  EndDrag();
  editing_ = on;
  refusal_.clear();
}

void Instrument::DragTo(double x, double y) {
  // Every position is the press's segments moved by the whole way from the
  // press, so no rounding accumulates along the drag.
  const double dx = x - drag_->press_x;
  const double dy = y - drag_->press_y;
  EditedSegments segments = drag_->before;
  int edited = static_cast<int>(segments.size());
  if (drag_->grab) {
    segments = Moved(std::move(segments), *drag_->grab, dx, dy);
    edited = drag_->grab->segment;
  } else if (dx == 0 && dy == 0) {
    return;  // no segment yet, rather than a refused vertical one
  } else {
    segments.push_back({drag_->press_x, drag_->press_y, x, y});
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
  // The edited scene is no longer the seed's: it is saved without the seed,
  // and redrawn as it is now.
  if (origin_.seed) origin_.file_name = std::to_string(*origin_.seed) + "-edited";
  origin_.seed.reset();
  SetScene(std::make_shared<const Scene>(std::move(*verdict.scene)));
  retraces_.Request(scene_, now_);
  return true;
}

void Instrument::DrawingEnded(Outcome outcome) {
  if (outcome == Outcome::kFinished) canvas_scene_ = pace_.Drawn();
  // After a run-time error nothing more is drawn.
  if (outcome == Outcome::kFailed) pace_.Stop();
  pace_.Ended();
}

bool Instrument::TraceEnded(Outcome outcome, const std::string& error) {
  switch (retraces_.Ended(outcome, now_)) {
    case RetraceQueue::Fate::kShow:
      canvas_scene_ = retraces_.JobScene();
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

Overlay Instrument::OverCanvas() const {
  Overlay overlay;
  if (const auto pair = pace_.WaitingPair()) {
    const Scene& drawn = *pace_.Drawn();
    overlay.highlight = {EndsOf(drawn[pair->first]), EndsOf(drawn[pair->second])};
  }
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
  return overlay;
}

std::optional<ProbeReading> Instrument::ProbeAtPointer() const {
  if (!probing_ || !pointer_over_ || !scene_ || scene_->Count() == 0) return std::nullopt;
  return ReadProbe(*scene_, {pointer_x_, pointer_y_});
}

std::string Instrument::StatusLine() const {
  std::string line;
  const auto add = [&line](const std::string& part) {
    line += (line.empty() ? "" : " \u00b7 ") + part;
  };
  const bool paced = pace_.Paced();
  if (const auto pair = pace_.WaitingPair(); paced && pair) {
    add("sweep " + std::to_string(pace_.Sweep()) + ", pair (" + std::to_string(pair->first) + ", " +
        std::to_string(pair->second) + ")");
  }
  if (paced)
    add(PairDelayMs() == 0 ? "full speed" : std::to_string(PairDelayMs()) + " ms per pair");
  if (Paused()) add("paused (P resumes)");
  if (paced && !Drawing()) add("R redraws");
  if (editing_) add("edit mode (D leaves)");
  if (exact_shown_ && exact_ && !exact_->diagram) add("no exact diagram: " + exact_->problem);
  return line;
}

std::string Instrument::SceneLabel() const {
  return origin_.seed ? "Seed " + std::to_string(*origin_.seed)
                      : "Scene " + FileName(origin_.file_name);
}

std::string Instrument::PaceLabel() const {
  return PairDelayMs() == 0 ? "Pace: full speed"
                            : "Pace: " + std::to_string(PairDelayMs()) + " ms per pair";
}

std::string Instrument::SceneName() const {
  if (origin_.seed) return std::to_string(*origin_.seed);
  if (origin_.file_name == "-") return "stdin";
  // The name without its folder and its last extension.
  const std::string name = FileName(origin_.file_name);
  return name.substr(0, name.rfind('.'));
}

std::string Instrument::CopyText() const {
  return origin_.seed ? std::to_string(*origin_.seed) : origin_.file_name;
}

std::optional<std::string> Instrument::SceneFileText() const {
  if (!scene_) return std::nullopt;
  return SavedSceneText(*scene_, origin_.seed);
}

}  // namespace kaldra
