#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "app/background_trace.h"
#include "app/desktop_services.h"
#include "app/window_menu.h"
#include "instrument/instrument.h"
#include "qt_canvas/image_canvas.h"

namespace kaldra {

// The program's one window: the canvas with the End button at its top left, a
// view of the Instrument, which holds everything the window does. Its load
// handler draws the whole diagram, yielding to the window system once per
// outer pair index so that it repaints and End can be pressed. The actions of
// kWindowActions (keys and a context menu) draw other scenes, set the pace,
// step, save and copy; none of them changes anything until it is used. In
// edit mode the mouse moves, adds and deletes segments, and the diagram of
// each accepted position is traced on a worker thread and replaces the
// canvas when it is complete. The window may be resized: the instrument says
// at which scale the picture fills it. The window turns Qt's events into the
// instrument's commands, runs its drawings and traces, and paints what it
// says.
class frmKaldra : public QWidget {
  Q_OBJECT

 public:
  // `end_program` ends the process; tests replace it to watch for the call,
  // and the drawing in progress then stops. `desktop` gives the dialogs and
  // the clipboard.
  explicit frmKaldra(std::function<void()> end_program = EndProcessNow,
                     DesktopServices desktop = DesktopServices::Real());

  // Shows the window, seeds the random numbers from the clock, sets up the
  // scene and traces the diagram. Returns when the diagram is complete.
  void Form_Load();
  // The same with a seed asked for, so a scene can be reproduced.
  void Form_Load(std::uint32_t seed);
  // The same for a scene read from a file, named as the user named it.
  void Form_Load(std::string file_name, Scene scene);

  // End clicked: the program ends, once any changes are saved or given up.
  void cmdEnd_Click();
  // Another program destroyed the window: there is nothing left to ask in,
  // so the program ends at once.
  void WindowGone();

  QPushButton* cmdEnd() const { return cmd_end_; }
  const ImageCanvas& Canvas() const { return canvas_; }
  QAction* Action(WindowAction action) const { return menu_.Action(action); }
  QMenu* ContextMenu() const { return menu_.Menu(); }
  // What the window holds and shows.
  const Instrument& Model() const { return model_; }

  // Ends the process at once with status 0: nothing is pending, nothing is
  // saved, and no code of the load handler may run after End.
  static void EndProcessNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The canvas of the window: DoEvents shows what has been drawn and lets the
  // window system handle pending input; BeforePair holds the drawing at a slow
  // pace or a pause, handling input meanwhile. Both ask the instrument whether
  // the drawing goes on.
  class WindowCanvas : public ImageCanvas {
   public:
    explicit WindowCanvas(frmKaldra& form);
    bool DoEvents() override;
    bool BeforePair(int i, int j) override;

   private:
    frmKaldra& form_;
  };

  // The instrument, told the time first.
  Instrument& At();
  void Trigger(WindowAction action);
  // After every command: starts the trace the instrument wants next, passes
  // on the cancellations to the trace in flight, and shows the new state.
  void Sync();
  // Draws what the instrument asks for, one drawing after another, unless a
  // drawing is under way, which gives way at its next yield.
  void DrawWanted();
  // The same from an event handler, where a run-time error must not cross
  // Qt's frames: it is reported here and ends the event loop.
  void DrawWantedFromHandler();
  // Whether the scene may be replaced or the program end: nothing is
  // modified, or the user saved or discarded the changes when asked.
  bool ChangesMayGo();
  void EndProgram();
  void OpenScene();
  void SavePicture();
  void SaveScene();
  // The path chosen in the save dialog, its extension added when the name
  // has none; empty when cancelled or when that would replace a file nobody
  // chose.
  QString SavePath(const QString& caption, const QString& suggested, const QString& filter);
  // Writes the file whole or not at all; tells the user when it cannot.
  bool WriteFile(const QString& path, std::string contents);
  void FitOnScreen();
  // A point of the widget in the instrument's view: device pixels.
  QPointF InView(QPointF at) const { return at * devicePixelRatioF(); }
  void RetraceEnded(const QImage& picture, Outcome outcome, const QString& error);

  std::function<void()> end_program_;
  DesktopServices desktop_;
  Instrument model_{kDefaultCanvasWidth, kDefaultCanvasHeight};
  WindowCanvas canvas_;
  WindowMenu menu_;
  QPushButton* cmd_end_;
  QTimer overlay_timer_;  // the overlay changes by itself then (the hint goes)
  // Last, so that its worker stops before anything it reports to goes away.
  BackgroundTrace retrace_;
};

}  // namespace kaldra
