// The window on Qt's offscreen platform, with a counter for the end action and
// the dialogs and the clipboard behind DesktopServices; real_window_test.sh
// checks that the real one ends the process, also mid-draw, and shows the
// legend on the screen.

#include "app/frm_kaldra.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "app/run_time_report.h"
#include "scene/scene_file.h"
#include "tools/renderer.h"

namespace kaldra {

// The desktop as the tests see it: the file dialogs answer with prepared
// paths, and messages and the clipboard are kept.
struct FakeDesktop {
  QTemporaryDir dir;
  QString save_to = dir.filePath(QStringLiteral("out")), open_from, suggested, copied_text;
  QStringList problems;
  QImage copied_image;

  DesktopServices Services() {
    return {[this](QWidget*, const QString&, const QString& name, const QString&) {
              suggested = name;
              return save_to;
            },
            [this](QWidget*, const QString&, const QString&) { return open_from; },
            [this](QWidget*, const QString& message) { problems << message; },
            [this](const QImage& image) { copied_image = image; },
            [this](const QString& text) { copied_text = text; }};
  }
  QByteArray Saved() const {
    QFile file(save_to);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

namespace {

// Three segments; segment 2 has its right end generated first.
const QString s0 = "100 120 260 200\n", s1 = "420 90 560 230\n", s2 = "480 330 300 400\n";

QImage Rendered(const std::optional<Scene>& scene, std::optional<std::uint32_t> seed = {}) {
  return RenderScene({seed, scene}, kDefaultCanvasWidth, kDefaultCanvasHeight, false).image;
}

void PressKeys(QWidget& form, const QString& keys) {
  for (const QKeySequence& key : QKeySequence::listFromString(keys)) QTest::keySequence(&form, key);
}

// A right click at `at`, then `action` chosen in the context menu.
void ChooseInMenu(frmKaldra& form, QPoint at, QAction* action) {
  QContextMenuEvent right_click(QContextMenuEvent::Mouse, at, form.mapToGlobal(at));
  QApplication::sendEvent(&form, &right_click);
  QVERIFY(form.ContextMenu()->isVisible() && form.ContextMenu()->actions().contains(action));
  action->trigger();
  form.ContextMenu()->close();
}

// "seed N" for the scene of `seed`, "new seed" for another, "file" for a file's.
QString Named(const SceneOrigin& o, std::uint32_t seed) {
  return !o.seed ? "file" : o.seed == seed ? QStringLiteral("seed %1").arg(seed) : "new seed";
}

// What the window shows, but the End button, which the widget style draws.
QImage Shown(frmKaldra& form) {
  form.cmdEnd()->hide();
  QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
  form.cmdEnd()->show();
  shown.setDevicePixelRatio(1);
  return shown;
}

}  // namespace

class FrmKaldraTest : public QObject {
  Q_OBJECT

 private slots:
  // The caption, the fixed client area centred on the screen (or, larger than
  // the screen, its top-left corner on it), the End button with its caption and
  // place, holding the focus when the window opens; the diagram, also what was
  // plotted after the background was complete, in the one image, so a repaint
  // shows exactly the canvas (at device pixel ratio 2, ctest's second run, each
  // canvas pixel a solid block); and End clicked, Alt+E, Escape, Ctrl+Q and
  // closing the window each call the end action, at once (a button's access key
  // would show it pressed for 100 ms first).
  void WindowFactsAndEveryWayOfEnding() {
    int ends = 0;
    frmKaldra form([&ends] { ++ends; });
    form.Form_Load(9);  // three segments
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Kaldra"));
    QVERIFY(form.minimumSize() == QSize(788, 565) && form.maximumSize() == QSize(788, 565));
    const QRect screen = form.screen()->availableGeometry();
    QVERIFY(screen.contains(QRect(screen.topLeft(), form.size()))
                ? (form.geometry().center() - screen.center()).manhattanLength() <= 1
                : screen.contains(form.frameGeometry().topLeft()));
    QCOMPARE(form.cmdEnd()->text(), QStringLiteral("End(&E)"));
    QCOMPARE(form.cmdEnd()->geometry(), QRect(112, 8, 57, 25));
    QCOMPARE(QApplication::focusWidget(), form.cmdEnd());
    const QImage& canvas = form.Canvas().Image();
    QCOMPARE(Shown(form), canvas.scaled(canvas.size() *
                                        qMax(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"))));
    QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
    PressKeys(form, "Alt+E; Esc; Ctrl+Q");
    form.close();
    QCOMPARE(ends, 5);
    // A run-time error ends with the renderer's status for one, once the
    // message box is closed.
    QTimer::singleShot(100, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(RunLoadHandler(form, [] { throw RunTimeError("division by zero"); }), 3);
  }

  // Each action by its first key and again by its context-menu entry, on the
  // finished scene of seed 9, but those of edit mode (see Editing): what it
  // changed, while the canvas and every picture saved or copied stay the
  // renderer's picture of the scene shown, and what is painted over it shows.
  void EveryActionByKeyAndByMenu_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("by_menu");
    QTest::addColumn<QString>("effect");
    const QString effects =
        "new seed, redrawn; seed 9, redrawn; seed 9, 20 ms; seed 9, 20 ms; "
        "seed 9; seed 9, paused; seed 9, copied 9; file, redrawn; "
        "seed 9, kaldra-9.png; seed 9, kaldra-9.scene; seed 9, copied picture; "
        "seed 9, legend; seed 9, ended; seed 9, editing";
    for (const WindowActionInfo& info : kWindowActions) {
      const QByteArray name = QString::fromUtf8(info.menu_text).remove('&').remove("...").toUtf8();
      const int a = static_cast<int>(info.action);
      for (const bool by_menu : {false, true}) {
        if (EditModeOnly(info.action) || (!by_menu && !*info.keys)) continue;
        QTest::addRow("%s %s", name.data(), by_menu ? "menu" : "key")
            << a << by_menu << effects.section("; ", a, a);
      }
    }
  }

  void EveryActionByKeyAndByMenu() {
    QFETCH(int, action);
    QFETCH(bool, by_menu);
    QFETCH(QString, effect);
    FakeDesktop desktop;
    desktop.open_from = KALDRA_SCENE_CORPUS "/ok-three.scene";
    int ends = 0;
    frmKaldra form([&ends] { ++ends; }, desktop.Services());
    form.Form_Load(9);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const std::uint64_t written = form.Canvas().PixelsWritten();
    QAction* chosen = form.Action(static_cast<WindowAction>(action));
    // Two steps slower first, so that faster and full speed show an effect.
    if (effect == "seed 9" || chosen == form.Action(WindowAction::kFaster)) PressKeys(form, "-; -");
    if (by_menu) ChooseInMenu(form, {400, 300}, chosen);
    if (!by_menu) QTest::keySequence(&form, chosen->shortcut());
    const SceneOrigin& o = form.Origin();
    // One action, so at most one of each group shows.
    QStringList got = {
        Named(o, 9),
        form.Canvas().PixelsWritten() > written ? "redrawn" : "",
        form.PairDelayMs() > 0 ? QStringLiteral("%1 ms").arg(form.PairDelayMs()) : "",
        form.Paused()        ? "paused"
        : form.LegendShown() ? "legend"
        : form.Editing()     ? "editing"
                             : "",
        !desktop.copied_text.isEmpty()  ? "copied " + desktop.copied_text
        : desktop.copied_image.isNull() ? QFileInfo(desktop.suggested).fileName()
                                        : "copied picture",
        ends > 0 ? "ended" : ""};
    got.removeAll(QString());
    QCOMPARE(got.join(", "), effect);
    QVERIFY(desktop.problems.isEmpty());
    const QImage& canvas = form.Canvas().Image();
    QCOMPARE(canvas, Rendered(o.scene, o.seed));
    QVERIFY(desktop.copied_image.isNull() || desktop.copied_image == canvas);
    if (effect.endsWith("png")) QCOMPARE(QImage::fromData(desktop.Saved()), canvas);
    QVERIFY(!effect.endsWith("scene") ||
            desktop.Saved().startsWith("# Kaldra scene, 788x565, seed 9"));
    QCOMPARE(Shown(form) != canvas,
             form.LegendShown() || form.Paused() || form.PairDelayMs() > 0 || form.Editing());
  }

  // Keys pressed 150 ms into the drawing of seed 6, slowed or paused. Ending:
  // the drawing waits before pair (0, 1) while handling input, so a key still
  // works, and End or closing the window reaches the end action within 100 ms;
  // the drawing then stops. At 20 ms per pair, each followed by 0 (full
  // speed): another scene abandons the drawing and is drawn instead; saving
  // keeps what is drawn so far; a refused file leaves the scene and the drawing
  // alone.
  void WhileTheDrawingRuns_data() {
    QTest::addColumn<QString>("row");  // pace | keys | the scene drawn in the end
    QTest::newRow("slowest, End clicked") << QString("-; -; -; -; -; - | L; End | ended");
    QTest::newRow("paused, window closed") << QString("P | L; close | ended");
    QTest::newRow("new scene") << QString("- | N; 0 | new seed");
    QTest::newRow("open a refused scene") << QString("- | Ctrl+O; 0 | seed 6");
    QTest::newRow("save the picture so far") << QString("- | Ctrl+S; 0 | seed 6");
  }

  void WhileTheDrawingRuns() {
    QFETCH(QString, row);
    const QStringList column = row.split(" | ");
    FakeDesktop desktop;
    desktop.open_from = KALDRA_SCENE_CORPUS "/bad-crossing.scene";
    QElapsedTimer clock;
    qint64 sent_at = -1, ended_at = -1;
    frmKaldra form([&] { ended_at = clock.elapsed(); }, desktop.Services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    PressKeys(form, column[0]);
    QImage so_far;
    clock.start();
    QTimer::singleShot(150, &form, [&] {
      so_far = form.Canvas().Image().copy();
      const std::optional<std::pair<int, int>> waiting = form.WaitingPair();
      sent_at = clock.elapsed();
      for (const QString& key : column[1].split("; ")) {
        if (key == "End") QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
        if (key == "close") form.close();
        if (key != "End" && key != "close") PressKeys(form, key);
      }
      if (column[2] == "ended") QCOMPARE(waiting, std::make_optional(std::make_pair(0, 1)));
    });
    form.Form_Load(6);
    QVERIFY(!form.Drawing());
    if (column[2] == "ended") {
      QVERIFY(form.LegendShown());
      QVERIFY2(ended_at >= 0 && ended_at - sent_at < 100, qPrintable(QString::number(ended_at)));
      QVERIFY(clock.elapsed() - sent_at < 200);  // the drawing stopped, no pair later
      return;
    }
    const SceneOrigin& o = form.Origin();
    QCOMPARE(Named(o, 6), column[2]);
    QCOMPARE(form.Canvas().Image(), Rendered(o.scene, o.seed));
    QCOMPARE(desktop.problems.join('|').contains("bad-crossing.scene:4: "), row.contains("Ctrl+O"));
    QCOMPARE(QImage::fromData(desktop.Saved()) == so_far, row.contains("Ctrl+S"));
    QVERIFY(so_far != form.Canvas().Image());
  }

  // Edit mode (D) on the three segments s0, s1, s2: each row's steps, the
  // refusals told on the way (a pattern), and the segments in the end (none:
  // unchanged). Steps: pX,Y presses the left button, mX,Y moves the mouse, rX,Y
  // releases it, kKEYS presses keys, nKEY chooses the action of that key in the
  // context menu at the last point (after which keys may miss the window on
  // this platform). While a refusal is told, the scene is as
  // before the step: the segment stays where it was last accepted.
  void Editing_data() {
    QTest::addColumn<QStringList>("row");
    QTest::newRow("drag an end across refusals and back, keep first ends first") << QStringList{
        "p260,200 m265,215 m-10,200 m420,250 m100,300 m500,100 m270,235 r270,235 "
        "p480,330 r500,350 p490,160 m495,170 r500,180",
        "the end \\(-10, 200\\) lies outside.*x or its y with an end of segment 1.*vertical.*crosses segment 1",
        "100 120 270 235\n430 110 570 250\n500 350 300 400\n"};
    QTest::newRow("add a segment")
        << QStringList{"p600,450 m110,300 m650,470 r700,520", "the segment crosses segment 2",
                       s0 + s1 + s2 + "600 450 700 520\n"};
    QTest::newRow("delete by menu and key, but never the last")
        << QStringList{"m490,160 kDel nCtrl+Z nCtrl+Shift+Z m180,160 nDel m390,365 nDel",
                       ".*at least one segment", s2};
    QTest::newRow("undo and redo each change, nothing outside edit mode") << QStringList{
        "p260,200 r270,235 p490,160 r500,180 kCtrl+Z kCtrl+Z kCtrl+Shift+Z kD p100,120 r150,150 "
        "m490,160 kDel kCtrl+Z",
        "", "100 120 270 235\n" + s1 + s2};
  }

  void Editing() {
    QFETCH(QStringList, row);
    FakeDesktop desktop;
    frmKaldra form([] {}, desktop.Services());
    const std::optional<Scene> three = ReadScene((s0 + s1 + s2).toStdString(), 788, 565).scene;
    form.Form_Load({{}, *three, "3"});
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto segments = [&form] {
      return QString::fromStdString(WriteScene(*form.CurrentScene()));
    };
    const QString before = segments();
    PressKeys(form, "D");
    QTest::mouseMove(&form, {1, 1});  // Qt drops a move to where the last row left the mouse
    QStringList told;
    QPoint at;
    for (const QString& step : row[0].split(' ')) {
      const QString was = segments(), arg = step.mid(1);
      if (const QStringList xy = arg.split(','); xy.size() == 2)
        at = {xy[0].toInt(), xy[1].toInt()};
      if (step[0] == 'p') QTest::mousePress(&form, Qt::LeftButton, {}, at);
      if (step[0] == 'm') QTest::mouseMove(&form, at);
      if (step[0] == 'r') QTest::mouseRelease(&form, Qt::LeftButton, {}, at);
      if (step[0] == 'k') PressKeys(form, arg);
      for (QAction* a : form.actions()) {
        if (step[0] == 'n' && a->shortcut() == QKeySequence(arg)) ChooseInMenu(form, at, a);
      }
      if (!form.Refusal().isEmpty() && !told.contains(form.Refusal())) told << form.Refusal();
      if (!form.Refusal().isEmpty()) QCOMPARE(segments(), was);
    }
    QCOMPARE(QRegularExpression(row[1]).match(told.join('|')).captured(), told.join('|'));
    QTRY_VERIFY(!form.Retracing());
    QCOMPARE(segments(), row[2].isEmpty() ? before : row[2]);
    // Saved, the scene reads back as it is, and the renderer draws exactly what
    // the window shows: segments, labels, "N=" and the diagram.
    form.Action(WindowAction::kSaveScene)->trigger();
    QVERIFY(desktop.Saved().endsWith(segments().toUtf8()));
    QCOMPARE(form.Canvas().Image(), Rendered(form.CurrentScene()));
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
