// The window in-process on Qt's offscreen platform: its fixed facts, the ways
// the user ends the program, what it shows, and the report of a run-time
// error. The end action is replaced by a recorder; that the real one ends the
// process at once is checked by real_window_test.sh.

#include "app/frm_kaldra.h"

#include <algorithm>
#include <cstdint>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "app/run_time_report.h"
#include "scene/generate_segments.h"
#include "scene/random_source.h"

namespace kaldra {

// How the user can end the program.
enum class Gesture { kClick, kAltE, kSpaceOnFocusedButton, kCloseWindow };

}  // namespace kaldra

Q_DECLARE_METATYPE(kaldra::Gesture)

namespace kaldra {
namespace {

// Scenes by seed: 3 segments for the quick cases, 17 (the most) to measure.
constexpr std::uint32_t kSmallSceneSeed = 9;
constexpr std::uint32_t kLargestSceneSeed = 4;

const QRect kEndButton(112, 8, 57, 25);

std::int16_t SegCountOfSeed(std::uint32_t seed) {
  SeededRandom random(seed);
  return SegCountFromRandom(random.Rnd());
}

void Perform(Gesture gesture, frmKaldra& form) {
  switch (gesture) {
    case Gesture::kClick:
      QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
      break;
    case Gesture::kAltE:
      QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
      break;
    case Gesture::kSpaceOnFocusedButton:
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
      break;
    case Gesture::kCloseWindow:
      form.close();
      break;
  }
}

// The pixels in which the picture shown differs from the canvas image,
// leaving out the End button, which is drawn over the canvas. `shown` may be
// scaled by a device pixel ratio; each canvas pixel must then fill its block.
int DifferingPixels(const QImage& shown, const QImage& canvas, int ratio) {
  int differing = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (kEndButton.contains(x, y)) continue;
      const QRgb expected = canvas.pixel(x, y);
      for (int dy = 0; dy < ratio; ++dy) {
        for (int dx = 0; dx < ratio; ++dx) {
          if (shown.pixel(x * ratio + dx, y * ratio + dy) != expected) ++differing;
        }
      }
    }
  }
  return differing;
}

}  // namespace

class FrmKaldraTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowHasItsCaptionAndFixedCentredClientArea();
  void EndButtonHasItsCaptionPlaceAndFirstFocus();
  void EveryWayOfEndingCallsTheEndAction_data();
  void EveryWayOfEndingCallsTheEndAction();
  void EndDuringTheDrawingIsHandledAtTheFirstYield_data();
  void EndDuringTheDrawingIsHandledAtTheFirstYield();
  void DiagramSurvivesRepaints();
  void PictureKeepsItsLogicalSizeAtAnyPixelRatio();
  void WindowIconIsBuiltIn();
  void RunTimeErrorIsShownAndEndsWithFailure();
  void LoadHandlerThatFinishesReportsNothing();
  void MeasureLongestOuterPass();
};

void FrmKaldraTest::WindowHasItsCaptionAndFixedCentredClientArea() {
  frmKaldra form([] {});
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));

  QCOMPARE(form.windowTitle(), QStringLiteral("Kaldra"));
  QCOMPARE(form.size(), QSize(788, 565));
  QCOMPARE(form.minimumSize(), QSize(788, 565));
  QCOMPARE(form.maximumSize(), QSize(788, 565));
  QCOMPARE(form.Canvas().Image().size(), QSize(788, 565));
  // The client area is centred: where the frame ends is up to the window
  // manager and not known before the window is shown.
  const QPoint screen_centre = form.screen()->availableGeometry().center();
  const QPoint window_centre = form.geometry().center();
  QVERIFY2((screen_centre - window_centre).manhattanLength() <= 1,
           qPrintable(QStringLiteral("window centre (%1, %2), screen centre (%3, %4)")
                          .arg(window_centre.x())
                          .arg(window_centre.y())
                          .arg(screen_centre.x())
                          .arg(screen_centre.y())));
}

