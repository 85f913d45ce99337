#include "app/open_display.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene/exit_status.h"

namespace kaldra {

namespace {

// A message Qt logged while starting. The context's strings are literals in
// Qt's code, so the pointers stay good.
struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};

// A message handler is a plain function, so what it holds lives here, and
// only while OpenDisplay runs; Qt starts on this one thread.
std::vector<HeldMessage>* held_messages = nullptr;

void HoldOrGiveUp(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held_messages->push_back(
        {type, context.file, context.line, context.function, context.category, text});
    return;
  }
  // Qt found no platform plugin that could start; it would abort after this
  // message. The first thing it said is the reason ("could not connect to
  // display :99"); its last words only suggest reinstalling.
  const QString reason = held_messages->empty() ? text.section(QLatin1Char('.'), 0, 0)
                                                : held_messages->front().text;
  std::string display;
  if (const char* name = std::getenv("DISPLAY")) display = std::string(" '") + name + "'";
  std::fprintf(stderr, "kaldra: cannot open the display%s: %s\n", display.c_str(),
               reason.toLocal8Bit().constData());
  std::fflush(stderr);
  std::_Exit(kExitNoDisplay);
}

}  // namespace

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv) {
  std::vector<HeldMessage> held;
  held_messages = &held;
  const QtMessageHandler previous = qInstallMessageHandler(HoldOrGiveUp);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  held_messages = nullptr;
  for (const HeldMessage& m : held) {
    previous(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
  }
  return application;
}

}  // namespace kaldra
