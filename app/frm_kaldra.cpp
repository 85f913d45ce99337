#include "app/frm_kaldra.h"

#include <cstdio>
#include <cstdlib>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QShortcutEvent>
#include <QStyle>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "tracing/sweeps.h"

namespace kaldra {

frmKaldra::WindowCanvas::WindowCanvas(frmKaldra& form)
    : ImageCanvas(kClientWidth, kClientHeight), form_(form) {}

void frmKaldra::WindowCanvas::DoEvents() {
  form_.update();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

frmKaldra::frmKaldra(std::function<void()> end_program)
    : end_program_(std::move(end_program)), canvas_(*this) {
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
  // The client area is centred; the frame is the window manager's and its
  // size is not known before the window is shown.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
  }
}

void frmKaldra::Form_Load() { Form_Load(ClockSeed()); }

void frmKaldra::Form_Load(std::uint32_t seed) {
  show();
  // The seed goes to standard error so that a scene seen on screen can be
  // drawn again with the renderer.
  std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(seed));
  SeededRandom random(seed);
  const Scene scene = GenerateScene(random, kClientWidth, kClientHeight);
  DrawScene(scene, canvas_);
  update();
  TraceDiagram(scene, canvas_);
  update();
}

void frmKaldra::cmdEnd_Click() { end_program_(); }

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
}

void frmKaldra::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program like End, also while the diagram is
  // still being drawn: there is nothing to draw for once the window is gone.
  event->accept();
  end_program_();
}

}  // namespace kaldra
