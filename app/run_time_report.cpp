#include "app/run_time_report.h"

#include <cstdio>

#include <QMessageBox>

#include "instrument/run_time_message.h"

namespace kaldra {

QString RunTimeErrorMessage(const RunTimeError& error) {
  return QString::fromStdString(RunTimeErrorText(error.what()));
}

int RunLoadHandler(QWidget& window, const std::function<void()>& load) {
  try {
    load();
  } catch (const RunTimeError& error) {
    // The drawing cannot go on from a fault, and nothing is drawn around it.
    std::fprintf(stderr, "kaldra: run-time error: %s\n", error.what());
    QMessageBox::critical(&window, QStringLiteral("Kaldra"), RunTimeErrorMessage(error));
    return kExitRunTime;
  }
  return 0;
}

}  // namespace kaldra
