// The Qt canvas: what each drawing operation leaves in the image that the
// window shows and the renderer saves.

#include "app/image_canvas.h"

#include <cmath>
#include <limits>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QtTest>

#include "scene/color.h"

namespace kaldra {
namespace {

constexpr int kWidth = 788;
constexpr int kHeight = 565;
constexpr QRgb kBlackPixel = 0xFF000000u;

// Every pixel that is not black, with its colour.
struct Lit {
  QPoint at;
  QRgb pixel;
};

QList<Lit> LitPixels(const QImage& image) {
  QList<Lit> lit;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kBlackPixel) lit.push_back({{x, y}, image.pixel(x, y)});
    }
  }
  return lit;
}

QRect Bounds(const QList<Lit>& lit) {
  QRect bounds;
  for (const Lit& p : lit) bounds |= QRect(p.at, QSize(1, 1));
  return bounds;
}

}  // namespace

class ImageCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void BackColorClearsToTheColour_data();
  void BackColorClearsToTheColour();
  void LineIsOnePixelWideInTheForeColour_data();
  void LineIsOnePixelWideInTheForeColour();
  void PSetRoundsToTheNearestPixel_data();
  void PSetRoundsToTheNearestPixel();
  void PrintPutsTheTextsTopLeftAtThePosition_data();
  void PrintPutsTheTextsTopLeftAtThePosition();
};

// The colours are given in the drawing's byte order (red low) and must come
// out as the same colour in the image, whatever was on it before.
void ImageCanvasTest::BackColorClearsToTheColour_data() {
  QTest::addColumn<Color>("color");
  QTest::addColumn<QRgb>("expected");
  QTest::newRow("black") << kBlack << qRgb(0, 0, 0);
  QTest::newRow("white") << kWhite << qRgb(255, 255, 255);
  QTest::newRow("red") << kRed << qRgb(255, 0, 0);
  QTest::newRow("green") << kGreen << qRgb(0, 255, 0);
  QTest::newRow("blue") << kBlue << qRgb(0, 0, 255);
  QTest::newRow("cyan") << kCyan << qRgb(0, 255, 255);
  QTest::newRow("magenta") << kMagenta << qRgb(255, 0, 255);
  QTest::newRow("yellow") << kYellow << qRgb(255, 255, 0);
  QTest::newRow("mixed bytes") << Color{0x123456} << qRgb(0x56, 0x34, 0x12);
}

void ImageCanvasTest::BackColorClearsToTheColour() {
  QFETCH(Color, color);
  QFETCH(QRgb, expected);
  ImageCanvas canvas(kWidth, kHeight);
  canvas.ForeColor(kWhite);
  canvas.Line(0, 0, kWidth - 1, kHeight - 1);
  canvas.PSet(400, 300);

  canvas.BackColor(color);

  const QImage& image = canvas.Image();
  QCOMPARE(image.size(), QSize(kWidth, kHeight));
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) wrong += image.pixel(x, y) != expected ? 1 : 0;
  }
  QCOMPARE(wrong, 0);
}

// A segment must be drawn as a thin aliased line: one pixel per step along
// its longer axis, every pixel in the foreground colour (no blended edge
// pixels), none further than a pixel from the true line.
void ImageCanvasTest::LineIsOnePixelWideInTheForeColour_data() {
  QTest::addColumn<QPointF>("from");
  QTest::addColumn<QPointF>("to");
  QTest::newRow("horizontal") << QPointF(10, 20) << QPointF(60, 20);
  QTest::newRow("vertical") << QPointF(30, 15) << QPointF(30, 90);
  QTest::newRow("shallow") << QPointF(15.25f, 40.5f) << QPointF(700.75f, 210.25f);
  QTest::newRow("steep, right to left") << QPointF(500.5f, 20.25f) << QPointF(420.25f, 540.75f);
  QTest::newRow("diagonal") << QPointF(100, 100) << QPointF(200, 200);
}

void ImageCanvasTest::LineIsOnePixelWideInTheForeColour() {
  QFETCH(QPointF, from);
  QFETCH(QPointF, to);
  ImageCanvas canvas(kWidth, kHeight);
  canvas.BackColor(kBlack);
  canvas.ForeColor(kMagenta);
  canvas.Line(static_cast<float>(from.x()), static_cast<float>(from.y()),
              static_cast<float>(to.x()), static_cast<float>(to.y()));

  QCOMPARE(canvas.CurrentX(), static_cast<float>(to.x()));
  QCOMPARE(canvas.CurrentY(), static_cast<float>(to.y()));

  const QList<Lit> lit = LitPixels(canvas.Image());
  QVERIFY(!lit.isEmpty());
  const double dx = to.x() - from.x();
  const double dy = to.y() - from.y();
  const double length = std::hypot(dx, dy);
  const bool x_major = std::abs(dx) >= std::abs(dy);
  QMap<int, int> per_step;  // lit pixels per column (or row) along the line
  for (const Lit& p : lit) {
    QCOMPARE(p.pixel, qRgb(255, 0, 255));
    // Distance of the pixel's centre from the line through the two points.
    const double cross = (p.at.x() - from.x()) * dy - (p.at.y() - from.y()) * dx;
    QVERIFY2(
        std::abs(cross) / length <= 1.0,
        qPrintable(QStringLiteral("pixel (%1, %2) is off the line").arg(p.at.x()).arg(p.at.y())));
    ++per_step[x_major ? p.at.x() : p.at.y()];
  }
  for (auto it = per_step.cbegin(); it != per_step.cend(); ++it) {
    QVERIFY2(it.value() == 1,
             qPrintable(QStringLiteral("%1 pixels at step %2").arg(it.value()).arg(it.key())));
  }
  // No gaps: every step between the two ends has its pixel.
  const double lo = x_major ? std::min(from.x(), to.x()) : std::min(from.y(), to.y());
  const double hi = x_major ? std::max(from.x(), to.x()) : std::max(from.y(), to.y());
  QVERIFY(per_step.size() >= static_cast<int>(std::floor(hi - lo)));
}

