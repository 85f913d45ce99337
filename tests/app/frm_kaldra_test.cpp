// The window on Qt's offscreen platform, with a counter for the end action and
// the dialogs and the clipboard behind DesktopServices; real_window_test.sh
// checks that the real one ends the process, also mid-draw, and its menu.

#include "app/frm_kaldra.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "app/run_time_report.h"
#include "app/window_options.h"
#include "tools/renderer.h"

namespace kaldra {

// The desktop as the tests see it: the file dialogs answer with prepared
// paths, and messages and the clipboard are kept.
struct FakeDesktop {
  QString save_to, open_from, suggested;
  QStringList problems;
  QImage copied_image;
  QString copied_text;

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
};

namespace {

QImage Rendered(const SceneOrigin& origin) {
  return RenderScene({origin.seed, origin.scene}, kClientWidth, kClientHeight, false).image;
}

void PressKeys(QWidget& form, const QString& keys) {
  for (const QKeySequence& key : QKeySequence::listFromString(keys)) QTest::keySequence(&form, key);
}

}  // namespace

class FrmKaldraTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowFactsAndEveryWayOfEnding();
  void DiagramSurvivesRepaints();
  void RunTimeErrorIsReportedAndEndsWithItsStatus();
  void CommandLine_data();
  void CommandLine();
  void EveryActionByKeyAndByMenu_data();
  void EveryActionByKeyAndByMenu();
  void EndWorksWhileSlowedOrPaused_data();
  void EndWorksWhileSlowedOrPaused();
  void ActionsDuringTheDrawing_data();
  void ActionsDuringTheDrawing();
};

// The caption, the fixed client area centred on the screen (or, larger than
// the screen, its top-left corner on it), the End button with its caption and
// place, holding the focus when the window opens; and End clicked, Alt+E,
// Escape, Ctrl+Q and closing the window each call the end action, at once (a
// button's access key would show it pressed for 100 ms first).
void FrmKaldraTest::WindowFactsAndEveryWayOfEnding() {
  int ends = 0;
  frmKaldra form([&ends] { ++ends; });
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(form.windowTitle(), QStringLiteral("Kaldra"));
  QCOMPARE(form.minimumSize(), QSize(788, 565));
  QCOMPARE(form.maximumSize(), QSize(788, 565));
  const QRect screen = form.screen()->availableGeometry();
  if (screen.contains(QRect(screen.topLeft(), form.size()))) {
    const QPoint off_centre = form.geometry().center() - screen.center();
    QVERIFY(off_centre.manhattanLength() <= 1);  // a half pixel either way
  } else {
    QVERIFY(screen.contains(form.frameGeometry().topLeft()));
  }
  QCOMPARE(form.cmdEnd()->text(), QStringLiteral("End(&E)"));
  QCOMPARE(form.cmdEnd()->geometry(), QRect(112, 8, 57, 25));
  QCOMPARE(QApplication::focusWidget(), form.cmdEnd());
  QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
  QCOMPARE(ends, 1);
  QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
  QCOMPARE(ends, 2);
  QTest::keyClick(&form, Qt::Key_Escape);
  QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(ends, 4);
  form.close();
  QCOMPARE(ends, 5);
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

// The options, each with what it gives or a piece of the reason it is refused.
void FrmKaldraTest::CommandLine_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QString>("outcome");
  QTest::newRow("nothing") << QStringList{} << "show";
  QTest::newRow("seed") << QStringList{"--seed", "7"} << "seed 7";
  QTest::newRow("largest seed") << QStringList{"--seed=4294967295"} << "seed 4294967295";
  QTest::newRow("scene") << QStringList{"--scene", "-"} << "scene -";
  QTest::newRow("help") << QStringList{"-h"} << "help";
  QTest::newRow("version") << QStringList{"--version"} << "version";
  QTest::newRow("seed too large") << QStringList{"--seed", "4294967296"} << "error 0 to 4294967295";
  QTest::newRow("seed in hex") << QStringList{"--seed", "0x10"} << "error 0 to 4294967295";
  QTest::newRow("both scenes") << QStringList{"--seed", "1", "--scene", "f"} << "error not both";
  QTest::newRow("seed twice") << QStringList{"--seed", "1", "--seed", "2"} << "error --seed";
  QTest::newRow("no file name") << QStringList{"--scene", ""} << "error file name";
  QTest::newRow("argument") << QStringList{"extra"} << "error extra";
}