void FrmKaldraTest::EndButtonHasItsCaptionPlaceAndFirstFocus() {
  frmKaldra form([] {});
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));

  auto* cmd_end = form.findChild<QPushButton*>(QStringLiteral("cmdEnd"));
  QVERIFY(cmd_end != nullptr);
  QCOMPARE(cmd_end, form.cmdEnd());
  QCOMPARE(cmd_end->text(), QStringLiteral("End(&E)"));
  QCOMPARE(cmd_end->geometry(), kEndButton);
  QVERIFY(cmd_end->isVisible());
  // First in the tab order: it holds the focus when the window opens, and Tab
  // from the window itself leads to it.
  QCOMPARE(QApplication::focusWidget(), cmd_end);
  QWidget* first = form.nextInFocusChain();
  while (first != &form && (first->focusPolicy() & Qt::TabFocus) == 0) {
    first = first->nextInFocusChain();
  }
  QCOMPARE(first, cmd_end);
}

void FrmKaldraTest::EveryWayOfEndingCallsTheEndAction_data() {
  QTest::addColumn<Gesture>("gesture");
  QTest::newRow("End clicked") << Gesture::kClick;
  QTest::newRow("Alt+E") << Gesture::kAltE;
  QTest::newRow("space on the focused button") << Gesture::kSpaceOnFocusedButton;
  QTest::newRow("window closed") << Gesture::kCloseWindow;
}

void FrmKaldraTest::EveryWayOfEndingCallsTheEndAction() {
  QFETCH(Gesture, gesture);
  int ends = 0;
  frmKaldra form([&ends] { ++ends; });
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));

  Perform(gesture, form);

  // At once: a button's access key would normally show the button pressed
  // for 100 ms first, and End must not wait.
  QCOMPARE(ends, 1);
}

// A click or a close request made before the drawing starts waits for the
// first yield of sweep 1 and is handled there, long before the sweeps have
// plotted their points. (The real end action never returns; the recorder
// does, so the drawing then runs on to its end.)
void FrmKaldraTest::EndDuringTheDrawingIsHandledAtTheFirstYield_data() {
  QTest::addColumn<Gesture>("gesture");
  QTest::newRow("End clicked") << Gesture::kClick;
  QTest::newRow("window closed") << Gesture::kCloseWindow;
}

void FrmKaldraTest::EndDuringTheDrawingIsHandledAtTheFirstYield() {
  QFETCH(Gesture, gesture);
  bool loaded = false;
  bool ended_while_loading = false;
  int ends = 0;
  std::uint64_t plotted_at_end = 0;
  const frmKaldra* form_seen = nullptr;
  frmKaldra form([&] {
    ++ends;
    ended_while_loading = !loaded;
    plotted_at_end = form_seen->Canvas().PixelsWritten();
  });
  form_seen = &form;
  QTimer::singleShot(0, &form, [&form, gesture] { Perform(gesture, form); });

  form.Form_Load(kSmallSceneSeed);
  loaded = true;

  QCOMPARE(ends, 1);
  QVERIFY(ended_while_loading);
  // By then only the count label and the segment labels had been set with
  // PSet; the diagram itself had not begun.
  QCOMPARE(plotted_at_end, std::uint64_t(1 + SegCountOfSeed(kSmallSceneSeed)));
  QVERIFY(form.Canvas().PixelsWritten() > plotted_at_end + 100);
}

// Everything, including the points plotted after the background was
// complete, stays in the one image, so what the window shows after it was
// hidden and shown again is exactly the canvas.
void FrmKaldraTest::DiagramSurvivesRepaints() {
  frmKaldra form([] {});
  form.Form_Load(kSmallSceneSeed);
  QVERIFY(!form.Canvas().AutoRedraw());
  form.hide();
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.repaint();

  // What the window system holds for the window; it catches up with the
  // repaint once the hide and show have been handled.
  const auto shown = [&form] {
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
  };
  const int ratio = qRound(form.devicePixelRatioF());
  QCOMPARE(shown().size(), QSize(788, 565) * ratio);
  QTRY_COMPARE(DifferingPixels(shown(), form.Canvas().Image(), ratio), 0);
}

