#include "tools/headless_gui.h"

#include <cstdio>
#include <cstdlib>

namespace kaldra {

namespace {

void ShowCriticalOnly(QtMsgType type, const QMessageLogContext& /*context*/,
                      const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

HeadlessGui::HeadlessGui(char* program_name) : argv_{program_name, nullptr} {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(ShowCriticalOnly);
  application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

}  // namespace kaldra
