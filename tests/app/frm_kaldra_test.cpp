// The window on Qt's offscreen platform, with a counter for the end action and
// the dialogs, the question before changes are lost and the clipboard behind
// DesktopServices; real_window_test.sh checks that the real one ends the
// process, also mid-draw, and shows the legend on the screen.

#include "app/frm_kaldra.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "app/run_time_report.h"
#include "app/window_options.h"
#include "scene/canvas.h"
#include "scene/scene_file.h"
#include "tools/renderer.h"

namespace kaldra {

// The desktop as the tests see it: the file dialogs answer with prepared
// paths (a name typed without an extension), the question before changes are
// lost with a prepared answer, and messages and the clipboard are kept.
struct FakeDesktop {
  QTemporaryDir dir;
  QString save_to = dir.filePath(QStringLiteral("out")), open_from, suggested, copied_text;
  QStringList problems;
  QImage copied_image;
  SaveAnswer answer = SaveAnswer::kCancel;
  int asked = 0;

  DesktopServices Services() {
    return {[this](QWidget*, const QString&, const QString& name, const QString&) {
              suggested = name;
              return save_to;
            },
            [this](QWidget*, const QString&, const QString&) { return open_from; },
            [this](QWidget*, const QString&) { return ++asked, answer; },
            [this](QWidget*, const QString& message) { problems << message; },
            [this](const QImage& image) { copied_image = image; },
            [this](const QString& text) { copied_text = text; }};
  }
  // The one file saved, as "NAME: CONTENTS".
  QByteArray Saved() const {
    const QStringList names = QDir(dir.path()).entryList(QDir::Files);
    QFile file(dir.filePath(names.value(0)));
    if (names.size() != 1 || !file.open(QIODevice::ReadOnly)) return {};
    return names[0].toUtf8() + ": " + file.readAll();
  }
};

namespace {

// Three segments; segment 2 has its right end generated first.
const QString s0 = "100 120 260 200\n", s1 = "420 90 560 230\n", s2 = "480 330 300 400\n";

// The renderer's picture of the scene the window holds, at `scale`.
QImage Rendered(const frmKaldra& form, int scale = 1) {
  ImageCanvas canvas(kDefaultCanvasWidth * scale, kDefaultCanvasHeight * scale);
  RenderScene(canvas, {{}, *form.Model().CurrentScene()}, kDefaultCanvasWidth, kDefaultCanvasHeight,
              false, scale);
  return canvas.Image();
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
QString Named(const frmKaldra& form, std::uint32_t seed) {
  const std::optional<std::uint32_t> o = form.Model().Origin().seed;
  return !o ? "file" : o == seed ? QStringLiteral("seed %1").arg(seed) : "new seed";
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
  // The caption; the client area, today's size unless the screen is too
  // small (at device pixel ratio 2, ctest's second run, the offscreen screen
  // is), resizable; the End button with its caption and place, never taking
  // the focus; the diagram, also what was plotted after the background was
  // complete, in the one image, so a repaint shows exactly the canvas once
  // the hint of the first seconds is gone (a click); Space pauses and never
  // ends, also after Tab and a click; Escape closes an open menu first; and
  // End clicked, Alt+E, Escape, Ctrl+Q and closing the window each call the
  // end action, at once (a button's access key would show it pressed for
  // 100 ms first).
  void WindowFactsAndEveryWayOfEnding() {
    int ends = 0;
    frmKaldra form([&ends] { ++ends; });
    form.Form_Load(9);  // three segments
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("seed 9 \u2014 Kaldra"));
    const QRect screen = form.screen()->availableGeometry();
    QVERIFY(form.size() == QSize(788, 565) || screen.contains(form.frameGeometry()));
    QVERIFY(form.maximumWidth() > 788 * 8 && form.maximumHeight() > 565 * 8);
    QCOMPARE(form.cmdEnd()->text(), QStringLiteral("End(&E)"));
    QCOMPARE(form.cmdEnd()->geometry(), QRect(112, 8, 57, 25));
    if (form.devicePixelRatio() == 1) {
      QVERIFY(Shown(form) != form.Canvas().Image());  // the hint
      QTest::mouseClick(&form, Qt::LeftButton, {}, {400, 300});
      QCOMPARE(Shown(form), form.Canvas().Image());
    }
    PressKeys(form, "Space; Tab; Space");
    QCOMPARE(form.Model().Paused(), false);
    QTest::mouseClick(&form, Qt::LeftButton, {}, {400, 300});
    PressKeys(form, "Space");
    QVERIFY(form.Model().Paused() && ends == 0 && QApplication::focusWidget() != form.cmdEnd());
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(400, 300),
                                  form.mapToGlobal(QPoint(400, 300)));
    QApplication::sendEvent(&form, &right_click);
    QTest::keyClick(form.ContextMenu(), Qt::Key_Escape);
    QVERIFY(!form.ContextMenu()->isVisible() && ends == 0);
    QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
    PressKeys(form, "Alt+E; Esc; Ctrl+Q");
    form.close();
    QCOMPARE(ends, 5);
    // A run-time error ends with the renderer's status for one, once the
    // message box is closed.
    QTimer::singleShot(100, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(RunLoadHandler(form, [] { throw RunTimeError("division by zero"); }), 3);
    // The scene the command line asks for (its refusals are the command-line test's).
    QCOMPARE(ParseWindowOptions({"--seed", "9"}).options.seed.value_or(0), 9u);
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
        "seed 9, legend; seed 9, ended; seed 9, editing; ; ; ; seed 9, exact diagram; "
        "seed 9, probe";
    // Not here: edit mode's own actions (see Editing), the steps, which need a
    // paused drawing (the instrument's tests), and projector mode's picture,
    // which is not the renderer's (see LargerAndProjector).
    for (const WindowActionInfo& info : kWindowActions) {
      const QByteArray name = QString::fromUtf8(info.menu_text).remove('&').remove("...").toUtf8();
      const int a = static_cast<int>(info.action);
      for (const bool by_menu : {false, true}) {
        if (EditModeOnly(info.action) || StepsWhilePaused(info.action) ||
            info.action == WindowAction::kProjector || (!by_menu && !*info.keys))
          continue;
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
    const Instrument& m = form.Model();
    // One action, so at most one of each group shows.
    QStringList got = {Named(form, 9),
                       form.Canvas().PixelsWritten() > written ? "redrawn" : "",
                       m.PairDelayMs() > 0 ? QStringLiteral("%1 ms").arg(m.PairDelayMs()) : "",
                       m.Paused()        ? "paused"
                       : m.LegendShown() ? "legend"
                       : m.Editing()     ? "editing"
                       : m.ExactShown()  ? "exact diagram"
                       : m.Probing()     ? "probe"
                                         : "",
                       !desktop.copied_text.isEmpty()  ? "copied " + desktop.copied_text
                       : desktop.copied_image.isNull() ? QFileInfo(desktop.suggested).fileName()
                                                       : "copied picture",
                       ends > 0 ? "ended" : ""};
    got.removeAll(QString());
    QCOMPARE(got.join(", "), effect);
    QVERIFY(desktop.problems.isEmpty());
    const QImage& canvas = form.Canvas().Image();
    QCOMPARE(canvas, Rendered(form));
    QVERIFY(desktop.copied_image.isNull() || desktop.copied_image == canvas);
    // A name typed without an extension gets the one suggested.
    if (effect.endsWith("png"))
      QCOMPARE(desktop.Saved(), "out.png: " + QByteArray::fromStdString(EncodePng(canvas)));
    QVERIFY(!effect.endsWith("scene") ||
            desktop.Saved().startsWith("out.scene: # Kaldra scene, 788x565, seed 9"));
    QCOMPARE(Shown(form) != canvas, m.LegendShown() || m.Paused() || m.PairDelayMs() > 0 ||
                                        m.Editing() || m.ExactShown() || m.ProbeAtPointer());
  }

  // The exact diagram (X) and the probe (I) over the three segments s0, s1, s2,
  // painted over the canvas and never into it: the exact diagram changes the
  // pixels at the middle of each of its curves; the probe follows the
  // pointer, on the diagram of segments 0 and 1 at (340, 145), and leaves
  // with it; saved and copied pictures stay the canvas, and with both off
  // again the window shows the canvas alone.
  void ExactDiagramAndProbe() {
    FakeDesktop desktop;
    frmKaldra form([] {}, desktop.Services());
    form.Form_Load("3", *ReadScene((s0 + s1 + s2).toStdString(), 788, 565).scene);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const QImage& canvas = form.Canvas().Image();
    PressKeys(form, "X");
    const QImage exact = Shown(form);
    for (const auto& [from, control, to] : form.Model().Exact()->curves) {
      const QPointF middle = QPointF(from.x + 2 * control.x + to.x, from.y + 2 * control.y + to.y);
      QVERIFY(exact.pixel((middle / 4).toPoint()) != canvas.pixel((middle / 4).toPoint()));
    }
    PressKeys(form, "I");
    QTest::mouseMove(&form, {340, 145});
    QCOMPARE(form.Model().ProbeAtPointer().value().nearest.size(), 2u);
    QVERIFY(Shown(form) != exact);
    PressKeys(form, "Ctrl+S; Ctrl+C");
    QVERIFY(desktop.Saved() == "out.png: " + QByteArray::fromStdString(EncodePng(canvas)) &&
            desktop.copied_image == canvas);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&form, &leave);
    QVERIFY(!form.Model().ProbeAtPointer());
    QCOMPARE(Shown(form), exact);
    PressKeys(form, "X; I");
    QCOMPARE(Shown(form), canvas);
  }

  // Keys pressed 150 ms into the drawing of seed 6, slowed or paused, the
  // exact diagram and the probe among them. Ending:
  // the drawing waits before a pair while handling input, so a key still
  // works, and End or closing the window reaches the end action within 100 ms;
  // the drawing then stops. At 20 ms per pair: saving keeps what is drawn so
  // far, a refused file leaves the scene and the drawing alone, another scene
  // abandons the drawing and is drawn instead, at full speed after 0.
  void WhileTheDrawingRuns_data() {
    QTest::addColumn<QString>("row");  // pace | keys | the scene drawn in the end
    QTest::newRow("slowest, End clicked") << QString("-; -; -; -; -; - | L; X; I; End | ended");
    QTest::newRow("paused, window closed") << QString("P | L; X; I; close | ended");
    QTest::newRow("save, open, new scene") << QString("- | X; I; Ctrl+S; Ctrl+O; N; 0 | new seed");
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
      sent_at = clock.elapsed();
      for (const QString& key : column[1].split("; ")) {
        if (key == "End") QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
        if (key == "close") form.close();
        if (key != "End" && key != "close") PressKeys(form, key);
      }
    });
    form.Form_Load(6);
    QVERIFY(!form.Model().Drawing() && form.Model().ExactShown() && form.Model().Probing());
    if (column[2] == "ended") {
      QVERIFY(form.Model().LegendShown());
      QVERIFY2(ended_at >= 0 && ended_at - sent_at < 100, qPrintable(QString::number(ended_at)));
      QVERIFY(clock.elapsed() - sent_at < 200);  // the drawing stopped, no pair later
      return;
    }
    QCOMPARE(Named(form, 6), column[2]);
    QCOMPARE(form.Canvas().Image(), Rendered(form));
    QVERIFY(desktop.problems.join('|').contains("bad-crossing.scene:4: "));
    QCOMPARE(QImage::fromData(desktop.Saved().mid(9)), so_far);
    QVERIFY(so_far != form.Canvas().Image());
  }

