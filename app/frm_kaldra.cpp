#include "app/frm_kaldra.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcutEvent>
#include <QStyle>
#include <QTimer>

#include "app/run_time_report.h"
#include "app/window_overlay.h"
#include "output_files/output_files.h"

namespace kaldra {

namespace {

// Thrown from a yield of the drawing when the user has asked for another
// scene (or ended the program); caught where the drawing started, which then
// draws the scene asked for. It never crosses a frame of Qt's: the yields
// throw it after the window system has returned.
struct DrawingAbandoned {};

// The longest the drawing waits without handling input, so that End, closing
// the window and every key work within well under 100 ms while it is slowed
// or paused.
constexpr int kWaitSliceMs = 20;

// Handles input for `ms` milliseconds, returning when they are over.
void WaitHandlingEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void TellSeed(const SceneOrigin& origin) {
  // The seed goes to standard error so that a scene seen on screen can be
  // drawn again with the renderer.
  if (origin.seed) std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(*origin.seed));
}

}  // namespace

frmKaldra::WindowCanvas::WindowCanvas(frmKaldra& form)
    : ImageCanvas(kClientWidth, kClientHeight), form_(form) {}

bool frmKaldra::WindowCanvas::DoEvents() {
  form_.update();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  form_.ThrowIfAbandoned();
  return true;
}

bool frmKaldra::WindowCanvas::BeforePair(int i, int j) {
  form_.WaitBeforePair(i, j);
  return true;
}

frmKaldra::frmKaldra(std::function<void()> end_program, DesktopServices desktop)
    : end_program_(std::move(end_program)),
      desktop_(std::move(desktop)),
      canvas_(*this),
      retrace_(kClientWidth, kClientHeight,
               [this](std::uint64_t request, const Scene& scene, const QImage& picture,
                      const std::string& error) {
                 // Handed to the user-interface thread, which alone touches the
                 // window; the picture is shared, not copied.
                 QMetaObject::invokeMethod(
                     this,
                     [this, request, scene, picture, error = QString::fromStdString(error)] {
                       RetraceFinished(request, scene, picture, error);
                     },
                     Qt::QueuedConnection);
               }) {
  setObjectName(QStringLiteral("frmKaldra"));
  setWindowTitle(QStringLiteral("Kaldra"));
  setWindowIcon(QIcon(QStringLiteral(":/kaldra/kaldra.svg")));
  setFixedSize(kClientWidth, kClientHeight);
  cmd_end_ = new QPushButton(QStringLiteral("End(&E)"), this);
  cmd_end_->setObjectName(QStringLiteral("cmdEnd"));
  cmd_end_->setGeometry(112, 8, 57, 25);
  // The button is the window's only control, so it is first in the focus
  // order and has the focus when the window opens.
  cmd_end_->setFocus();
  connect(cmd_end_, &QPushButton::clicked, this, &frmKaldra::cmdEnd_Click);
  cmd_end_->installEventFilter(this);

  for (const WindowActionInfo& info : kWindowActions) {
    auto* action = new QAction(QString::fromUtf8(info.menu_text), this);
    action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(info.keys)));
    action->setCheckable(info.action == WindowAction::kPause ||
                         info.action == WindowAction::kLegend ||
                         info.action == WindowAction::kEditMode);
    // A hidden action's key does nothing, so the edit keys wait for edit mode.
    action->setVisible(!EditModeOnly(info.action));
    connect(action, &QAction::triggered, this, [this, which = info.action] { Trigger(which); });
    addAction(action);
    actions_[static_cast<std::size_t>(info.action)] = action;
  }
  menu_ = new QMenu(this);
  scene_entry_ = menu_->addAction(QString());
  scene_entry_->setEnabled(false);
  menu_->addAction(Action(WindowAction::kCopySeed));
  menu_->addSeparator();
  menu_->addAction(Action(WindowAction::kNewScene));
  menu_->addAction(Action(WindowAction::kRedraw));
  menu_->addSeparator();
  pace_entry_ = menu_->addAction(QString());
  pace_entry_->setEnabled(false);
  for (const WindowAction a : {WindowAction::kSlower, WindowAction::kFaster,
                               WindowAction::kFullSpeed, WindowAction::kPause}) {
    menu_->addAction(Action(a));
  }
  menu_->addSeparator();
  for (const WindowAction a : {WindowAction::kOpenScene, WindowAction::kSavePicture,
                               WindowAction::kSaveScene, WindowAction::kCopyPicture}) {
    menu_->addAction(Action(a));
  }
  menu_->addSeparator();
  for (const WindowAction a : {WindowAction::kEditMode, WindowAction::kUndo, WindowAction::kRedo,
                               WindowAction::kDeleteSegment}) {
    menu_->addAction(Action(a));
  }
  menu_->addSeparator();
  menu_->addAction(Action(WindowAction::kLegend));
  menu_->addSeparator();
  menu_->addAction(Action(WindowAction::kQuit));
  PlaceOnScreen();
}

