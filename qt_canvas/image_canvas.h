#pragma once

#include <string>

#include <QColor>
#include <QImage>

#include "scene/raster_canvas.h"

namespace kaldra {

// The raster canvas seen as a QImage: the window shows it, the renderer saves
// it. Everything on it is drawn by the core (scene/raster_canvas.h); the image
// is a view of the same pixels, sharing them, so it shows every later drawing
// and stays valid after the canvas is gone.
class ImageCanvas : public RasterCanvas {
 public:
  ImageCanvas(int width, int height, CanvasStyle style = {});

  // A new black picture of width x height, drawn in `style` from now on.
  void Restart(int width, int height, CanvasStyle style);

  const QImage& Image() const { return image_; }
  // Takes over a finished picture drawn on another canvas, so that a diagram
  // traced elsewhere replaces this one in a single step; a picture of
  // another size (traced at another scale) makes the canvas that size.
  void Adopt(const QImage& picture);

 private:
  QImage image_;
};

// The colour as Qt paints it, the canvas's pixel exactly.
QColor ToQColor(Color color);

// The picture as PNG data, as both programs save it; empty if Qt cannot
// encode it.
std::string EncodePng(const QImage& image);

}  // namespace kaldra
