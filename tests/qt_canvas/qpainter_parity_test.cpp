// The core's raster canvas against QPainter, which drew the canvas's lines and
// text before (aliased one-pixel lines; DejaVu Sans at 12 px, unsmoothed):
// every pixel of every picture must be the same, so that the pictures of the
// window and the renderer stay as they were.

#include <cmath>
#include <random>

#include <QDir>
#include <QPainter>
#include <QtTest>

#include "qt_canvas/image_canvas.h"
#include "scene/scene_file.h"
#include "tools/renderer.h"

Q_DECLARE_METATYPE(kaldra::SceneChoice)

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

// The same drawing on both canvases; whether every pixel is the same.
template <typename Draw>
bool SameBothWays(int width, int height, Draw draw) {
  ImageCanvas raster(width, height);
  QPainterCanvas qt(width, height);
  draw(raster);
  draw(qt);
  return raster.Image() == qt.image_;
}

}  // namespace

class QPainterParityTest : public QObject {
  Q_OBJECT

 private slots:
  // Pictures of one random line (every direction) and one random label on a
  // canvas of side x 2/3 side, the coordinates in [-spread, 1 + spread] times
  // the canvas on a grid of 1/grid pixel (0: any float).
  void RandomLinesAndLabels_data() {
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("spread");
    QTest::addColumn<int>("side");
    QTest::newRow("whole pixels") << 1 << 0.1f << 60;
    QTest::newRow("half pixels") << 2 << 0.1f << 60;
    QTest::newRow("anywhere") << 0 << 0.1f << 60;
    QTest::newRow("short lines and points") << 4 << 0.1f << 3;
    QTest::newRow("across the edges") << 0 << 0.6f << 60;
    QTest::newRow("far off the canvas") << 0 << 3e4f << 60;
  }

  void RandomLinesAndLabels() {
    QFETCH(int, grid);
    QFETCH(float, spread);
    QFETCH(int, side);
    std::mt19937 random(19);
    float xy[4];  // x1, y1, x2, y2
    for (int n = 0; n < 3000; ++n) {
      for (int k = 0; k < 4; ++k) {
        const float v = std::uniform_real_distribution<float>(-spread, 1 + spread)(random);
        xy[k] = v * static_cast<float>(k % 2 == 0 ? side : side * 2 / 3);
        if (grid != 0) xy[k] = std::round(xy[k] * grid) / grid;
      }
      const auto draw = [&](Canvas& canvas) {
        canvas.ForeColor(kWhite);
        canvas.Line(xy[0], xy[1], xy[2], xy[3]);
        canvas.Print((n % 2 == 0 ? "N=" : "") + FormatNumber(n % 102));
      };
      QVERIFY2(SameBothWays(side, side * 2 / 3, draw), qPrintable(QString("picture %1").arg(n)));
    }
  }

  // The renderer's pictures of seeds 0-300, of seeds 0-9 up to four times as
  // large, and of the corpus's scenes: ends on the canvas's edges, 101
  // segments, ends off whole pixels, a drawing that faults (compared as far
  // as it was drawn).
  void Scenes_data() {
    QTest::addColumn<SceneChoice>("choice");
    QTest::addColumn<int>("scale");
    for (int seed = 0; seed <= 300; ++seed)
      for (int scale = 1; scale <= (seed < 10 ? 4 : 1); ++scale)
        QTest::addRow("seed %d at scale %d", seed, scale) << SceneChoice{seed, {}} << scale;
    const QDir corpus(KALDRA_SCENE_CORPUS);
    for (const QString& name : corpus.entryList({"ok-*.scene"})) {
      std::string text;
      QVERIFY(!ReadWholeFile(corpus.filePath(name).toStdString(), text));
      const auto read = ReadScene(text, kDefaultCanvasWidth, kDefaultCanvasHeight);
      QTest::addRow("%s", qPrintable(name)) << SceneChoice{{}, read.scene} << 1;
    }
  }

  void Scenes() {
    QFETCH(SceneChoice, choice);
    QFETCH(int, scale);
    const auto render = [&](Canvas& canvas) {
      try {
        RenderScene(canvas, choice, kDefaultCanvasWidth, kDefaultCanvasHeight, false, scale);
      } catch (const std::exception&) {  // a fault, or a larger scene refused
      }
    };
    QVERIFY(SameBothWays(kDefaultCanvasWidth * scale, kDefaultCanvasHeight * scale, render));
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::QPainterParityTest)
#include "qpainter_parity_test.moc"