void frmKaldra::PlaceOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The client area is centred; the frame is the window manager's and its
  // size is not known before the window is shown.
  const QRect available = screen->availableGeometry();
  const QRect centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), available);
  if (available.contains(centred)) {
    setGeometry(centred);
    return;
  }
  // Larger than the screen (a high-density screen counts fewer logical
  // pixels): centring would push the title bar and the End button off it.
  // Before the window exists, move() places the frame's top-left corner, so
  // the title bar stays on the screen.
  move(std::max(centred.left(), available.left()), std::max(centred.top(), available.top()));
}

void frmKaldra::Form_Load() { Form_Load(NewRandomOrigin()); }

void frmKaldra::Form_Load(std::uint32_t seed) { Form_Load(SceneOrigin{seed, {}, {}}); }

void frmKaldra::Form_Load(SceneOrigin origin) {
  show();
  TellSeed(origin);
  Draw(std::move(origin));
}

void frmKaldra::Draw(SceneOrigin origin) {
  // The scene asked for replaces whatever an edit left to trace, and a drag
  // in progress, whose segments were those of the scene before.
  cancelled_upto_ = retrace_.Cancel();
  awaited_ = 0;
  drag_.reset();
  refusal_.clear();
  pending_ = std::move(origin);
  if (drawing_) {
    abandon_ = true;
    return;
  }
  drawing_ = true;
  // The drawing may also end by a run-time error; the window is idle after it
  // all the same.
  struct Idle {
    frmKaldra& form;
    ~Idle() {
      form.drawing_ = form.abandon_ = false;
      form.pending_.reset();
      form.pair_.reset();
      form.update();
    }
  } idle{*this};
  while (pending_) {
    origin_ = std::move(*pending_);
    pending_.reset();
    abandon_ = false;
    pair_.reset();
    pairs_announced_ = 0;
    try {
      session_.Draw(origin_, canvas_);
      shown_scene_ = session_.CurrentScene();
    } catch (const DrawingAbandoned&) {
      // pending_ holds the next scene, or nothing after End.
    }
  }
}

void frmKaldra::StartDrawing(SceneOrigin origin) {
  if (drawing_) {
    Draw(std::move(origin));
    return;
  }
  // Drawn from inside an event handler: a run-time error is reported here,
  // since it must not cross Qt's frames, and ends the program's event loop.
  if (const int status = RunLoadHandler(*this, [&] { Draw(std::move(origin)); }); status != 0) {
    QCoreApplication::exit(status);
  }
}

void frmKaldra::ThrowIfAbandoned() const {
  if (abandon_) throw DrawingAbandoned{};
}

void frmKaldra::WaitBeforePair(int i, int j) {
  ++pairs_announced_;
  if (pace_ == 0 && !paused_) {
    // Full speed: no wait and no yield, so the drawing is as fast as ever.
    pair_.reset();
    return;
  }
  pair_ = {i, j};
  update();
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  for (;;) {
    ThrowIfAbandoned();
    // The pace is read afresh each time, so a change applies to this pair.
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    const int left = PairDelayMs() - static_cast<int>(waited.count());
    if (!paused_ && left <= 0) return;
    WaitHandlingEvents(paused_ ? kWaitSliceMs : std::min(left, kWaitSliceMs));
  }
}

