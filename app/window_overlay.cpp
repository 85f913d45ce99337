#include "app/window_overlay.h"

#include <algorithm>

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <QPainterPath>
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
// The probe's marks: its circle and the segments it finds the point between.
const QColor kProbeMark(235, 235, 235, 200);
const QColor kProbeHighlight(150, 110, 255, 120);
const QColor kPreview(255, 140, 0);

// Where a place on the canvas shows in the client area: through the view
// (its scale, zoom and offset in device pixels), then device pixels to the
// painter's. `centre`: canvas coordinates that put a pixel's centre at whole
// numbers, as the exact diagram's and the probe's do, where the widget puts
// its top-left corner.
struct ToClient {
  CanvasView view;
  double ratio;
  QPointF operator()(double x, double y, double centre = 0) const {
    return {view.ViewX(x + centre) / ratio, view.ViewY(y + centre) / ratio};
  }
  QPointF operator()(CanvasPoint p) const { return (*this)(p.x, p.y, 0.5); }
  QLineF operator()(const SegmentEnds& e) const {
    return {(*this)(e.x1, e.y1), (*this)(e.x2, e.y2)};
  }
  double Length(double d) const { return d * view.scale * view.zoom / ratio; }
};

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
void PaintLegend(QPainter& painter, const QRect& client, const std::vector<CurveFamily>& rows) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height() + 4;
  const int swatch = metrics.ascent() - 2;
  const int swatches_width = 4 * (swatch + 3) + 6;
  int text_width = 0;
  for (const CurveFamily& family : rows) {
    text_width = qMax(text_width, metrics.horizontalAdvance(LegendText(family)));
  }
  const QRect box(client.right() - (swatches_width + text_width + 20) - 8, client.top() + 8,
                  swatches_width + text_width + 20, static_cast<int>(rows.size()) * line + 12);
  PaintBox(painter, box);
  int y = box.top() + 6;
  for (const CurveFamily& family : rows) {
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

// The two segments of the pair being traced, under a wide translucent band.
void PaintPairHighlight(QPainter& painter, const ToClient& at, const SegmentEnds& first,
                        const SegmentEnds& second) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kHighlight, 6, Qt::SolidLine, Qt::RoundCap));
  for (const SegmentEnds& e : {first, second}) painter.drawLine(at(e));
  painter.restore();
}

// The segment being added, accepted or not, so the user sees what is tried.
void PaintPreview(QPainter& painter, const ToClient& at, const SegmentEnds& segment) {
  painter.save();
  painter.setPen(QPen(kPreview, 1, Qt::DashLine));
  painter.drawLine(at(segment));
  painter.restore();
}

// The exact diagram's edges as lines one pixel wide, opaque enough to stand
// out over the plotted points and translucent enough for them to show
// through: where the walk's samples thin out, they show as dots along a
// continuous line.
void PaintExactDiagram(QPainter& painter, const ToClient& at, const ExactLayer& layer) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  QColor colour = ToQColor(kExactDiagramColor);
  colour.setAlpha(180);
  painter.setPen(QPen(colour, 1));
  painter.setBrush(Qt::NoBrush);
  QPainterPath path;
  // The view only moves and scales, which keeps a Bezier curve one: its
  // points are mapped, the curve follows.
  for (const QuadCurve& c : layer.curves) {
    path.moveTo(at(c.from));
    path.quadTo(at(c.control), at(c.to));
  }
  painter.drawPath(path);
  painter.restore();
}

// Lines of text in a box beside the pointer, above and to the right of it,
// moved where the client area ends; a refusal's note takes the place below.
void PaintProbeText(QPainter& painter, const QRect& client, QPointF at, const QStringList& lines) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  QRect box(0, 0, width + 16, static_cast<int>(lines.size()) * metrics.height() + 8);
  box.moveBottomLeft(at.toPoint() + QPoint(16, -12));
  if (box.right() > client.right()) box.moveRight(at.toPoint().x() - 12);
  if (box.top() < client.top()) box.moveTop(at.toPoint().y() + 12);
  PaintBox(painter, box);
  painter.setPen(kBoxText);
  painter.drawText(box.adjusted(8, 4, -8, -4), Qt::AlignLeft | Qt::AlignVCenter, lines.join('\n'));
  painter.restore();
}

// The largest empty circle around the probe, a line to the nearest point of
// each nearest segment, and on the diagram those segments under a band.
void PaintProbe(QPainter& painter, const QRect& client, const ToClient& at,
                const Overlay& overlay) {
  const ProbeReading& probe = *overlay.probe;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kProbeHighlight, 6, Qt::SolidLine, Qt::RoundCap));
  for (const SegmentEnds& e : overlay.probe_highlight) {
    painter.drawLine(at(e.x1, e.y1, 0.5), at(e.x2, e.y2, 0.5));
  }
  painter.setPen(QPen(kProbeMark, 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  const double r = at.Length(probe.circle.radius);
  painter.drawEllipse(at(probe.at), r, r);
  painter.setPen(QPen(kProbeMark, 1));
  for (const SegmentDistance& s : probe.nearest) painter.drawLine(at(probe.at), at(s.nearest));
  painter.restore();
  QStringList lines;
  for (const std::string& line : overlay.probe_text) lines << QString::fromStdString(line);
  PaintProbeText(painter, client, at(probe.at), lines);
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

// Text twice as large, for a projector.
void Enlarge(QPainter& painter) {
  QFont font = painter.font();
  if (font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * 2);
  } else {
    font.setPixelSize(font.pixelSize() * 2);
  }
  painter.setFont(font);
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
  const ToClient at{overlay.view, ratio};
  if (overlay.large) Enlarge(painter);
  if (overlay.exact) PaintExactDiagram(painter, at, *overlay.exact);
  if (overlay.highlight)
    PaintPairHighlight(painter, at, overlay.highlight->first, overlay.highlight->second);
  if (overlay.preview) PaintPreview(painter, at, *overlay.preview);
  if (overlay.probe) PaintProbe(painter, client, at, overlay);
  if (!overlay.legend.empty()) PaintLegend(painter, client, overlay.legend);
  if (!overlay.note.empty()) {
    PaintNote(painter, client, at(overlay.note_x, overlay.note_y),
              QString::fromStdString(overlay.note));
  }
  if (!overlay.status.empty()) PaintStatus(painter, client, QString::fromStdString(overlay.status));
  if (!overlay.hint.empty()) PaintHint(painter, client, QString::fromStdString(overlay.hint));
}

}  // namespace kaldra
