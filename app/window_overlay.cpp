#include "app/window_overlay.h"

#include <algorithm>

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <QPointF>
#include <QString>

#include "qt_canvas/image_canvas.h"
#include "tracing/curve_families.h"

namespace kaldra {

namespace {

// Dark and nearly opaque, so that the text stays readable over any curve.
const QColor kBoxFill(32, 32, 32, 230);
const QColor kBoxBorder(128, 128, 128);
const QColor kBoxText(230, 230, 230);
// Orange is no colour of the diagram.
const QColor kHighlight(255, 140, 0, 110);
const QColor kPreview(255, 140, 0);

// "Endpoint bisectors: cyan, magenta, yellow, red".
QString LegendText(const CurveFamily& family) {
  QStringList names;
  for (const Color c : family.colors) names << QString::fromUtf8(ColorName(c));
  return QString::fromUtf8(family.name) + QStringLiteral(": ") + names.join(QStringLiteral(", "));
}

void PaintBox(QPainter& painter, const QRect& box) {
  painter.setPen(kBoxBorder);
  painter.setBrush(kBoxFill);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
}

// A box at the top right naming each family of curves with its colours.
void PaintLegend(QPainter& painter, const QRect& client) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height() + 4;
  const int swatch = metrics.ascent() - 2;
  const int swatches_width = 4 * (swatch + 3) + 6;
  int text_width = 0;
  for (const CurveFamily& family : kCurveFamilies) {
    text_width = qMax(text_width, metrics.horizontalAdvance(LegendText(family)));
  }
  const int rows = static_cast<int>(kCurveFamilies.size());
  const QRect box(client.right() - (swatches_width + text_width + 20) - 8, client.top() + 8,
                  swatches_width + text_width + 20, rows * line + 12);
  PaintBox(painter, box);
  int y = box.top() + 6;
  for (const CurveFamily& family : kCurveFamilies) {
    int x = box.left() + 10;
    for (const Color colour : family.colors) {
      painter.fillRect(QRect(x, y + (line - swatch) / 2, swatch, swatch), ToQColor(colour));
      x += swatch + 3;
    }
    painter.setPen(kBoxText);
    painter.drawText(QRect(box.left() + 10 + swatches_width, y, text_width + 4, line),
                     Qt::AlignLeft | Qt::AlignVCenter, LegendText(family));
    y += line;
  }
  painter.restore();
}

QLineF Line(const SegmentEnds& e, double ratio) {
  return {e.x1 / ratio, e.y1 / ratio, e.x2 / ratio, e.y2 / ratio};
}

// The two segments of the pair being traced, under a wide translucent band.
void PaintPairHighlight(QPainter& painter, const SegmentEnds& first, const SegmentEnds& second,
                        double ratio) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kHighlight, 6, Qt::SolidLine, Qt::RoundCap));
  for (const SegmentEnds& e : {first, second}) painter.drawLine(Line(e, ratio));
  painter.restore();
}

// The segment being added, accepted or not, so the user sees what is tried.
void PaintPreview(QPainter& painter, const SegmentEnds& segment, double ratio) {
  painter.save();
  painter.setPen(QPen(kPreview, 1, Qt::DashLine));
  painter.drawLine(Line(segment, ratio));
  painter.restore();
}

// The hint in the status line's place: white on black with unsmoothed text,
// colours the canvas itself uses, so that it can stand over any picture.
void PaintHint(QPainter& painter, const QRect& client, const QString& text) {
  painter.save();
  QFont font = painter.font();
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect box(client.left() + 8, client.bottom() - metrics.height() - 16,
                  metrics.horizontalAdvance(text) + 20, metrics.height() + 8);
  painter.setPen(Qt::white);
  painter.setBrush(Qt::black);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.drawText(box, Qt::AlignCenter, text);
  painter.restore();
}

// One line of text in a box at the bottom left.
void PaintStatus(QPainter& painter, const QRect& client, const QString& text) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect box(client.left() + 8, client.bottom() - metrics.height() - 16,
                  metrics.horizontalAdvance(text) + 20, metrics.height() + 8);
  PaintBox(painter, box);
  painter.setPen(kBoxText);
  painter.drawText(box, Qt::AlignCenter, text);
  painter.restore();
}

// A short note in a box next to `at`, kept inside the client area.
void PaintNote(QPainter& painter, const QRect& client, QPointF at, const QString& text) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  QRect box(0, 0, metrics.horizontalAdvance(text) + 16, metrics.height() + 8);
  // Below and right of the cursor, clear of its arrow; moved left or up
  // where the client area ends.
  box.moveTopLeft(at.toPoint() + QPoint(16, 16));
  if (box.right() > client.right()) box.moveRight(std::max(client.left(), client.right()));
  if (box.bottom() > client.bottom()) box.moveBottom(at.toPoint().y() - 8);
  PaintBox(painter, box);
  painter.setPen(kBoxText);
  painter.drawText(box, Qt::AlignCenter, text);
  painter.restore();
}

}  // namespace

void PaintOverlay(QPainter& painter, const QRect& client, const Overlay& overlay, double ratio) {
  if (overlay.large) {
    QFont font = painter.font();
    if (font.pointSizeF() > 0) {
      font.setPointSizeF(font.pointSizeF() * 2);
    } else {
      font.setPixelSize(font.pixelSize() * 2);
    }
    painter.setFont(font);
  }
  if (overlay.highlight)
    PaintPairHighlight(painter, overlay.highlight->first, overlay.highlight->second, ratio);
  if (overlay.preview) PaintPreview(painter, *overlay.preview, ratio);
  if (overlay.legend) PaintLegend(painter, client);
  if (!overlay.note.empty()) {
    PaintNote(painter, client, QPointF(overlay.note_x / ratio, overlay.note_y / ratio),
              QString::fromStdString(overlay.note));
  }
  if (!overlay.status.empty()) PaintStatus(painter, client, QString::fromStdString(overlay.status));
  if (!overlay.hint.empty()) PaintHint(painter, client, QString::fromStdString(overlay.hint));
}

}  // namespace kaldra