void FrmKaldraTest::CommandLine() {
  QFETCH(QStringList, args);
  QFETCH(QString, outcome);
  std::vector<std::string> arguments;
  for (const QString& a : args) arguments.push_back(a.toStdString());
  const ParsedWindowOptions parsed = ParseWindowOptions(arguments);
  const WindowOptions& o = parsed.options;
  const QString got = parsed.usage_error ? "error " + QString::fromStdString(*parsed.usage_error)
                      : o.seed           ? QStringLiteral("seed %1").arg(*o.seed)
                      : o.scene_path     ? "scene " + QString::fromStdString(*o.scene_path)
                      : o.action == WindowOptions::Action::kHelp    ? QStringLiteral("help")
                      : o.action == WindowOptions::Action::kVersion ? QStringLiteral("version")
                                                                    : QStringLiteral("show");
  QVERIFY2(outcome.startsWith("error") ? got.startsWith("error") && got.contains(outcome.mid(6))
                                       : got == outcome,
           qPrintable(got));
  // --help lists every action of the window with its first key.
  const QString usage = QString::fromStdString(WindowUsageText());
  for (const WindowActionInfo& info : kWindowActions) {
    const QString keys = QString::fromUtf8(info.keys).section(';', 0, 0);
    QVERIFY2(usage.contains(QString::fromUtf8(info.menu_text).remove('&').remove("...")) &&
                 usage.contains("  " + keys),
             info.menu_text);
  }
}

// Each action by its first key and again by its context-menu entry, on the
// finished scene of seed 9 (three segments); the row's check follows.
void FrmKaldraTest::EveryActionByKeyAndByMenu_data() {
  QTest::addColumn<int>("action");
  QTest::addColumn<bool>("by_menu");
  for (const WindowActionInfo& info : kWindowActions) {
    const QString name = QString::fromUtf8(info.menu_text).remove('&').remove("...");
    if (*info.keys != '\0') {
      QTest::addRow("%s key", qPrintable(name)) << static_cast<int>(info.action) << false;
    }
    QTest::addRow("%s menu", qPrintable(name)) << static_cast<int>(info.action) << true;
  }
  QTest::newRow("Quit key Ctrl+Q") << -1 << false;
}

