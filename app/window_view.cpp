// The window as a view of the instrument's view: the picture painted where
// the instrument puts it, at the scale it chose for the window's size, the
// overlay over it, and the pointer's events in the view's device pixels.
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/frm_kaldra.h"
#include "app/window_overlay.h"

namespace kaldra {

void frmKaldra::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const CanvasView& view = model_.View();
  const double ratio = devicePixelRatioF();
  const double zoom = view.scale * view.zoom / ratio;
  // The picture in device pixels, one to one but while a picture at another
  // scale is still being traced, or the window is smaller than the canvas.
  const QRectF picture(view.left / ratio, view.top / ratio, kDefaultCanvasWidth * zoom,
                       kDefaultCanvasHeight * zoom);
  painter.fillRect(rect(), Qt::black);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, view.zoom < 1);
  painter.drawImage(picture, canvas_.Image());
  PaintOverlay(painter, rect(), model_.OverCanvas(), ratio);
}

void frmKaldra::resizeEvent(QResizeEvent* /*event*/) {
  const QPointF size = InView(QPointF(width(), height()));
  At().ResizeView(qRound(size.x()), qRound(size.y()));
  Sync();
  DrawWantedFromHandler();
}

void frmKaldra::contextMenuEvent(QContextMenuEvent* event) {
  // Delete segment from the menu deletes the segment clicked on.
  const QPointF at = InView(event->pos());
  At().PointAt(at.x(), at.y());
  Sync();
  // Not exec(): the menu must not hold the drawing or the End button.
  menu_.Menu()->popup(event->globalPos());
}

void frmKaldra::leaveEvent(QEvent* /*event*/) {
  At().PointerLeft();
  Sync();
}

void frmKaldra::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPointF at = InView(event->position());
  At().Press(at.x(), at.y());
  Sync();
}

void frmKaldra::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = InView(event->position());
  At().MoveTo(at.x(), at.y());
  Sync();
}

void frmKaldra::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const QPointF at = InView(event->position());
  At().Release(at.x(), at.y());
  Sync();
}

}  // namespace kaldra
