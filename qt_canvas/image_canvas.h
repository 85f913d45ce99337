#pragma once

#include <string>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>

#include "scene/canvas.h"
#include "scene/canvas_style.h"

namespace kaldra {

// The canvas as a picture in memory: the window shows it, the renderer saves
// it. PSet writes straight into the image's pixels; lines and text go through
// a QPainter, aliased, in the style's widths (one pixel by default).
class ImageCanvas : public Canvas {
 public:
  ImageCanvas(int width, int height, CanvasStyle style = {});

  // A new black picture of width x height, drawn in `style` from now on.
  void Restart(int width, int height, CanvasStyle style);

  void BackColor(Color color) override;
  void Line(float x1, float y1, float x2, float y2) override;
  void Print(std::string_view text) override;

  // In a style with points larger than a pixel: draws the points plotted
  // since the last call as blocks, in the order they were plotted, over the
  // single pixels PSet wrote. Call it before the image is shown or kept; in
  // the one-pixel style it has nothing to do. Such a canvas listens to its
  // own plot sink.
  void ThickenPoints();

  const QImage& Image() const { return image_; }
  // Takes over a finished picture drawn on another canvas, so that a diagram
  // traced elsewhere replaces this one in a single step.
  void Adopt(const QImage& picture);

  // The font of the count and of the segment labels, `pixels` high.
  static QFont LabelFont(int pixels = CanvasStyle().label_pixels);

 private:
  void AttachImage();

  QImage image_;
  CanvasStyle style_;
  std::vector<PlotPoint> unthickened_;  // plotted, not yet drawn as blocks
};

// The colour as Qt paints it, the canvas's pixel exactly.
QColor ToQColor(Color color);

// The picture as PNG data, as both programs save it; empty if Qt cannot
// encode it.
std::string EncodePng(const QImage& image);

}  // namespace kaldra
