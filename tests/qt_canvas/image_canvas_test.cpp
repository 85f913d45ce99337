// The Qt canvas: where PSet and Print put their pixels, and in which colour,
// in the image that the window shows and the renderer saves.

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

  // A label hangs right and down from where PSet left the position, in
  // unsmoothed glyphs (text placed by its baseline would start a whole line
  // higher).
  void PrintHangsRightAndDownFromThePosition() {
    ImageCanvas canvas(788, 565);
    canvas.ForeColor(kBlack);  // a black point only moves the position
    canvas.PSet(401.7f, 288.2f);
    canvas.ForeColor(kRed);
    canvas.Print(" 16 ");
    QRect bounds;
    for (int y = 0; y < 565; ++y) {
      for (int x = 0; x < 788; ++x) {
        const QRgb pixel = canvas.Image().pixel(x, y);
        if (pixel == qRgb(0, 0, 0)) continue;
        bounds |= QRect(x, y, 1, 1);
        QCOMPARE(pixel, qRgb(255, 0, 0));
      }
    }
    QVERIFY(bounds.left() >= 401 && bounds.left() <= 401 + 8);
    QVERIFY(bounds.top() >= 288 && bounds.top() <= 288 + 5);
    QVERIFY(bounds.bottom() <= 288 + 16);  // one line of a small font
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::ImageCanvasTest)
#include "image_canvas_test.moc"
