#pragma once

#include <string>

#include <QColor>
#include <QFont>
#include <QImage>

#include "scene/canvas.h"

namespace kaldra {

// The canvas as a picture in memory: the window shows it, the renderer saves
// it. PSet writes straight into the image's pixels; lines and text go through
// a QPainter, aliased, one pixel wide.
class ImageCanvas : public Canvas {
 public:
  ImageCanvas(int width, int height);

  void BackColor(Color color) override;
  void Line(float x1, float y1, float x2, float y2) override;
  void Print(std::string_view text) override;

  const QImage& Image() const { return image_; }
  // Takes over a finished picture of the same size drawn on another canvas,
  // so that a diagram traced elsewhere replaces this one in a single step.
  void Adopt(const QImage& picture);

  // The font of the count and of the segment labels.
  static QFont LabelFont();

 private:
  void AttachImage();

  QImage image_;
};

// The colour as Qt paints it, the canvas's pixel exactly.
QColor ToQColor(Color color);

// The picture as PNG data, as both programs save it; empty if Qt cannot
// encode it.
std::string EncodePng(const QImage& image);

}  // namespace kaldra
