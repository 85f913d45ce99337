// The window's file actions: opening a scene, saving the picture and the
// scene, through the desktop's dialogs.
#include <QFile>

#include "app/frm_kaldra.h"
#include "output_files/output_files.h"

namespace kaldra {

void frmKaldra::OpenScene() {
  const QString path = desktop_.open_file_name(
      this, QStringLiteral("Open scene"), QStringLiteral("Kaldra scenes (*.scene);;All files (*)"));
  if (path.isEmpty()) return;
  WindowSceneRead read = ReadWindowSceneFile(QFile::encodeName(path).toStdString(),
                                             kDefaultCanvasWidth, kDefaultCanvasHeight);
  if (!read.scene) {
    // The scene on the canvas stays, and so does a drawing in progress.
    desktop_.tell_problem(this, QString::fromStdString(read.problem));
    return;
  }
  At().ShowFile(path.toStdString(), std::move(*read.scene));
}

void frmKaldra::SavePicture() {
  // What is drawn so far, also while the drawing goes on.
  const QImage picture = canvas_.Image().copy();
  const QString name = QString::fromStdString(model_.SceneName());
  const QString path = desktop_.save_file_name(this, QStringLiteral("Save picture"),
                                               QStringLiteral("kaldra-%1.png").arg(name),
                                               QStringLiteral("PNG pictures (*.png)"));
  if (path.isEmpty()) return;
  std::string png = EncodePng(picture);
  if (png.empty()) {
    desktop_.tell_problem(this, QStringLiteral("The picture could not be encoded as PNG."));
    return;
  }
  WriteFile(path, std::move(png));
}

void frmKaldra::SaveScene() {
  std::optional<std::string> text = model_.SceneFileText();
  if (!text) {
    desktop_.tell_problem(
        this, QStringLiteral("The scene text would not reproduce this scene; nothing was saved."));
    return;
  }
  const QString name = QString::fromStdString(model_.SceneName());
  const QString path = desktop_.save_file_name(this, QStringLiteral("Save scene"),
                                               QStringLiteral("kaldra-%1.scene").arg(name),
                                               QStringLiteral("Kaldra scenes (*.scene)"));
  if (!path.isEmpty()) WriteFile(path, std::move(*text));
}

void frmKaldra::WriteFile(const QString& path, std::string contents) {
  // As the renderer writes its outputs: a regular file whole or not at all, a
  // device or a pipe in place.
  if (auto problem = WriteOutputs({{QFile::encodeName(path).toStdString(), std::move(contents)}})) {
    desktop_.tell_problem(this, QString::fromStdString(*problem));
  }
}

}  // namespace kaldra