void frmKaldra::Trigger(WindowAction action) {
  switch (action) {
    case WindowAction::kNewScene: {
      undo_.clear();
      redo_.clear();
      SceneOrigin origin = NewRandomOrigin();
      TellSeed(origin);
      StartDrawing(std::move(origin));
      break;
    }
    case WindowAction::kRedraw:
      StartDrawing(origin_);
      break;
    case WindowAction::kSlower:
      pace_ = std::min(pace_ + 1, static_cast<int>(kPairDelaysMs.size()) - 1);
      break;
    case WindowAction::kFaster:
      pace_ = std::max(pace_ - 1, 0);
      break;
    case WindowAction::kFullSpeed:
      pace_ = 0;
      break;
    case WindowAction::kPause:
      paused_ = !paused_;
      break;
    case WindowAction::kCopySeed:
      desktop_.copy_text(origin_.seed ? QString::number(*origin_.seed)
                                      : QString::fromStdString(origin_.file_name));
      break;
    case WindowAction::kOpenScene:
      OpenScene();
      break;
    case WindowAction::kSavePicture:
      SavePicture();
      break;
    case WindowAction::kSaveScene:
      SaveScene();
      break;
    case WindowAction::kCopyPicture:
      desktop_.copy_image(canvas_.Image().copy());
      break;
    case WindowAction::kLegend:
      legend_ = !legend_;
      break;
    case WindowAction::kQuit:
      EndProgram();
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
      DeleteSegmentAt(cursor_);
      break;
  }
  SyncMenu();
  update();
}

void frmKaldra::OpenScene() {
  const QString path = desktop_.open_file_name(
      this, QStringLiteral("Open scene"), QStringLiteral("Kaldra scenes (*.scene);;All files (*)"));
  if (path.isEmpty()) return;
  SceneFileRead read = session_.ReadSceneFile(QFile::encodeName(path).toStdString());
  if (!read.origin) {
    // The scene on the canvas stays, and so does a drawing in progress.
    desktop_.tell_problem(this, QString::fromStdString(read.problem));
    return;
  }
  read.origin->file_name = path.toStdString();
  undo_.clear();
  redo_.clear();
  StartDrawing(std::move(*read.origin));
}

void frmKaldra::SavePicture() {
  // What is drawn so far, also while the drawing goes on.
  const QImage picture = canvas_.Image().copy();
  const QString path = desktop_.save_file_name(this, QStringLiteral("Save picture"),
                                               QStringLiteral("kaldra-%1.png").arg(SceneName()),
                                               QStringLiteral("PNG pictures (*.png)"));
  if (path.isEmpty()) return;
  std::string png = EncodePng(picture);
  if (png.empty()) {
    desktop_.tell_problem(this, QStringLiteral("The picture could not be encoded as PNG."));
    return;
  }
  WriteFile(path, std::move(png));
}

void frmKaldra::SaveScene() {
  const std::optional<std::string> text = session_.SceneText(origin_);
  if (!text) {
    desktop_.tell_problem(
        this, QStringLiteral("The scene text would not reproduce this scene; nothing was saved."));
    return;
  }
  const QString path = desktop_.save_file_name(this, QStringLiteral("Save scene"),
                                               QStringLiteral("kaldra-%1.scene").arg(SceneName()),
                                               QStringLiteral("Kaldra scenes (*.scene)"));
  if (!path.isEmpty()) WriteFile(path, *text);
}

void frmKaldra::WriteFile(const QString& path, std::string contents) {
  // As the renderer writes its outputs: a regular file whole or not at all, a
  // device or a pipe in place.
  if (auto problem = WriteOutputs({{QFile::encodeName(path).toStdString(), std::move(contents)}})) {
    desktop_.tell_problem(this, QString::fromStdString(*problem));
  }
}

QString frmKaldra::SceneName() const {
  if (origin_.seed) return QString::number(*origin_.seed);
  if (origin_.file_name == "-") return QStringLiteral("stdin");
  return QFileInfo(QString::fromStdString(origin_.file_name)).completeBaseName();
}

void frmKaldra::SyncMenu() {
  scene_entry_->setText(
      origin_.seed ? QStringLiteral("Seed %1").arg(*origin_.seed)
                   : QStringLiteral("Scene %1")
                         .arg(QFileInfo(QString::fromStdString(origin_.file_name)).fileName()));
  Action(WindowAction::kCopySeed)
      ->setText(origin_.seed ? QStringLiteral("&Copy seed") : QStringLiteral("&Copy file name"));
  pace_entry_->setText(pace_ == 0 ? QStringLiteral("Pace: full speed")
                                  : QStringLiteral("Pace: %1 ms per pair").arg(PairDelayMs()));
  Action(WindowAction::kPause)->setChecked(paused_);
  Action(WindowAction::kLegend)->setChecked(legend_);
  Action(WindowAction::kEditMode)->setChecked(editing_);
  for (const WindowActionInfo& info : kWindowActions) {
    if (EditModeOnly(info.action)) Action(info.action)->setVisible(editing_);
  }
  Action(WindowAction::kUndo)->setEnabled(!undo_.empty());
  Action(WindowAction::kRedo)->setEnabled(!redo_.empty());
}

