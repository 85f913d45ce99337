#include "app/desktop_services.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace kaldra {

DesktopServices DesktopServices::Real() {
  DesktopServices desktop;
  desktop.save_file_name = [](QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
  };
  desktop.open_file_name = [](QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
  };
  desktop.tell_problem = [](QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Kaldra"), message);
  };
  desktop.copy_image = [](const QImage& image) { QGuiApplication::clipboard()->setImage(image); };
  desktop.copy_text = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
  return desktop;
}

}  // namespace kaldra
