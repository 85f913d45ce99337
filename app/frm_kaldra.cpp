#include "app/frm_kaldra.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QShortcutEvent>

#include "app/run_time_report.h"
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

Qt::CursorShape CursorOf(PointerShape shape) {
  switch (shape) {
    case PointerShape::kEnd:
      return Qt::PointingHandCursor;
    case PointerShape::kMiddle:
      return Qt::SizeAllCursor;
    case PointerShape::kEmpty:
      return Qt::CrossCursor;
    case PointerShape::kArrow:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

frmKaldra::WindowCanvas::WindowCanvas(frmKaldra& form)
    : ImageCanvas(kDefaultCanvasWidth, kDefaultCanvasHeight), form_(form) {}

bool frmKaldra::WindowCanvas::DoEvents() {
  ThickenPoints();
  form_.update();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return form_.model_.DrawingGoesOn();
}

bool frmKaldra::WindowCanvas::BeforePair(int i, int j) {
  Proceed proceed = form_.At().BeforePair(i, j);
  // The pair waited before is highlighted and named meanwhile.
  if (proceed.kind == Proceed::Kind::kWait) {
    ThickenPoints();
    form_.update();
  }
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
      retrace_([this](const QImage& picture, Outcome outcome, const std::string& error) {
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
  // The canvas's size to start with; larger, the picture is traced again at
  // a larger scale, smaller, it is shown smaller.
  resize(kDefaultCanvasWidth, kDefaultCanvasHeight);
  setMinimumSize(kDefaultCanvasWidth / 4, kDefaultCanvasHeight / 4);
  // The window takes the keys; the button only clicks (mouse or Alt+E), so
  // that Space, Enter or a stray key never ends the program.
  setFocusPolicy(Qt::StrongFocus);
  cmd_end_ = new QPushButton(QStringLiteral("End(&E)"), this);
  cmd_end_->setObjectName(QStringLiteral("cmdEnd"));
  cmd_end_->setGeometry(112, 8, 57, 25);
  cmd_end_->setFocusPolicy(Qt::NoFocus);
  connect(cmd_end_, &QPushButton::clicked, this, &frmKaldra::cmdEnd_Click);
  cmd_end_->installEventFilter(this);
  overlay_timer_.setSingleShot(true);
  connect(&overlay_timer_, &QTimer::timeout, this, [this] {
    At();
    update();
  });
  FitOnScreen();
}

void frmKaldra::FitOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The window manager places the window, so that two runs do not cover each
  // other. Only a screen too small for the canvas (a high-density one counts
  // fewer logical pixels) makes the window smaller, with room for a frame
  // whose size is not known before the window is shown.
  const QSize available = screen->availableGeometry().size();
  if (available.width() >= width() && available.height() >= height()) return;
  resize(std::min(width(), available.width() - 16), std::min(height(), available.height() - 48));
}

void frmKaldra::Form_Load() {
  show();
  At().ShowNewScene(ClockSeed());
  TellSeed(model_.Origin());
  Sync();
  DrawWanted();
}

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
  retrace_.Cancel(model_.TracesCancelledUpTo());
  if (std::optional<TraceJob> job = At().TakeTrace()) retrace_.Start(std::move(*job));
  menu_.Sync(model_);
  setWindowTitle(QString::fromStdString(model_.Caption()));
  if (const Qt::CursorShape shape = CursorOf(model_.Pointer()); cursor().shape() != shape) {
    setCursor(shape);
  }
  if (const std::optional<Time> at = model_.OverlayChangesAt()) {
    overlay_timer_.start(std::max(*at - SteadyNow(), Time(0)));
  } else {
    overlay_timer_.stop();
  }
  update();
}

void frmKaldra::DrawWanted() {
  if (model_.Drawing()) return;
  while (const std::optional<Picture> picture = model_.TakeDrawing()) {
    // Told however the drawing ends, a run-time error's way included.
    struct Ended {
      frmKaldra& form;
      Outcome outcome = Outcome::kFailed;
      ~Ended() {
        form.At().DrawingEnded(outcome);
        form.update();
      }
    } ended{*this};
    canvas_.Restart(picture->width, picture->height, picture->style);
    // Persistent drawing is on for the background, as when the window
    // opened, also when an abandoned drawing left it off.
    canvas_.AutoRedraw(true);
    DrawScene(*picture->drawn, canvas_);
    const bool stopped = TraceDiagram(*picture->drawn, canvas_).stopped;
    canvas_.ThickenPoints();
    ended.outcome = stopped ? Outcome::kStopped : Outcome::kFinished;
  }
}

void frmKaldra::DrawWantedFromHandler() {
  if (model_.Drawing()) return;
  if (const int status = RunLoadHandler(*this, [this] { DrawWanted(); }); status != 0) {
    QCoreApplication::exit(status);
  }
}

void frmKaldra::Trigger(WindowAction action) {
  // Every action counts as touching the window, also those done here.
  At().Do(action);
  switch (action) {
    case WindowAction::kNewScene:
      if (!ChangesMayGo()) break;
      At().ShowNewScene(ClockSeed());
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
      // Escape (or Ctrl+Q) during a drag only takes the drag back.
      if (!At().CancelDrag()) cmdEnd_Click();
      break;
    default:
      break;
  }
  if (action == WindowAction::kEditMode || action == WindowAction::kProbe) {
    // The pointer's place is needed for Delete and for the probe, also when
    // no button is down.
    setMouseTracking(model_.Editing() || model_.Probing());
    const QPointF at = InView(mapFromGlobal(QCursor::pos().toPointF()));
    At().PointAt(at.x(), at.y());
  }
  Sync();
  DrawWantedFromHandler();
}

void frmKaldra::RetraceEnded(const QImage& picture, Outcome outcome, const QString& error) {
  if (At().TraceEnded(outcome, error.toStdString())) canvas_.Adopt(picture);
  Sync();
}

void frmKaldra::cmdEnd_Click() {
  if (ChangesMayGo()) EndProgram();
}

void frmKaldra::WindowGone() {
  if (model_.Modified()) {
    std::fprintf(stderr, "kaldra: the window was closed from outside; the changes to %s are lost\n",
                 model_.SceneLabel().c_str());
  }
  EndProgram();
}

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

void frmKaldra::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program like End, also while the diagram is
  // still being drawn: there is nothing to draw for once the window is gone.
  if (!ChangesMayGo()) {
    event->ignore();
    return;
  }
  event->accept();
  EndProgram();
}

}  // namespace kaldra
