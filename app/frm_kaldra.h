#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include "app/background_trace.h"
#include "app/desktop_services.h"
#include "app/drawing_session.h"
#include "app/scene_edit.h"
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
// In edit mode the mouse moves, adds and deletes segments; every position
// goes through the scene builder, and the diagram of each accepted one is
// traced on a worker thread and replaces the canvas when it is complete.
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
  bool Editing() const { return editing_; }
  // Whether the diagram of the latest edit is still being traced.
  bool Retracing() const { return awaited_ != 0; }
  // Why the last position asked for was refused; empty when it was accepted.
  const QString& Refusal() const { return refusal_; }
  // The scene the window holds now: the one drawn, or the latest edit.
  const std::optional<Scene>& CurrentScene() const { return session_.CurrentScene(); }

  // Ends the process at once with status 0: nothing is pending, nothing is
  // saved, and no code of the load handler may run after End.
  static void EndProcessNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The canvas of the window: DoEvents shows what has been drawn and lets the
  // window system handle pending input; BeforePair holds the drawing at a slow
  // pace or a pause.
  class WindowCanvas : public ImageCanvas {
   public:
    explicit WindowCanvas(frmKaldra& form);
    bool DoEvents() override;
    bool BeforePair(int i, int j) override;

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
  void WriteFile(const QString& path, std::string contents);
  // "seed 7" or the file's name, for captions and suggested file names.
  QString SceneName() const;
  QString StatusText() const;
  void SyncMenu();
  void PlaceOnScreen();
  // Edit mode. A drag applies each position it passes; its release makes the
  // change one step of the history.
  void SetEditing(bool on);
  void DragTo(QPointF at);
  void EndDrag();
  void DeleteSegmentAt(QPointF at);
  void StepHistory(std::vector<EditedSegments>& from, std::vector<EditedSegments>& to);
  // Judges the segments; an accepted scene becomes current and is traced in
  // the background, a refused one leaves everything as it is but the reason
  // shown. `edited` is the segment changed, -1 for none in particular.
  bool ApplyEdit(const EditedSegments& segments, int edited);
  void RetraceFinished(std::uint64_t request, const Scene& scene, const QImage& picture,
                       const QString& error);

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

  // Edit mode.
  struct Drag {
    std::optional<Grab> grab;  // none: a new segment from the press point
    QPointF press;
    EditedSegments before;
  };
  bool editing_ = false;
  std::optional<Drag> drag_;
  std::vector<EditedSegments> undo_;
  std::vector<EditedSegments> redo_;
  QString refusal_;
  QPointF cursor_;                    // the last position of the mouse over the window
  std::optional<Scene> shown_scene_;  // the scene whose diagram is on the canvas
  std::uint64_t awaited_ = 0;         // the newest request traced in the background, 0 when none
  std::uint64_t shown_request_ = 0;   // the request whose picture is on the canvas
  std::uint64_t cancelled_upto_ = 0;  // requests up to this one are never shown
  // Last, so that its worker stops before anything it reports to goes away.
  BackgroundTrace retrace_;
};

}  // namespace kaldra