  // Edit mode (D) on the three segments s0, s1, s2, as the mouse, the keys
  // and the context menu drive it (what each edit does is the instrument's,
  // tested without a window): the menu's Undo disabled with nothing to undo;
  // a drag across a refusal, told next to the pointer over the canvas, and
  // back; a deletion by key and one by the menu at the point clicked, undone
  // and redone by key; in the end the segments,
  // saved, read back as they are, and the renderer draws exactly what the
  // window shows: segments, labels, "N=" and the diagram traced away from the
  // window.
  void Editing() {
    FakeDesktop desktop;
    frmKaldra form([] {}, desktop.Services());
    form.Form_Load("3", *ReadScene((s0 + s1 + s2).toStdString(), 788, 565).scene);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto segments = [&form] {
      return QString::fromStdString(WriteScene(*form.Model().CurrentScene()));
    };
    PressKeys(form, "D");
    QVERIFY(!form.Action(WindowAction::kUndo)->isEnabled());
    QTest::mouseMove(&form, {1, 1});  // Qt drops a move to where the last test left the mouse
    QTest::mousePress(&form, Qt::LeftButton, {}, {260, 200});
    QTest::mouseMove(&form, {500, 100});
    QCOMPARE(form.Model().Refusal(), "the segment crosses segment 1");
    QVERIFY(Shown(form) != form.Canvas().Image());
    QTest::mouseRelease(&form, Qt::LeftButton, {}, {270, 235});
    QTest::mouseMove(&form, {490, 160});
    PressKeys(form, "Del; Ctrl+Z; Ctrl+Shift+Z");
    ChooseInMenu(form, {185, 177}, form.Action(WindowAction::kDeleteSegment));
    QTRY_VERIFY(!form.Model().Retracing());
    QCOMPARE(segments(), s2);
    form.Action(WindowAction::kSaveScene)->trigger();
    QVERIFY(desktop.Saved().endsWith(segments().toUtf8()));
    QCOMPARE(form.Canvas().Image(), Rendered(form));
  }

