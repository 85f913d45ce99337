#include "app/desktop_services.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

namespace kaldra {

DesktopServices DesktopServices::Real() {
  DesktopServices desktop;
  desktop.save_file_name = [](QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) {
    QFileDialog dialog(parent, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  desktop.open_file_name = [](QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
  };
  desktop.ask_save = [](QWidget* parent, const QString& scene) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kaldra"),
                    QStringLiteral("The scene (%1) has changes that are not saved.").arg(scene),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Save them before they are lost?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
      case QMessageBox::Save:
        return SaveAnswer::kSave;
      case QMessageBox::Discard:
        return SaveAnswer::kDiscard;
      default:
        return SaveAnswer::kCancel;
    }
  };
  desktop.tell_problem = [](QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Kaldra"), message);
  };
  desktop.copy_image = [](const QImage& image) { QGuiApplication::clipboard()->setImage(image); };
  desktop.copy_text = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
  return desktop;
}

}  // namespace kaldra
