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
#include "scene/scene_file.h"
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

// Three segments; segment 2 has its right end generated first.
const QString s0 = "100 120 260 200\n", s1 = "420 90 560 230\n", s2 = "480 330 300 400\n";

QImage Rendered(const std::optional<Scene>& scene, std::optional<std::uint32_t> seed = {}) {
  return RenderScene({seed, scene}, kClientWidth, kClientHeight, false).image;
}

std::optional<Scene> Read(const QByteArray& text) {
  return ReadScene(text.toStdString(), kClientWidth, kClientHeight).scene;
}

void PressKeys(QWidget& form, const QString& keys) {
  for (const QKeySequence& key : QKeySequence::listFromString(keys)) QTest::keySequence(&form, key);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A right click at `at`, then `action` chosen in the context menu.
void ChooseInMenu(frmKaldra& form, QPoint at, QAction* action) {
  QContextMenuEvent right_click(QContextMenuEvent::Mouse, at, form.mapToGlobal(at));
  QApplication::sendEvent(&form, &right_click);
  QVERIFY(form.ContextMenu()->isVisible() && form.ContextMenu()->actions().contains(action));
  action->trigger();
  form.ContextMenu()->close();
}

}  // namespace

class FrmKaldraTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowFactsAndEveryWayOfEnding();
  void RunTimeErrorIsReportedAndEndsWithItsStatus();
  void CommandLine();
  void EveryActionByKeyAndByMenu_data();
  void EveryActionByKeyAndByMenu();
  void WhileTheDrawingRuns_data();
  void WhileTheDrawingRuns();
  void Editing_data();
  void Editing();
};