  // With changes not saved, each way of losing them asks first: cancel keeps
  // everything, discard goes ahead, save writes the scene file first (named
  // in the caption) and goes ahead. Each row: the command, the answer (each
  // given to a command that ends and to one that replaces the scene), what
  // came of it.
  void AskBeforeChangesAreLost_data() {
    QTest::addColumn<QString>("row");
    for (const char* row : {"End cancel: kept", "close discard: ended", "Esc save: saved, ended",
                            "Ctrl+Q cancel: kept", "N save: saved, replaced",
                            "Ctrl+O discard: replaced", "N cancel: kept"}) {
      QTest::newRow(row) << QString(row);
    }
  }

  void AskBeforeChangesAreLost() {
    QFETCH(QString, row);
    const QString command = row.section(' ', 0, 0), answer = row.section(' ', 1, 1).chopped(1);
    FakeDesktop desktop;
    desktop.answer = answer == "save"      ? SaveAnswer::kSave
                     : answer == "discard" ? SaveAnswer::kDiscard
                                           : SaveAnswer::kCancel;
    desktop.open_from = KALDRA_SCENE_CORPUS "/ok-three.scene";
    int ends = 0;
    frmKaldra form([&ends] { ++ends; }, desktop.Services());
    form.Form_Load("3", *ReadScene((s0 + s1 + s2).toStdString(), 788, 565).scene);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    PressKeys(form, "D");
    QTest::mousePress(&form, Qt::LeftButton, {}, {260, 200});
    QTest::mouseMove(&form, {270, 235});
    QTest::mouseRelease(&form, Qt::LeftButton, {}, {270, 235});
    const std::string edited = WriteScene(*form.Model().CurrentScene());
    QCOMPARE(form.windowTitle(), QStringLiteral("3* \u2014 Kaldra"));
    if (command == "End") QTest::mouseClick(form.cmdEnd(), Qt::LeftButton);
    if (command == "close") form.close();
    if (command != "End" && command != "close") PressKeys(form, command);
    const bool saved = desktop.Saved().startsWith("out.scene: ");
    const bool kept = WriteScene(*form.Model().CurrentScene()) == edited;
    QCOMPARE(desktop.asked, 1);
    QCOMPARE(QString(saved ? "saved, " : "") + (ends > 0 ? "ended"
                                                : kept   ? "kept"
                                                         : "replaced"),
             row.section(": ", 1));
    QCOMPARE(form.isVisible(), ends == 0 || command != "close");
    QCOMPARE(form.windowTitle().endsWith("* \u2014 Kaldra"), kept && !saved);
  }