void FrmKaldraTest::EveryActionByKeyAndByMenu() {
  QFETCH(int, action);
  QFETCH(bool, by_menu);
  const QTemporaryDir dir;
  FakeDesktop desktop;
  int ends = 0;
  frmKaldra form([&ends] { ++ends; }, desktop.Services());
  form.Form_Load(9);
  QVERIFY(QTest::qWaitForWindowActive(&form));
  const QImage before = form.Canvas().Image().copy();
  const std::uint64_t written = form.Canvas().PixelsWritten();
  desktop.save_to = dir.filePath(QStringLiteral("out"));
  // A scene file to open: seed 9's, so the picture must not change.
  DrawingSession nine(788, 565);
  ImageCanvas canvas(788, 565);
  nine.Draw({9, {}, {}}, canvas);
  QFile scene(desktop.open_from = dir.filePath(QStringLiteral("nine.scene")));
  QVERIFY(scene.open(QIODevice::WriteOnly));
  scene.write(QByteArray::fromStdString(*nine.SceneText({})));
  scene.close();
  const auto which = action < 0 ? WindowAction::kQuit : static_cast<WindowAction>(action);
  // Two steps slower first, so that faster and full speed show an effect.
  if (which == WindowAction::kFaster || which == WindowAction::kFullSpeed) {
    form.Action(WindowAction::kSlower)->trigger();
    form.Action(WindowAction::kSlower)->trigger();
  }
  if (action < 0) {
    QTest::keySequence(&form, QKeySequence(QStringLiteral("Ctrl+Q")));
  } else if (by_menu) {
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, {400, 300},
                                  form.mapToGlobal(QPoint(400, 300)));
    QApplication::sendEvent(&form, &right_click);
    QVERIFY(form.ContextMenu()->isVisible());
    QVERIFY(form.ContextMenu()->actions().contains(form.Action(which)));
    form.Action(which)->trigger();
    form.ContextMenu()->close();
  } else {
    QTest::keySequence(&form, form.Action(which)->shortcut());
  }
  const QImage& after = form.Canvas().Image();
  const bool redrawn = form.Canvas().PixelsWritten() > written;
  switch (which) {
    case WindowAction::kNewScene:
      QVERIFY(redrawn && form.Origin().seed != 9u);
      QCOMPARE(after, Rendered(form.Origin()));
      break;
    case WindowAction::kRedraw:
      QVERIFY(redrawn && form.Origin().seed == 9u);
      QCOMPARE(after, before);
      break;
    case WindowAction::kSlower:
    case WindowAction::kFaster:
    case WindowAction::kFullSpeed:
      QCOMPARE(form.PairDelayMs(), which == WindowAction::kSlower   ? kPairDelaysMs[1]
                                   : which == WindowAction::kFaster ? kPairDelaysMs[1]
                                                                    : 0);
      break;
    case WindowAction::kPause:
      QVERIFY(form.Paused());
      break;
    case WindowAction::kCopySeed:
      QCOMPARE(desktop.copied_text, QStringLiteral("9"));
      break;
    case WindowAction::kOpenScene:
      QVERIFY(redrawn && !form.Origin().seed);
      QCOMPARE(QString::fromStdString(form.Origin().file_name), desktop.open_from);
      QCOMPARE(after, before);
      break;
    case WindowAction::kSavePicture:
      QCOMPARE(desktop.suggested, QStringLiteral("kaldra-9.png"));
      QCOMPARE(QImage(desktop.save_to, "PNG").convertToFormat(after.format()), after);
      break;
    case WindowAction::kSaveScene: {
      QCOMPARE(desktop.suggested, QStringLiteral("kaldra-9.scene"));
      QFile saved(desktop.save_to);
      QVERIFY(saved.open(QIODevice::ReadOnly));
      QVERIFY(saved.readAll().startsWith("# Kaldra scene, 788x565, seed 9\n"));
      break;
    }
    case WindowAction::kCopyPicture:
      QCOMPARE(desktop.copied_image, after);
      break;
    case WindowAction::kLegend: {
      // Painted over the canvas, which keeps exactly the diagram.
      QVERIFY(form.LegendShown());
      QCOMPARE(after, before);
      QImage shown = form.grab().toImage().convertToFormat(after.format());
      shown.setDevicePixelRatio(1);
      QVERIFY(shown != after.scaled(shown.size()));
      break;
    }
    case WindowAction::kQuit:
      QCOMPARE(ends, 1);
      break;
  }
  QVERIFY(which == WindowAction::kQuit || ends == 0);
  QVERIFY(desktop.problems.isEmpty());
}

// Slowed to the slowest pace or paused, the drawing waits before pair (0, 1)
// while handling input: a key still works, and End, closing the window and
// Escape reach the end action within 100 ms of being sent; the drawing then
// stops.
void FrmKaldraTest::EndWorksWhileSlowedOrPaused_data() {
  QTest::addColumn<bool>("paused");
  QTest::addColumn<QString>("how");
  QTest::newRow("slowest, End clicked") << false << "End";
  QTest::newRow("paused, End clicked") << true << "End";
  QTest::newRow("paused, window closed") << true << "close";
  QTest::newRow("slowest, Escape") << false << "Escape";
}

