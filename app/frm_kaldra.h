#pragma once

#include <functional>

#include <QPushButton>
#include <QWidget>

#include "qt_canvas/image_canvas.h"

namespace kaldra {

// The client area, in pixels: the canvas and the drawing rectangle.
inline constexpr int kClientWidth = kDefaultCanvasWidth;
inline constexpr int kClientHeight = kDefaultCanvasHeight;

// The program's one window: the canvas with the End button at its top left.
// Its load handler draws the whole diagram, yielding to the window system
// once per outer pair index so that it repaints and End can be pressed.
class frmKaldra : public QWidget {
  Q_OBJECT

 public:
  // `end_program` ends the process; tests replace it to watch for the call.
  explicit frmKaldra(std::function<void()> end_program = EndProcessNow);

  // Shows the window, seeds the random numbers from the clock, sets up the
  // scene and traces the diagram. Returns when the diagram is complete.
  void Form_Load();
  // The same with a given seed, so a scene can be reproduced.
  void Form_Load(std::uint32_t seed);

  void cmdEnd_Click();

  QPushButton* cmdEnd() const { return cmd_end_; }
  const ImageCanvas& Canvas() const { return canvas_; }

  // Ends the process at once with status 0: nothing is pending, nothing is
  // saved, and no code of the load handler may run after End.
  static void EndProcessNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The canvas of the window: DoEvents shows what has been drawn and lets the
  // window system handle pending input.
  class WindowCanvas : public ImageCanvas {
   public:
    explicit WindowCanvas(frmKaldra& form);
    void DoEvents() override;

   private:
    frmKaldra& form_;
  };

  std::function<void()> end_program_;
  WindowCanvas canvas_;
  QPushButton* cmd_end_;
};

}  // namespace kaldra
