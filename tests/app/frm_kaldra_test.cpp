// The window on Qt's offscreen platform, with a counter for the end action;
// real_window_test.sh checks that the real one ends the process, also mid-draw.

#include "app/frm_kaldra.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

#include "app/run_time_report.h"

namespace kaldra {

class FrmKaldraTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowFactsAndEveryWayOfEnding();
  void DiagramSurvivesRepaints();
  void RunTimeErrorIsReportedAndEndsWithItsStatus();
};

// The caption, the fixed client area centred on the screen, the End button
// with its caption and place, holding the focus when the window opens; and End
// clicked, Alt+E and closing the window each call the end action, at once (a
// button's access key would show it pressed for 100 ms first).
void FrmKaldraTest::WindowFactsAndEveryWayOfEnding() {
  int ends = 0;
  frmKaldra form([&ends] { ++ends; });
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(form.windowTitle(), QStringLiteral("Kaldra"));
  QCOMPARE(form.minimumSize(), QSize(788, 565));
  QCOMPARE(form.maximumSize(), QSize(788, 565));
  const QPoint off_centre = form.geometry().center() - form.screen()->availableGeometry().center();
  QVERIFY(off_centre.manhattanLength() <= 1);  // a half pixel either way
  QCOMPARE(form.cmdEnd()->text(), QStringLiteral("End(&E)"));
  QCOMPARE(form.cmdEnd()->geometry(), QRect(112, 8, 57, 25));
  QCOMPARE(QApplication::focusWidget(), form.cmdEnd());
  QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
  QCOMPARE(ends, 1);
  QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
  QCOMPARE(ends, 2);
  form.close();
  QCOMPARE(ends, 3);
}

// Everything, the points plotted after the background was complete too, stays
// in the one image, so a repaint shows exactly the canvas; on a screen of
// device pixel ratio 2 (ctest's second run) each canvas pixel a solid block.
void FrmKaldraTest::DiagramSurvivesRepaints() {
  frmKaldra form([] {});
  form.Form_Load(9);  // three segments
  QVERIFY(!form.Canvas().AutoRedraw());
  const int ratio = qMax(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
  const QImage& canvas = form.Canvas().Image();
  form.cmdEnd()->hide();  // drawn over the canvas by the widget style
  QImage shown = form.grab().toImage().convertToFormat(canvas.format());
  shown.setDevicePixelRatio(1);
  QCOMPARE(shown, canvas.scaled(canvas.size() * ratio));
}

// The window's run-time error ends with the renderer's status for one, after
// the message box is closed.
void FrmKaldraTest::RunTimeErrorIsReportedAndEndsWithItsStatus() {
  frmKaldra form([] {});
  QTimer::singleShot(100, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  QCOMPARE(RunLoadHandler(form, [] { throw RunTimeError("division by zero"); }), 3);
  QCOMPARE(RunLoadHandler(form, [] {}), 0);
}

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