QString frmKaldra::StatusText() const {
  const bool paced = pace_ != 0 || paused_;
  QStringList parts;
  if (paced && drawing_ && pair_) {
    const int n = session_.SegmentCount();
    const int sweep = pairs_announced_ <= n * (n - 1) / 2 ? 1 : 2;
    parts << QStringLiteral("sweep %1, pair (%2, %3)")
                 .arg(sweep)
                 .arg(pair_->first)
                 .arg(pair_->second);
  }
  if (paced) {
    parts << (pace_ == 0 ? QStringLiteral("full speed")
                         : QStringLiteral("%1 ms per pair").arg(PairDelayMs()));
  }
  if (paused_) parts << QStringLiteral("paused (P resumes)");
  if (paced && !drawing_) parts << QStringLiteral("R redraws");
  if (editing_) parts << QStringLiteral("edit mode (D leaves)");
  return parts.join(QStringLiteral(" \u00b7 "));
}

void frmKaldra::cmdEnd_Click() { EndProgram(); }

void frmKaldra::EndProgram() {
  end_program_();
  // Reached only when the end action returns, as in tests: nothing more is
  // drawn.
  pending_.reset();
  abandon_ = drawing_;
}

void frmKaldra::EndProcessNow() {
  std::fflush(nullptr);
  std::_Exit(0);
}

bool frmKaldra::eventFilter(QObject* watched, QEvent* event) {
  // Alt+E would show the button pressed for 100 ms before it clicks; End
  // clicks at once instead, like a mouse click on it.
  if (watched == cmd_end_ && event->type() == QEvent::Shortcut &&
      !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
    cmd_end_->click();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmKaldra::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // Scaled to the widget's logical size, so a high-density screen shows the
  // canvas at its size in device-independent pixels.
  painter.drawImage(rect(), canvas_.Image());
  // Everything else is painted over the picture, never into the canvas.
  if (pair_ && std::max(pair_->first, pair_->second) < session_.SegmentCount()) {
    const auto line = [this](int k) {
      const DrawingSession::Ends e = session_.SegmentEnds(k);
      return QLineF(e.x1, e.y1, e.x2, e.y2);
    };
    PaintPairHighlight(painter, line(pair_->first), line(pair_->second));
  }
  if (legend_) PaintLegend(painter, rect());
  if (editing_ && !refusal_.isEmpty()) PaintNote(painter, rect(), cursor_, refusal_);
  if (const QString status = StatusText(); !status.isEmpty()) PaintStatus(painter, rect(), status);
}

void frmKaldra::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program like End, also while the diagram is
  // still being drawn: there is nothing to draw for once the window is gone.
  event->accept();
  EndProgram();
}

void frmKaldra::contextMenuEvent(QContextMenuEvent* event) {
  SyncMenu();
  // Delete segment from the menu deletes the segment clicked on.
  cursor_ = event->pos();
  // Not exec(): the menu must not hold the drawing or the End button.
  menu_->popup(event->globalPos());
}

void frmKaldra::mousePressEvent(QMouseEvent* event) {
  if (!editing_ || drag_ || event->button() != Qt::LeftButton || !CurrentScene()) {
    QWidget::mousePressEvent(event);
    return;
  }
  cursor_ = event->position();
  EditedSegments now = SegmentsOf(*CurrentScene());
  const std::optional<Grab> grab = GrabAt(now, cursor_.x(), cursor_.y());
  drag_ = Drag{grab, cursor_, std::move(now)};
}

void frmKaldra::mouseMoveEvent(QMouseEvent* event) {
  cursor_ = event->position();
  if (drag_) {
    DragTo(cursor_);
  } else if (!refusal_.isEmpty()) {
    // A refused deletion is told until the mouse moves on.
    refusal_.clear();
    update();
  }
}

