#include "app/run_time_report.h"

#include <cstdio>

#include <QMessageBox>

namespace kaldra {

QString RunTimeErrorMessage(const RunTimeError& error) {
  return QStringLiteral("Kaldra stopped drawing because of a run-time error:\n\n%1")
      .arg(QString::fromUtf8(error.what()));
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
