#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include "app/desktop_services.h"
#include "app/drawing_session.h"
#include "app/window_actions.h"
#include "qt_canvas/image_canvas.h"

namespace kaldra {

// The client area, in pixels: the canvas and the drawing rectangle.
inline constexpr int kClientWidth = kDefaultCanvasWidth;
inline constexpr int kClientHeight = kDefaultCanvasHeight;

// The paces of the drawing: how long the window waits before each pair, in
// milliseconds. The first is full speed, where it does not wait at all.
inline constexpr std::array<int, 7> kPairDelaysMs = {0, 20, 50, 100, 250, 500, 1000};

// The program's one window: the canvas with the End button at its top left.
// Its load handler draws the whole diagram, yielding to the window system
// once per outer pair index so that it repaints and End can be pressed. The
// actions of kWindowActions (keys and a context menu) draw other scenes, set
// the pace, save and copy; none of them changes anything until it is used.
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
  // The same with a given seed, so a scene can be reproduced.
  void Form_Load(std::uint32_t seed);
  // The same for a seed's scene or a scene read from a file.
  void Form_Load(SceneOrigin origin);

  void cmdEnd_Click();

  QPushButton* cmdEnd() const { return cmd_end_; }
  const ImageCanvas& Canvas() const { return canvas_; }
  QAction* Action(WindowAction action) const { return actions_[static_cast<std::size_t>(action)]; }
  QMenu* ContextMenu() const { return menu_; }

  const SceneOrigin& Origin() const { return origin_; }
  bool Drawing() const { return drawing_; }
  int PairDelayMs() const { return kPairDelaysMs[static_cast<std::size_t>(pace_)]; }
  bool Paused() const { return paused_; }
  bool LegendShown() const { return legend_; }
  // The pair the drawing waits before, at a slow pace or paused.
  std::optional<std::pair<int, int>> WaitingPair() const { return pair_; }

  // Ends the process at once with status 0: nothing is pending, nothing is
  // saved, and no code of the load handler may run after End.
  static void EndProcessNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // The canvas of the window: DoEvents shows what has been drawn and lets the
  // window system handle pending input; BeforePair holds the drawing at a slow
  // pace or a pause.
  class WindowCanvas : public ImageCanvas {
   public:
    explicit WindowCanvas(frmKaldra& form);
    void DoEvents() override;
    void BeforePair(int i, int j) override;

   private:
    frmKaldra& form_;
  };

  void Trigger(WindowAction action);
  // Draws the scene now, or, while a drawing runs, has that drawing give way
  // to it at its next yield.
  void StartDrawing(SceneOrigin origin);
  void Draw(SceneOrigin origin);
  void WaitBeforePair(int i, int j);
  void ThrowIfAbandoned() const;
  void EndProgram();
  void OpenScene();
  void SavePicture();
  void SaveScene();
  // Writes the file whole or not at all; tells the user when it cannot.
  void WriteFile(const QString& path, const QByteArray& bytes);
  // "seed 7" or the file's name, for captions and suggested file names.
  QString SceneName() const;
  QString StatusText() const;
  void SyncMenu();
  void PlaceOnScreen();

  std::function<void()> end_program_;
  DesktopServices desktop_;
  WindowCanvas canvas_;
  DrawingSession session_{kClientWidth, kClientHeight};
  SceneOrigin origin_;                  // the scene on the canvas
  std::optional<SceneOrigin> pending_;  // the scene asked for while drawing
  bool drawing_ = false;
  bool abandon_ = false;  // the drawing gives way at its next yield
  int pace_ = 0;          // index into kPairDelaysMs
  bool paused_ = false;
  bool legend_ = false;
  std::optional<std::pair<int, int>> pair_;
  int pairs_announced_ = 0;  // in this drawing, both sweeps
  std::array<QAction*, kWindowActions.size()> actions_{};
  QMenu* menu_;
  QAction* scene_entry_;
  QAction* pace_entry_;
  QPushButton* cmd_end_;
};

}  // namespace kaldra
