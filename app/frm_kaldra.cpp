#include "app/frm_kaldra.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
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
#include "scene/draw_scene.h"
#include "scene/random_source.h"
#include "tracing/sweeps.h"

namespace kaldra {

namespace {

// The longest the drawing waits without handling input, so that End, closing
// the window and every key work within well under 100 ms while it is slowed
// or paused.
constexpr Time kWaitSlice{20};

// Handles input for `ms` milliseconds, returning when they are over.
void WaitHandlingEvents(Time ms) {
  QEventLoop loop;
  QTimer::singleShot(std::chrono::milliseconds(ms), &loop, &QEventLoop::quit);
  loop.exec();
}

void TellSeed(const SceneOrigin& origin) {
  // The seed goes to standard error so that a scene seen on screen can be
  // drawn again with the renderer.
  if (origin.seed) std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(*origin.seed));
}

}  // namespace

frmKaldra::WindowCanvas::WindowCanvas(frmKaldra& form)
    : ImageCanvas(kDefaultCanvasWidth, kDefaultCanvasHeight), form_(form) {}

bool frmKaldra::WindowCanvas::DoEvents() {
  form_.update();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return form_.model_.DrawingGoesOn();
}

bool frmKaldra::WindowCanvas::BeforePair(int i, int j) {
  Proceed proceed = form_.At().BeforePair(i, j);
  // The pair waited before is highlighted and named meanwhile.
  if (proceed.kind == Proceed::Kind::kWait) form_.update();
  for (; proceed.kind == Proceed::Kind::kWait; proceed = form_.At().Waited()) {
    const Time left = proceed.until ? *proceed.until - SteadyNow() : kWaitSlice;
    WaitHandlingEvents(std::clamp(left, Time(0), kWaitSlice));
  }
  return proceed.kind == Proceed::Kind::kGoOn;
}

frmKaldra::frmKaldra(std::function<void()> end_program, DesktopServices desktop)
    : end_program_(std::move(end_program)),
      desktop_(std::move(desktop)),
      canvas_(*this),
      menu_(*this, [this](WindowAction action) { Trigger(action); }),
      retrace_(kDefaultCanvasWidth, kDefaultCanvasHeight,
               [this](const QImage& picture, Outcome outcome, const std::string& error) {
                 // Handed to the user-interface thread, which alone touches the
                 // window; the picture is shared, not copied.
                 QMetaObject::invokeMethod(
                     this,
                     [this, picture, outcome, error = QString::fromStdString(error)] {
                       RetraceEnded(picture, outcome, error);
                     },
                     Qt::QueuedConnection);
               }) {
  setObjectName(QStringLiteral("frmKaldra"));
  setWindowTitle(QStringLiteral("Kaldra"));
  setWindowIcon(QIcon(QStringLiteral(":/kaldra/kaldra.svg")));
  setFixedSize(kDefaultCanvasWidth, kDefaultCanvasHeight);
  cmd_end_ = new QPushButton(QStringLiteral("End(&E)"), this);
  cmd_end_->setObjectName(QStringLiteral("cmdEnd"));
  cmd_end_->setGeometry(112, 8, 57, 25);
  // The button is the window's only control, so it is first in the focus
  // order and has the focus when the window opens.
  cmd_end_->setFocus();
  connect(cmd_end_, &QPushButton::clicked, this, &frmKaldra::cmdEnd_Click);
  cmd_end_->installEventFilter(this);
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

void frmKaldra::Form_Load() { Form_Load(ClockSeed()); }

void frmKaldra::Form_Load(std::uint32_t seed) {
  show();
  At().ShowSeed(seed);
  TellSeed(model_.Origin());
  Sync();
  DrawWanted();
}

void frmKaldra::Form_Load(std::string file_name, Scene scene) {
  show();
  At().ShowFile(std::move(file_name), std::move(scene));
  Sync();
  DrawWanted();
}

Instrument& frmKaldra::At() {
  model_.AdvanceTo(SteadyNow());
  return model_;
}

void frmKaldra::Sync() {
  retrace_.Want(model_.WantedTrace());
  if (std::optional<TraceJob> job = At().TakeTrace()) retrace_.Start(std::move(*job));
  menu_.Sync(model_);
  update();
}

void frmKaldra::DrawWanted() {
  if (model_.Drawing()) return;
  while (const SceneRef scene = model_.TakeDrawing()) {
    // Told however the drawing ends, a run-time error's way included.
    struct Ended {
      frmKaldra& form;
      Outcome outcome = Outcome::kFailed;
      ~Ended() {
        form.At().DrawingEnded(outcome);
        form.update();
      }
    } ended{*this};
    // Persistent drawing is on for the background, as when the window
    // opened, also when an abandoned drawing left it off.
    canvas_.AutoRedraw(true);
    DrawScene(*scene, canvas_);
    ended.outcome = TraceDiagram(*scene, canvas_).stopped ? Outcome::kStopped : Outcome::kFinished;
  }
}

void frmKaldra::DrawWantedFromHandler() {
  if (model_.Drawing()) return;
  if (const int status = RunLoadHandler(*this, [this] { DrawWanted(); }); status != 0) {
    QCoreApplication::exit(status);
  }
}

void frmKaldra::Trigger(WindowAction action) {
  switch (action) {
    case WindowAction::kNewScene:
      At().ShowSeed(ClockSeed());
      TellSeed(model_.Origin());
      break;
    case WindowAction::kCopySeed:
      desktop_.copy_text(QString::fromStdString(model_.CopyText()));
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
    case WindowAction::kQuit:
      EndProgram();
      break;
    default:
      At().Do(action);
      break;
  }
  if (action == WindowAction::kEditMode || action == WindowAction::kProbe) {
    // The pointer's place is needed for Delete and for the probe, also when
    // no button is down.
    setMouseTracking(model_.Editing() || model_.Probing());
    const QPointF at = mapFromGlobal(QCursor::pos().toPointF());
    At().PointAt(at.x(), at.y());
  }
  Sync();
  DrawWantedFromHandler();
}

void frmKaldra::RetraceEnded(const QImage& picture, Outcome outcome, const QString& error) {
  if (At().TraceEnded(outcome, error.toStdString())) canvas_.Adopt(picture);
  Sync();
}

void frmKaldra::cmdEnd_Click() { EndProgram(); }

void frmKaldra::EndProgram() {
  end_program_();
  // Reached only when the end action returns, as in tests: nothing more is
  // drawn.
  model_.End();
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
  PaintOverlay(painter, rect(), model_.OverCanvas());
}

void frmKaldra::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program like End, also while the diagram is
  // still being drawn: there is nothing to draw for once the window is gone.
  event->accept();
  EndProgram();
}

void frmKaldra::contextMenuEvent(QContextMenuEvent* event) {
  menu_.Sync(model_);
  // Delete segment from the menu deletes the segment clicked on.
  At().PointAt(event->pos().x(), event->pos().y());
  // Not exec(): the menu must not hold the drawing or the End button.
  menu_.Menu()->popup(event->globalPos());
}

void frmKaldra::leaveEvent(QEvent* /*event*/) {
  At().PointerLeft();
  Sync();
}

void frmKaldra::mousePressEvent(QMouseEvent* event) {
  if (!model_.Editing() || event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  At().Press(event->position().x(), event->position().y());
  Sync();
}

void frmKaldra::mouseMoveEvent(QMouseEvent* event) {
  At().MoveTo(event->position().x(), event->position().y());
  Sync();
}

void frmKaldra::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  At().Release(event->position().x(), event->position().y());
  Sync();
}

}  // namespace kaldra