void frmKaldra::mouseReleaseEvent(QMouseEvent* event) {
  if (!drag_ || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  cursor_ = event->position();
  DragTo(cursor_);
  EndDrag();
}

void frmKaldra::SetEditing(bool on) {
  EndDrag();
  editing_ = on;
  refusal_.clear();
  // The cursor's place is needed for Delete, also when no button is down.
  setMouseTracking(on);
  cursor_ = mapFromGlobal(QCursor::pos().toPointF());
}

void frmKaldra::DragTo(QPointF at) {
  // Every position is the press's segments moved by the whole way from the
  // press, so no rounding accumulates along the drag.
  const QPointF way = at - drag_->press;
  EditedSegments segments = drag_->before;
  int edited = static_cast<int>(segments.size());
  if (drag_->grab) {
    segments = Moved(std::move(segments), *drag_->grab, way.x(), way.y());
    edited = drag_->grab->segment;
  } else if (way.isNull()) {
    return;  // no segment yet, rather than a refused vertical one
  } else {
    segments.push_back({drag_->press.x(), drag_->press.y(), at.x(), at.y()});
  }
  ApplyEdit(segments, edited);
}

void frmKaldra::EndDrag() {
  if (!drag_) return;
  if (SegmentsOf(*CurrentScene()) != drag_->before) {
    undo_.push_back(std::move(drag_->before));
    redo_.clear();
  }
  drag_.reset();
  refusal_.clear();
  SyncMenu();
  update();
}

void frmKaldra::DeleteSegmentAt(QPointF at) {
  if (drag_ || !CurrentScene()) return;
  const EditedSegments before = SegmentsOf(*CurrentScene());
  const std::optional<Grab> grab = GrabAt(before, at.x(), at.y());
  if (!grab) return;
  // The segments after it move up one place, so the indices close up.
  EditedSegments segments = before;
  segments.erase(segments.begin() + grab->segment);
  cursor_ = at;
  if (ApplyEdit(segments, -1)) {
    undo_.push_back(before);
    redo_.clear();
  }
}

void frmKaldra::StepHistory(std::vector<EditedSegments>& from, std::vector<EditedSegments>& to) {
  if (drag_ || from.empty() || !CurrentScene()) return;
  EditedSegments now = SegmentsOf(*CurrentScene());
  if (ApplyEdit(from.back(), -1)) {
    from.pop_back();
    to.push_back(std::move(now));
  }
}

bool frmKaldra::ApplyEdit(const EditedSegments& segments, int edited) {
  if (CurrentScene() && SegmentsOf(*CurrentScene()) == segments) {
    refusal_.clear();
    update();
    return true;
  }
  EditVerdict verdict = JudgeSegments(segments, edited, kClientWidth, kClientHeight);
  if (!verdict.scene) {
    refusal_ = QString::fromStdString(verdict.refusal);
    update();
    return false;
  }
  refusal_.clear();
  // A fresh scene still being drawn gives way to its edit.
  if (drawing_) {
    pending_.reset();
    abandon_ = true;
  }
  // The edited scene is no longer the seed's: it is saved without the seed,
  // and redrawn as it is now.
  if (origin_.seed) origin_.file_name = std::to_string(*origin_.seed) + "-edited";
  origin_.seed.reset();
  origin_.scene = verdict.scene;
  session_.Adopt(*verdict.scene);
  awaited_ = retrace_.Request(std::move(*verdict.scene));
  update();
  return true;
}

void frmKaldra::RetraceFinished(std::uint64_t request, const Scene& scene, const QImage& picture,
                                const QString& error) {
  // A picture older than the one shown, or of a scene since replaced, is not
  // shown.
  if (request <= std::max(cancelled_upto_, shown_request_)) return;
  const bool newest = request == awaited_;
  if (newest) awaited_ = 0;
  if (error.isEmpty()) {
    canvas_.Adopt(picture);
    shown_scene_ = scene;
    shown_request_ = request;
  } else if (newest && shown_scene_) {
    // A position whose diagram cannot be traced counts as refused: the scene
    // goes back to the one on the canvas. An older one is simply passed over.
    origin_.scene = shown_scene_;
    session_.Adopt(*shown_scene_);
    refusal_ = error;
  }
  SyncMenu();
  update();
}

}  // namespace kaldra
