#include "qt_canvas/image_canvas.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include <QBuffer>
#include <QByteArray>

namespace kaldra {

namespace {

using SharedPixels = std::shared_ptr<std::uint32_t[]>;

// A QImage over the canvas's pixels that owns a share of them, released when
// the last copy of the image goes. RGB32 keeps each pixel as 0xFFRRGGBB in one
// 32-bit word, the canvas's layout.
QImage ViewOf(const SharedPixels& pixels, int width, int height) {
  auto* share = new SharedPixels(pixels);
  return QImage(
      reinterpret_cast<uchar*>(share->get()), width, height, static_cast<qsizetype>(width) * 4,
      QImage::Format_RGB32, [](void* info) { delete static_cast<SharedPixels*>(info); }, share);
}

}  // namespace

QColor ToQColor(Color color) { return QColor::fromRgb(ToArgbPixel(color)); }

std::string EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return bytes.toStdString();
}

ImageCanvas::ImageCanvas(int width, int height, CanvasStyle style)
    : RasterCanvas(width, height, style), image_(ViewOf(Pixels(), width, height)) {}

void ImageCanvas::Restart(int width, int height, CanvasStyle style) {
  RasterCanvas::Restart(width, height, style);
  image_ = ViewOf(Pixels(), width, height);
}

void ImageCanvas::Adopt(const QImage& picture) {
  if (picture.width() != Width() || picture.height() != Height())
    Restart(picture.width(), picture.height(), Style());
  const QImage same = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < Height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(same.constScanLine(y));
    std::copy_n(row, Width(), Pixels().get() + static_cast<std::ptrdiff_t>(y) * Width());
  }
}

}  // namespace kaldra