void FrmKaldraTest::EndWorksWhileSlowedOrPaused() {
  QFETCH(bool, paused);
  QFETCH(QString, how);
  QElapsedTimer clock;
  qint64 sent_at = -1, ended_at = -1;
  frmKaldra form([&] { ended_at = clock.elapsed(); });
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  PressKeys(form, paused ? "P" : "-; -; -; -; -; -");
  QCOMPARE(form.PairDelayMs(), paused ? 0 : 1000);
  std::optional<std::pair<int, int>> waiting;
  clock.start();
  QTimer::singleShot(300, [&] {
    waiting = form.WaitingPair();
    QTest::keyClick(&form, Qt::Key_L);
    sent_at = clock.elapsed();
    if (how == "End") QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
    if (how == "close") form.close();
    if (how == "Escape") QTest::keyClick(&form, Qt::Key_Escape);
  });
  form.Form_Load(7);
  QVERIFY(form.LegendShown());
  QCOMPARE(waiting, std::make_optional(std::make_pair(0, 1)));
  QVERIFY2(ended_at >= 0 && ended_at - 300 < 100, qPrintable(QString::number(ended_at)));
  QVERIFY(clock.elapsed() - sent_at < 200);  // the drawing stopped, no pair later
  QVERIFY(!form.Drawing());
}

// Keys pressed while a drawing at 20 ms per pair runs (seed 6), each followed
// by P: another scene abandons the drawing and is drawn instead, from its first
// pair; saving keeps what is drawn so far; a refused file leaves the scene and
// the drawing alone. A moment later, P and 0 finish the drawing at full speed.
void FrmKaldraTest::ActionsDuringTheDrawing_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("open");
  QTest::addColumn<QString>("scene");  // the origin drawn in the end
  QTest::addColumn<bool>("restarted");
  QTest::newRow("new scene") << "N"
                             << ""
                             << "new seed" << true;
  QTest::newRow("redraw") << "R"
                          << ""
                          << "seed 6" << true;
  QTest::newRow("open a scene") << "Ctrl+O"
                                << "three.scene"
                                << "file" << true;
  QTest::newRow("open a refused scene") << "Ctrl+O" << KALDRA_SCENE_CORPUS "/bad-crossing.scene"
                                        << "seed 6" << false;
  QTest::newRow("save the picture so far") << "Ctrl+S"
                                           << ""
                                           << "seed 6" << false;
}

void FrmKaldraTest::ActionsDuringTheDrawing() {
  QFETCH(QString, keys);
  QFETCH(QString, open);
  QFETCH(QString, scene);
  QFETCH(bool, restarted);
  const QTemporaryDir dir;
  FakeDesktop desktop;
  desktop.save_to = dir.filePath(QStringLiteral("so-far.png"));
  desktop.open_from = open.contains('/') ? open : dir.filePath(open);
  QFile three(dir.filePath(QStringLiteral("three.scene")));
  QVERIFY(three.open(QIODevice::WriteOnly));
  three.write("100 120 260 200\n420 90 560 230\n300 400 480 330\n");
  three.close();
  frmKaldra form([] {}, desktop.Services());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  PressKeys(form, "-");
  QImage so_far;
  std::optional<std::pair<int, int>> waiting;
  QTimer::singleShot(150, [&] {
    so_far = form.Canvas().Image().copy();
    PressKeys(form, keys + "; P");
  });
  QTimer::singleShot(350, [&] {
    waiting = form.WaitingPair();
    PressKeys(form, "P; 0");
  });
  form.Form_Load(6);
  QVERIFY(!form.Drawing());
  QCOMPARE(waiting == std::make_pair(0, 1), restarted);
  const SceneOrigin& o = form.Origin();
  QCOMPARE(scene, !o.seed ? QStringLiteral("file") : o.seed == 6u ? "seed 6" : "new seed");
  QCOMPARE(form.Canvas().Image(), Rendered(o));
  QCOMPARE(desktop.problems.size(), open.contains("bad") ? 1 : 0);
  if (open.contains("bad")) QVERIFY(desktop.problems[0].contains("bad-crossing.scene:4: "));
  if (keys == "Ctrl+S") {
    QCOMPARE(QImage(desktop.save_to, "PNG").convertToFormat(so_far.format()), so_far);
    QVERIFY(so_far != form.Canvas().Image());
  }
}

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