// PSet lights the pixel lround(x), lround(y); a point whose pixel would lie
// outside the canvas is accepted and not shown.
void ImageCanvasTest::PSetRoundsToTheNearestPixel_data() {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const QPoint hidden(-1, -1);
  QTest::addColumn<float>("x");
  QTest::addColumn<float>("y");
  QTest::addColumn<QPoint>("pixel");
  QTest::newRow("whole") << 180.0f << 20.0f << QPoint(180, 20);
  QTest::newRow("just below a half") << 10.49f << 20.49f << QPoint(10, 20);
  QTest::newRow("half rounds away from zero") << 10.5f << 20.5f << QPoint(11, 21);
  QTest::newRow("odd half rounds away too") << 11.5f << 21.5f << QPoint(12, 22);
  QTest::newRow("just left of the canvas") << -0.49f << 3.0f << QPoint(0, 3);
  QTest::newRow("half a pixel left") << -0.5f << 3.0f << hidden;
  QTest::newRow("last column") << 787.49f << 3.0f << QPoint(787, 3);
  QTest::newRow("right of the last column") << 787.5f << 3.0f << hidden;
  QTest::newRow("last row") << 3.0f << 564.49f << QPoint(3, 564);
  QTest::newRow("below the last row") << 3.0f << 564.5f << hidden;
  QTest::newRow("far off") << 3.0e9f << -3.0e9f << hidden;
  QTest::newRow("not a number") << kNaN << 3.0f << hidden;
  QTest::newRow("infinite") << 3.0f << kInf << hidden;
}

void ImageCanvasTest::PSetRoundsToTheNearestPixel() {
  QFETCH(float, x);
  QFETCH(float, y);
  QFETCH(QPoint, pixel);
  ImageCanvas canvas(kWidth, kHeight);
  canvas.ForeColor(kYellow);

  canvas.PSet(x, y);

  const QList<Lit> lit = LitPixels(canvas.Image());
  if (pixel == QPoint(-1, -1)) {
    QCOMPARE(lit.size(), 0);
    QCOMPARE(canvas.PixelsWritten(), std::uint64_t{0});
  } else {
    QCOMPARE(lit.size(), 1);
    QCOMPARE(lit.front().at, pixel);
    QCOMPARE(lit.front().pixel, qRgb(255, 255, 0));
  }
  // The position moves even when nothing is shown.
  QCOMPARE(canvas.CurrentX(), x);
  QCOMPARE(canvas.CurrentY(), y);
}

// The count and the segment labels are printed where PSet left the position:
// the text hangs right and down from that point and never reaches above or
// left of it, in the foreground colour only (unsmoothed glyphs).
void ImageCanvasTest::PrintPutsTheTextsTopLeftAtThePosition_data() {
  QTest::addColumn<QPointF>("at");
  QTest::addColumn<QString>("text");
  QTest::newRow("count label") << QPointF(180, 20) << QStringLiteral("N= 12 ");
  QTest::newRow("segment label") << QPointF(401.7f, 288.2f) << QStringLiteral(" 0 ");
  QTest::newRow("two-digit label") << QPointF(15.5f, 540.5f) << QStringLiteral(" 16 ");
}

void ImageCanvasTest::PrintPutsTheTextsTopLeftAtThePosition() {
  QFETCH(QPointF, at);
  QFETCH(QString, text);
  ImageCanvas canvas(kWidth, kHeight);
  // A black point only moves the position, so every lit pixel is text.
  canvas.ForeColor(kBlack);
  canvas.PSet(static_cast<float>(at.x()), static_cast<float>(at.y()));
  canvas.ForeColor(kCyan);

  canvas.Print(text.toStdString());

  const QList<Lit> lit = LitPixels(canvas.Image());
  QVERIFY(!lit.isEmpty());
  for (const Lit& p : lit) QCOMPARE(p.pixel, qRgb(0, 255, 255));
  const QRect bounds = Bounds(lit);
  QVERIFY2(bounds.left() >= std::floor(at.x()) && bounds.top() >= std::floor(at.y()),
           qPrintable(QStringLiteral("text reaches (%1, %2), left of or above the position")
                          .arg(bounds.left())
                          .arg(bounds.top())));
  // Close to the position: the glyphs start within a few pixels of it (a
  // text placed by its baseline would start a whole line higher) and stay
  // within one line of a small font.
  QVERIFY(bounds.left() - at.x() <= 8);
  QVERIFY(bounds.top() - at.y() <= 5);
  QVERIFY(bounds.bottom() - at.y() <= 16);
  QVERIFY(bounds.right() - at.x() <= 10 * text.size());
}

}  // namespace kaldra

QTEST_MAIN(kaldra::ImageCanvasTest)
#include "image_canvas_test.moc"
