#include "qt_canvas/image_canvas.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace kaldra {

QColor ToQColor(Color color) { return QColor::fromRgb(ToArgbPixel(color)); }

std::string EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return bytes.toStdString();
}

ImageCanvas::ImageCanvas(int width, int height, CanvasStyle style) {
  Restart(width, height, style);
}

void ImageCanvas::Restart(int width, int height, CanvasStyle style) {
  image_ = QImage(width, height, QImage::Format_RGB32);
  image_.fill(Qt::black);
  AttachImage();
  style_ = style;
  unthickened_.clear();
  if (style_.point_size > 1) SetPlotSink(&unthickened_);
}

void ImageCanvas::ThickenPoints() {
  const int half = style_.point_size / 2;
  for (const PlotPoint& p : unthickened_) {
    // The pixel PSet wrote: the point landed on the image, so lround is in
    // range and rounds as PSet does.
    const int column = static_cast<int>(std::lround(p.x));
    const int row = static_cast<int>(std::lround(p.y));
    const QRgb pixel = ToArgbPixel(p.color);
    for (int y = std::max(row - half, 0); y <= std::min(row + half, image_.height() - 1); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int x = std::max(column - half, 0); x <= std::min(column + half, image_.width() - 1);
           ++x) {
        line[x] = pixel;
      }
    }
  }
  unthickened_.clear();
  // scanLine gave the image pixels of its own if they were shared.
  AttachImage();
}

void ImageCanvas::AttachImage() {
  // RGB32 keeps each pixel as 0xFFRRGGBB in one 32-bit word, the layout PSet
  // writes; bytesPerLine is a multiple of four for this format. bits() also
  // gives the canvas its own copy of pixels shared with another image.
  AttachSurface({reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
                 image_.bytesPerLine() / 4});
}

void ImageCanvas::Adopt(const QImage& picture) {
  image_ = picture.convertToFormat(QImage::Format_RGB32);
  AttachImage();
}

QFont ImageCanvas::LabelFont(int pixels) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

void ImageCanvas::BackColor(Color color) { image_.fill(ToQColor(color)); }

void ImageCanvas::Line(float x1, float y1, float x2, float y2) {
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(ToQColor(ForeColor()), style_.line_width));
  painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  SetCurrentPosition(x2, y2);
}

void ImageCanvas::Print(std::string_view text) {
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  const QFont font = LabelFont(style_.label_pixels);
  painter.setFont(font);
  painter.setPen(ToQColor(ForeColor()));
  // The text's top-left corner is the current position; drawText places the
  // baseline, one ascent lower.
  const QFontMetricsF metrics(font, &image_);
  painter.drawText(QPointF(CurrentX(), CurrentY() + metrics.ascent()),
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kaldra
