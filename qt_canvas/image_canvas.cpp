#include "qt_canvas/image_canvas.h"

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

ImageCanvas::ImageCanvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
  image_.fill(Qt::black);
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
  image_ = picture.convertToFormat(QImage::Format_RGB32).scaled(image_.size());
  AttachImage();
}

QFont ImageCanvas::LabelFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

void ImageCanvas::BackColor(Color color) { image_.fill(ToQColor(color)); }

void ImageCanvas::Line(float x1, float y1, float x2, float y2) {
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(ToQColor(ForeColor()), 1));
  painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  SetCurrentPosition(x2, y2);
}

void ImageCanvas::Print(std::string_view text) {
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  const QFont font = LabelFont();
  painter.setFont(font);
  painter.setPen(ToQColor(ForeColor()));
  // The text's top-left corner is the current position; drawText places the
  // baseline, one ascent lower.
  const QFontMetricsF metrics(font, &image_);
  painter.drawText(QPointF(CurrentX(), CurrentY() + metrics.ascent()),
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kaldra
