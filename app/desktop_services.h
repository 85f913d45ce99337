#pragma once

#include <functional>

#include <QImage>
#include <QString>
#include <QWidget>

#include "instrument/instrument.h"

namespace kaldra {

// What the window asks of the desktop: file dialogs, message boxes and the
// clipboard. Tests put their own functions here, so every action can be driven
// in-process without a dialog waiting for a person.
struct DesktopServices {
  // The file to write, or an empty string when the user cancels. The dialog
  // asks before an existing file is replaced, and adds the suggested name's
  // extension to a name typed without one.
  std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter)>
      save_file_name;
  // The file to read, or an empty string when the user cancels.
  std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>
      open_file_name;
  // Asks whether to save the changes to the scene named `scene` before they
  // are lost: save, discard or cancel.
  std::function<SaveAnswer(QWidget* parent, const QString& scene)> ask_save;
  // Tells the user why something they asked for did not happen.
  std::function<void(QWidget* parent, const QString& message)> tell_problem;
  std::function<void(const QImage& image)> copy_image;
  std::function<void(const QString& text)> copy_text;

  // The desktop's own dialogs, message boxes and clipboard.
  static DesktopServices Real();
};

}  // namespace kaldra
