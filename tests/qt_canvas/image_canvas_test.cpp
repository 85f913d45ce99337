// The Qt canvas: where PSet puts its pixels, and in which colour, in the image
// that the window shows and the renderer saves; and the core's lines and
// labels against QPainter, which drew them before (aliased one-pixel lines;
// DejaVu Sans at 12 px, unsmoothed): every pixel of every picture must be the
// same, so that the pictures of the window and the renderer stay as they were.

#include "qt_canvas/image_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include <QPainter>
#include <QtTest>

#include "scene/color.h"

namespace kaldra {

namespace {

// The canvas as it drew before: lines and text through QPainter.
class QPainterCanvas : public Canvas {
 public:
  QPainterCanvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
    AttachSurface({reinterpret_cast<std::uint32_t*>(image_.bits()), width, height, width});
    image_.fill(Qt::black);
  }
  void BackColor(Color color) override { image_.fill(ToQColor(color)); }
  void Line(float x1, float y1, float x2, float y2) override {
    QPainter painter(&image_);
    painter.setPen(QPen(ToQColor(ForeColor()), 1));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    SetCurrentPosition(x2, y2);
  }
  void Print(std::string_view text) override {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(ToQColor(ForeColor()));
    painter.drawText(QPointF(CurrentX(), CurrentY() + QFontMetricsF(font, &image_).ascent()),
                     QString::fromStdString(std::string(text)));
  }
  QImage image_;
};

}  // namespace

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

  // Pictures of one random line (every direction) and one random label on a
  // canvas of side x 2/3 side, the coordinates in [-spread, 1 + spread] times
  // the canvas on a grid of 1/grid pixel (0: any float); on the window's
  // canvas, lines as long as a scene's (a picture of a scene is nothing but
  // such lines and labels, and points that PSet plots alike on both).
  void SameAsQPainter_data() {
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("spread");
    QTest::addColumn<int>("side");
    QTest::newRow("whole pixels") << 1 << 0.1f << 60;
    QTest::newRow("half pixels") << 2 << 0.1f << 60;
    QTest::newRow("anywhere") << 0 << 0.1f << 60;
    QTest::newRow("short lines and points") << 4 << 0.1f << 3;
    QTest::newRow("across the edges") << 0 << 0.6f << 60;
    QTest::newRow("far off the canvas") << 0 << 3e4f << 60;
    QTest::newRow("the window's canvas") << 0 << 0.1f << 788;
  }

  void SameAsQPainter() {
    QFETCH(int, grid);
    QFETCH(float, spread);
    QFETCH(int, side);
    std::mt19937 random(19);
    float xy[4];  // x1, y1, x2, y2
    for (int n = 0; n < std::min(3000, 200000 / side); ++n) {
      for (int k = 0; k < 4; ++k) {
        const float v = std::uniform_real_distribution<float>(-spread, 1 + spread)(random);
        xy[k] = v * static_cast<float>(k % 2 == 0 ? side : side * 2 / 3);
        if (grid != 0) xy[k] = std::round(xy[k] * grid) / grid;
      }
      ImageCanvas raster(side, side * 2 / 3);
      QPainterCanvas qt(side, side * 2 / 3);
      for (Canvas* canvas : {static_cast<Canvas*>(&raster), static_cast<Canvas*>(&qt)}) {
        canvas->ForeColor(kWhite);
        canvas->Line(xy[0], xy[1], xy[2], xy[3]);
        canvas->Print((n % 2 == 0 ? "N=" : "") + FormatNumber(n % 102));
      }
      QVERIFY2(raster.Image() == qt.image_, qPrintable(QString("picture %1").arg(n)));
    }
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::ImageCanvasTest)
#include "image_canvas_test.moc"