// The caption, the fixed client area centred on the screen (or, larger than
// the screen, its top-left corner on it), the End button with its caption and
// place, holding the focus when the window opens; the diagram, also what was
// plotted after the background was complete, in the one image, so a repaint
// shows exactly the canvas (at device pixel ratio 2, ctest's second run, each
// canvas pixel a solid block); and End clicked, Alt+E, Escape, Ctrl+Q and
// closing the window each call the end action, at once (a button's access key
// would show it pressed for 100 ms first).
void FrmKaldraTest::WindowFactsAndEveryWayOfEnding() {
  int ends = 0;
  frmKaldra form([&ends] { ++ends; });
  form.Form_Load(9);  // three segments
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(form.windowTitle(), QStringLiteral("Kaldra"));
  QCOMPARE(form.minimumSize(), QSize(788, 565));
  QCOMPARE(form.maximumSize(), QSize(788, 565));
  const QRect screen = form.screen()->availableGeometry();
  if (screen.contains(QRect(screen.topLeft(), form.size()))) {
    QVERIFY((form.geometry().center() - screen.center()).manhattanLength() <= 1);
  } else {
    QVERIFY(screen.contains(form.frameGeometry().topLeft()));
  }
  QCOMPARE(form.cmdEnd()->text(), QStringLiteral("End(&E)"));
  QCOMPARE(form.cmdEnd()->geometry(), QRect(112, 8, 57, 25));
  QCOMPARE(QApplication::focusWidget(), form.cmdEnd());
  QVERIFY(!form.Canvas().AutoRedraw());
  const int ratio = qMax(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
  const QImage& canvas = form.Canvas().Image();
  form.cmdEnd()->hide();  // drawn over the canvas by the widget style
  QImage shown = form.grab().toImage().convertToFormat(canvas.format());
  shown.setDevicePixelRatio(1);
  QCOMPARE(shown, canvas.scaled(canvas.size() * ratio));
  form.cmdEnd()->show();
  QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
  QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
  PressKeys(form, "Esc; Ctrl+Q");
  QCOMPARE(ends, 4);
  form.close();
  QCOMPARE(ends, 5);
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

// The options the window takes and those it refuses; --help lists every
// action of the window with its first key.
void FrmKaldraTest::CommandLine() {
  const auto parse = [](std::vector<std::string> args) { return ParseWindowOptions(args); };
  QCOMPARE(parse({"--seed=4294967295"}).options.seed, 4294967295u);
  QCOMPARE(parse({"--scene", "-"}).options.scene_path, "-");
  QVERIFY(parse({"-h"}).options.action == WindowOptions::Action::kHelp);
  QVERIFY(parse({}).options.action == WindowOptions::Action::kShow && !parse({}).usage_error);
  for (const std::vector<std::string>& refused :
       std::vector<std::vector<std::string>>{{"--seed", "4294967296"},
                                             {"--seed", "0x10"},
                                             {"--seed", "1", "--scene", "f"},
                                             {"--seed", "1", "--seed", "2"},
                                             {"--scene", ""},
                                             {"extra"}}) {
    QVERIFY2(parse(refused).usage_error.value_or("").starts_with("kaldra: "), refused[0].c_str());
  }
  const QString usage = QString::fromStdString(WindowUsageText());
  for (const WindowActionInfo& info : kWindowActions) {
    const QString keys = QString::fromUtf8(info.keys).section(';', 0, 0);
    QVERIFY2(usage.contains(QString::fromUtf8(info.menu_text).remove('&').remove("...")) &&
                 usage.contains("  " + keys),
             info.menu_text);
  }
}

// Each action by its first key and again by its context-menu entry, on the
// finished scene of seed 9 (three segments), but those of edit mode (see
// Editing): what it changed, while the canvas and every picture saved or
// copied stay the renderer's picture of the scene shown.
void FrmKaldraTest::EveryActionByKeyAndByMenu_data() {
  QTest::addColumn<int>("action");
  QTest::addColumn<bool>("by_menu");
  QTest::addColumn<QString>("effect");
  const QString effects[] = {"new seed, redrawn",
                             "seed 9, redrawn",
                             "seed 9, 20 ms",
                             "seed 9, 20 ms",
                             "seed 9",
                             "seed 9, paused",
                             "seed 9, copied 9",
                             "file, redrawn",
                             "seed 9, kaldra-9.png",
                             "seed 9, kaldra-9.scene",
                             "seed 9, copied picture",
                             "seed 9, legend",
                             "seed 9, ended",
                             "seed 9, editing"};
  for (const WindowActionInfo& info : kWindowActions) {
    const QString name = QString::fromUtf8(info.menu_text).remove('&').remove("...");
    if (EditModeOnly(info.action)) continue;
    const QString effect = effects[static_cast<int>(info.action)];
    if (*info.keys != '\0') {
      QTest::addRow("%s key", qPrintable(name)) << static_cast<int>(info.action) << false << effect;
    }
    QTest::addRow("%s menu", qPrintable(name)) << static_cast<int>(info.action) << true << effect;
  }
  QTest::newRow("Quit key Ctrl+Q") << -1 << false << "seed 9, ended";
}

void FrmKaldraTest::EveryActionByKeyAndByMenu() {
  QFETCH(int, action);
  QFETCH(bool, by_menu);
  QFETCH(QString, effect);
  const QTemporaryDir dir;
  FakeDesktop desktop;
  int ends = 0;
  frmKaldra form([&ends] { ++ends; }, desktop.Services());
  form.Form_Load(9);
  QVERIFY(QTest::qWaitForWindowActive(&form));
  const std::uint64_t written = form.Canvas().PixelsWritten();
  desktop.save_to = dir.filePath(QStringLiteral("out"));
  // A scene file to open: seed 9's, so the picture must not change.
  QFile scene(desktop.open_from = dir.filePath(QStringLiteral("nine.scene")));
  QVERIFY(scene.open(QIODevice::WriteOnly));
  scene.write(QByteArray::fromStdString(*SavedSceneText(*form.CurrentScene(), {})));
  scene.close();
  const auto which = action < 0 ? WindowAction::kQuit : static_cast<WindowAction>(action);
  // Two steps slower first, so that faster and full speed show an effect.
  if (which == WindowAction::kFaster || which == WindowAction::kFullSpeed) PressKeys(form, "-; -");
  if (action < 0) {
    PressKeys(form, "Ctrl+Q");
  } else if (by_menu) {
    ChooseInMenu(form, {400, 300}, form.Action(which));
  } else {
    QTest::keySequence(&form, form.Action(which)->shortcut());
  }
  const SceneOrigin& o = form.Origin();
  QStringList got = {!o.seed        ? "file"
                     : o.seed == 9u ? "seed 9"
                                    : "new seed",
                     form.Canvas().PixelsWritten() > written ? "redrawn" : "",
                     form.PairDelayMs() > 0 ? QStringLiteral("%1 ms").arg(form.PairDelayMs()) : "",
                     form.Paused() ? "paused" : "",
                     desktop.copied_text.isEmpty() ? "" : "copied " + desktop.copied_text,
                     QFileInfo(desktop.suggested).fileName(),
                     desktop.copied_image.isNull() ? "" : "copied picture",
                     form.LegendShown() ? "legend" : "",
                     ends > 0 ? "ended" : "",
                     form.Editing() ? "editing" : ""};
  got.removeAll(QString());
  QCOMPARE(got.join(", "), effect);
  QVERIFY(desktop.problems.isEmpty());
  const QImage& canvas = form.Canvas().Image();
  QCOMPARE(canvas, Rendered(o.scene, o.seed));
  if (!desktop.copied_image.isNull()) QCOMPARE(desktop.copied_image, canvas);
  const QByteArray saved = ReadAll(desktop.save_to);
  if (effect.endsWith("png"))
    QCOMPARE(QImage::fromData(saved).convertToFormat(canvas.format()), canvas);
  if (effect.endsWith("scene")) QVERIFY(saved.startsWith("# Kaldra scene, 788x565, seed 9\n"));
  // The overlays are painted over the canvas, never into it.
  form.cmdEnd()->hide();  // drawn over the canvas by the widget style
  QImage shown = form.grab().toImage().convertToFormat(canvas.format());
  shown.setDevicePixelRatio(1);
  QCOMPARE(shown != canvas.scaled(shown.size()),
           form.LegendShown() || form.Paused() || form.PairDelayMs() > 0 || form.Editing());
}

// Keys pressed 150 ms into the drawing of seed 6, slowed or paused. Ending:
// the drawing waits before pair (0, 1) while handling input, so a key still
// works, and End, closing the window and Escape reach the end action within
// 100 ms; the drawing then stops. At 20 ms per pair, each followed by P:
// another scene abandons the drawing and is drawn instead, from its first
// pair; saving keeps what is drawn so far; a refused file leaves the scene and
// the drawing alone; 200 ms later, P and 0 finish the drawing at full speed.
void FrmKaldraTest::WhileTheDrawingRuns_data() {
  QTest::addColumn<QString>("pace");
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("scene");  // the origin drawn in the end
  QTest::addColumn<bool>("restarted");
  const QString slowest = "-; -; -; -; -; -";
  QTest::newRow("slowest, End clicked") << slowest << "L; End"
                                        << "ended" << false;
  QTest::newRow("paused, End clicked") << "P"
                                       << "L; End"
                                       << "ended" << false;
  QTest::newRow("paused, window closed") << "P"
                                         << "L; close"
                                         << "ended" << false;
  QTest::newRow("slowest, Escape") << slowest << "L; Esc"
                                   << "ended" << false;
  QTest::newRow("new scene") << "-"
                             << "N; P"
                             << "new seed" << true;
  QTest::newRow("open a scene") << "-"
                                << "Ctrl+O; P"
                                << "file" << true;
  QTest::newRow("open a refused scene") << "-"
                                        << "Ctrl+O; P"
                                        << "seed 6" << false;
  QTest::newRow("save the picture so far") << "-"
                                           << "Ctrl+S; P"
                                           << "seed 6" << false;
}

void FrmKaldraTest::WhileTheDrawingRuns() {
  QFETCH(QString, pace);
  QFETCH(QString, keys);
  QFETCH(QString, scene);
  QFETCH(bool, restarted);
  const QTemporaryDir dir;
  FakeDesktop desktop;
  desktop.save_to = dir.filePath(QStringLiteral("so-far.png"));
  desktop.open_from = KALDRA_SCENE_CORPUS +
                      QString(scene == "file" ? "/ok-three.scene" : "/bad-crossing.scene");
  QElapsedTimer clock;
  qint64 sent_at = -1, ended_at = -1;
  frmKaldra form([&] { ended_at = clock.elapsed(); }, desktop.Services());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  PressKeys(form, pace);
  QImage so_far;
  std::optional<std::pair<int, int>> waiting, later;
  clock.start();
  QTimer::singleShot(150, &form, [&] {
    so_far = form.Canvas().Image().copy();
    waiting = form.WaitingPair();
    sent_at = clock.elapsed();
    for (const QString& key : keys.split("; ")) {
      if (key == "End") QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
      if (key == "close") form.close();
      if (key != "End" && key != "close") PressKeys(form, key);
    }
  });
  QTimer::singleShot(350, &form, [&] {
    later = form.WaitingPair();
    PressKeys(form, "P; 0");
  });
  form.Form_Load(6);
  QVERIFY(!form.Drawing());
  if (scene == "ended") {
    QVERIFY(form.LegendShown());
    QCOMPARE(waiting, std::make_optional(std::make_pair(0, 1)));
    QVERIFY2(ended_at >= 0 && ended_at - sent_at < 100, qPrintable(QString::number(ended_at)));
    QVERIFY(clock.elapsed() - sent_at < 200);  // the drawing stopped, no pair later
    return;
  }
  QCOMPARE(later == std::make_pair(0, 1), restarted);
  const SceneOrigin& o = form.Origin();
  QCOMPARE(scene, !o.seed ? QStringLiteral("file") : o.seed == 6u ? "seed 6" : "new seed");
  QCOMPARE(form.Canvas().Image(), Rendered(o.scene, o.seed));
  const bool refused = keys.startsWith("Ctrl+O") && !restarted;
  QCOMPARE(desktop.problems.join('|').contains("bad-crossing.scene:4: "), refused);
  QCOMPARE(desktop.problems.size(), refused ? 1 : 0);
  if (keys.startsWith("Ctrl+S")) {
    QCOMPARE(QImage(desktop.save_to, "PNG").convertToFormat(so_far.format()), so_far);
    QVERIFY(so_far != form.Canvas().Image());
  }
}

// Edit mode (D) on the three segments s0, s1, s2: each row's steps, the
// refusals told on the way, and the segments in the end (none: unchanged).
// Steps: pX,Y presses the left button, mX,Y moves the mouse, rX,Y releases
// the button, kKEYS presses keys, nKEY chooses the action of that key in the
// context menu at the last point. While a refusal is told, the scene is as
// before the step: the segment stays where it was last accepted.
void FrmKaldraTest::Editing_data() {
  QTest::addColumn<QString>("steps");
  QTest::addColumn<QString>("refused");
  QTest::addColumn<QString>("after");
  const QString moved_end = "100 120 270 235\n" + s1 + s2;
  QTest::newRow("drag an end across refusals and back")
      << "p260,200 m265,215 m-10,200 m420,250 m100,300 m500,100 m270,235 r270,235"
      << "outside|x or its y with an end of segment 1|vertical|crosses segment 1" << moved_end;
  QTest::newRow("first end stays first") << "p480,330 r500,350"
                                         << "" << s0 + s1 + "500 350 300 400\n";
  QTest::newRow("move a segment whole") << "p490,160 m495,170 r500,180"
                                        << "" << s0 + "430 110 570 250\n" + s2;
  QTest::newRow("add a segment") << "p600,450 m110,300 m650,470 r700,520"
                                 << "crosses segment 2" << s0 + s1 + s2 + "600 450 700 520\n";
  QTest::newRow("delete, indices close up") << "m490,160 nDel"
                                            << "" << s0 + s2;
  QTest::newRow("the last segment stays") << "m490,160 kDel m180,160 kDel m390,365 kDel"
                                          << "at least one segment" << s2;
  QTest::newRow("undo and redo each change")
      << "p260,200 r270,235 p490,160 r500,180 kCtrl+Z kCtrl+Z kCtrl+Shift+Z"
      << "" << moved_end;
  QTest::newRow("undo and redo by menu") << "m490,160 kDel nCtrl+Z nCtrl+Shift+Z nCtrl+Z"
                                         << ""
                                         << "";
  QTest::newRow("nothing outside edit mode") << "kD p260,200 r270,235 m490,160 kDel"
                                             << ""
                                             << "";
  QTest::newRow("101 segments at most") << "p770,20 m780,40 r780,40"
                                        << "more than 101"
                                        << "";
}

void FrmKaldraTest::Editing() {
  QFETCH(QString, steps);
  QFETCH(QString, refused);
  QFETCH(QString, after);
  const QTemporaryDir dir;
  FakeDesktop desktop;
  desktop.save_to = dir.filePath(QStringLiteral("edited.scene"));
  frmKaldra form([] {}, desktop.Services());
  // The full scene: 101 short segments side by side, no two of the same slope.
  QString text = refused.contains("101") ? "" : s0 + s1 + s2;
  for (int k = 0; refused.contains("101") && k < Scene::kMaxSegments; ++k) {
    text += QStringLiteral("%1 %2 %3 %4\n")
                .arg(3 + 7.5 * k)
                .arg(5 + 5.5 * k)
                .arg(7 + 7.5 * k)
                .arg(6 + 5.51 * k);
  }
  form.Form_Load(SceneOrigin{std::nullopt, Read(text.toUtf8()), "three.scene"});
  QVERIFY(QTest::qWaitForWindowActive(&form));
  const auto described = [&form] {
    return QString::fromStdString(WriteScene(*form.CurrentScene()));
  };
  const QString before = described();
  PressKeys(form, "D");
  QTest::mouseMove(&form, {1, 1});  // Qt drops a move to where the last row left the mouse
  QStringList told;
  QPoint at;
  for (const QString& step : steps.split(' ')) {
    const QString was = described();
    const QString arg = step.mid(1);
    if (const QStringList xy = arg.split(','); xy.size() == 2) at = {xy[0].toInt(), xy[1].toInt()};
    if (step[0] == 'p') QTest::mousePress(&form, Qt::LeftButton, {}, at);
    if (step[0] == 'm') QTest::mouseMove(&form, at);
    if (step[0] == 'r') QTest::mouseRelease(&form, Qt::LeftButton, {}, at);
    if (step[0] == 'k') PressKeys(form, arg);
    for (QAction* a : form.actions()) {
      if (step[0] == 'n' && a->shortcut() == QKeySequence(arg)) ChooseInMenu(form, at, a);
    }
    if (form.Refusal().isEmpty()) continue;
    QCOMPARE(described(), was);
    if (!told.contains(form.Refusal())) told << form.Refusal();
  }
  QCOMPARE(told.size(), refused.isEmpty() ? 0 : refused.count('|') + 1);
  for (const QString& reason : refused.split('|', Qt::SkipEmptyParts)) {
    QVERIFY2(told.join('|').contains(reason), qPrintable(told.join('|')));
  }
  QTRY_VERIFY(!form.Retracing());
  QCOMPARE(described(), after.isEmpty() ? before : after);
  // Saved, the scene reads back as it is, and the renderer draws exactly what
  // the window shows: segments, labels, "N=" and the diagram.
  form.Action(WindowAction::kSaveScene)->trigger();
  const std::optional<Scene> saved = Read(ReadAll(desktop.save_to));
  QVERIFY(saved && SameSegments(*saved, *form.CurrentScene()));
  QCOMPARE(form.Canvas().Image(), Rendered(saved));
}

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