  // Larger, the window traces the diagram again at the largest whole scale
  // that fits, exactly the renderer's --scale picture, shown centred one to
  // one; projector mode (V) plots the same points as larger blocks, so no
  // point of the diagram is left black (the larger letters of the labels
  // are another matter).
  void LargerAndProjector() {
    frmKaldra form([] {});
    form.Form_Load(9);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(&form, Qt::LeftButton, {}, {400, 300});  // the hint goes
    form.resize(1700, 1200);
    QTRY_COMPARE(form.Canvas().Image().size(), QSize(1576, 1130));
    const QImage larger = Rendered(form, 2);
    QCOMPARE(form.Canvas().Image(), larger);
    QCOMPARE(Shown(form).copy(62, 35, 1576, 1130), larger);
    PressKeys(form, "V");
    QTRY_VERIFY(!form.Model().Retracing());
    const QImage& thick = form.Canvas().Image();
    int lost = 0;  // a point of the diagram left black
    for (int y = 0; y < larger.height(); ++y) {
      for (int x = 0; x < larger.width(); ++x) {
        const QRgb plotted = larger.pixel(x, y);
        lost += plotted != 0xFF000000u && plotted != 0xFFFFFFFFu &&
                thick.pixel(x, y) == 0xFF000000u;
      }
    }
    QCOMPARE(lost, 0);
    QVERIFY(thick != larger);
  }
};

}  // namespace kaldra

QTEST_MAIN(kaldra::FrmKaldraTest)
#include "frm_kaldra_test.moc"
