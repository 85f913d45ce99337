// The Qt canvas: where PSet puts its pixels, and in which colour, in the image
// that the window shows and the renderer saves (lines and labels: the parity
// test against QPainter).

#include "qt_canvas/image_canvas.h"

#include <limits>

#include <QtTest>

#include "scene/color.h"

namespace kaldra {

class ImageCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  // PSet lights pixel (lround(x), lround(y)); a point whose pixel would lie off
  // the 788x565 canvas is not shown.
  void PSetRoundsToTheNearestPixel_data() {
    const QPoint hidden(-1, -1);
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("half rounds away from zero") << 10.5f << 21.5f << QPoint(11, 22);
    QTest::newRow("just left of the canvas") << -0.49f << 3.0f << QPoint(0, 3);
    QTest::newRow("half a pixel left") << -0.5f << 3.0f << hidden;
    QTest::newRow("last column") << 787.49f << 3.0f << QPoint(787, 3);
    QTest::newRow("right of the last column") << 787.5f << 3.0f << hidden;
    QTest::newRow("below the last row") << 3.0f << 564.5f << hidden;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 3.0f << hidden;
  }

  void PSetRoundsToTheNearestPixel() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QPoint, pixel);
    ImageCanvas canvas(788, 565);
    canvas.ForeColor(kYellow);
    canvas.PSet(x, y);
    QImage expected(788, 565, QImage::Format_RGB32);
    expected.fill(Qt::black);
    if (pixel.x() >= 0) expected.setPixel(pixel, qRgb(255, 255, 0));
    QCOMPARE(canvas.Image(), expected);
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::ImageCanvasTest)
#include "image_canvas_test.moc"
