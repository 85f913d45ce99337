#include <cstdio>

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "app/frm_kaldra.h"
#include "scene/run_time_error.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  kaldra::frmKaldra form;
  try {
    form.Form_Load();
  } catch (const kaldra::RunTimeError& error) {
    // A run-time error ends the run: it is reported, never drawn around.
    std::fprintf(stderr, "kaldra: %s\n", error.what());
    QMessageBox::critical(&form, QStringLiteral("Kaldra"), QString::fromUtf8(error.what()));
    return 1;
  }
  return QApplication::exec();
}