// On a high-density screen the window keeps its size in device-independent
// pixels and each canvas pixel becomes a solid block, not a smoothed one.
// ctest runs this once more with QT_SCALE_FACTOR=2.
void FrmKaldraTest::PictureKeepsItsLogicalSizeAtAnyPixelRatio() {
  const int expected_ratio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                 ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR")
                                 : 1;
  frmKaldra form([] {});
  form.Form_Load(kSmallSceneSeed);

  const QPixmap shot = form.grab();
  QCOMPARE(qRound(shot.devicePixelRatio()), expected_ratio);
  QCOMPARE(form.size(), QSize(788, 565));
  QCOMPARE(shot.deviceIndependentSize().toSize(), QSize(788, 565));
  QCOMPARE(shot.size(), QSize(788, 565) * expected_ratio);
  const QImage shown = shot.toImage().convertToFormat(QImage::Format_RGB32);
  QCOMPARE(DifferingPixels(shown, form.Canvas().Image(), expected_ratio), 0);
}

void FrmKaldraTest::WindowIconIsBuiltIn() {
  QVERIFY(QFile::exists(QStringLiteral(":/kaldra/kaldra.svg")));
  frmKaldra form([] {});
  if (!QImageReader::supportedImageFormats().contains("svg")) {
    QSKIP("Qt's SVG support (Debian package libqt6svg6) is not installed");
  }
  const QPixmap icon = form.windowIcon().pixmap(QSize(32, 32));
  QVERIFY(!icon.isNull());
  // The icon's background is the canvas's black.
  QCOMPARE(icon.toImage().pixel(16, 2) & 0xFFFFFFu, 0u);
}

void FrmKaldraTest::RunTimeErrorIsShownAndEndsWithFailure() {
  frmKaldra form([] {});
  QString shown;
  QString title;
  // The message box is modal; this closes it once it is up.
  QTimer closer;
  closer.setInterval(10);
  connect(&closer, &QTimer::timeout, &form, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      title = box->windowTitle();
      box->accept();
    }
  });
  closer.start();

  const int status = RunLoadHandler(form, [&form] {
    form.show();
    throw RunTimeError("division by zero in PointBisector");
  });

  QCOMPARE(status, kRunTimeErrorStatus);
  QVERIFY(status != 0);
  QCOMPARE(title, QStringLiteral("Kaldra"));
  QVERIFY2(shown.contains(QStringLiteral("division by zero in PointBisector")), qPrintable(shown));
  QVERIFY2(shown.contains(QStringLiteral("run-time error")), qPrintable(shown));
}

void FrmKaldraTest::LoadHandlerThatFinishesReportsNothing() {
  frmKaldra form([] {});
  bool ran = false;
  QCOMPARE(RunLoadHandler(form, [&ran] { ran = true; }), 0);
  QVERIFY(ran);
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

// Not a check but a measurement: the longest time the largest scene keeps
// the window from handling input, that is the longest stretch between two
// yields (one outer pass of a sweep). A zero-interval timer fires on every
// yield.
void FrmKaldraTest::MeasureLongestOuterPass() {
  QCOMPARE(SegCountOfSeed(kLargestSceneSeed), std::int16_t{17});
  frmKaldra form([] {});
  QElapsedTimer clock;
  QList<qint64> yields;
  QTimer ticker;
  ticker.setInterval(0);
  connect(&ticker, &QTimer::timeout, &form, [&] { yields.push_back(clock.nsecsElapsed()); });
  ticker.start();
  clock.start();

  form.Form_Load(kLargestSceneSeed);

  const qint64 total = clock.nsecsElapsed();
  ticker.stop();
  qint64 longest = 0;
  for (qsizetype k = 1; k < yields.size(); ++k) {
    longest = std::max(longest, yields[k] - yields[k - 1]);
  }
  // The last pass of sweep 2 runs from the last yield to the end.
  if (!yields.isEmpty()) longest = std::max(longest, total - yields.back());
  qInfo(
      "17 segments: %lld yields, longest outer pass %.1f ms, first yield after %.1f ms, "
      "whole drawing %.1f ms",
      static_cast<long long>(yields.size()), static_cast<double>(longest) / 1e6,
      yields.isEmpty() ? 0.0 : static_cast<double>(yields.front()) / 1e6,
      static_cast<double>(total) / 1e6);
  QVERIFY(yields.size() >= 2 * (17 - 1));
}

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
