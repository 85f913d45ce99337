// The window's file actions: opening a scene, saving the picture and the
// scene, through the desktop's dialogs, and asking before changes are lost.
#include <QFile>
#include <QFileInfo>

#include "app/frm_kaldra.h"
#include "output_files/output_files.h"

namespace kaldra {

bool frmKaldra::ChangesMayGo() {
  if (!model_.Modified()) return true;
  const SaveAnswer answer = desktop_.ask_save(this, QString::fromStdString(model_.SceneLabel()));
  if (answer == SaveAnswer::kSave) SaveScene();
  return model_.GoesAheadAfter(answer);
}

void frmKaldra::OpenScene() {
  if (!ChangesMayGo()) return;
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

QString frmKaldra::SavePath(const QString& caption, const QString& suggested,
                            const QString& filter) {
  QString chosen = desktop_.save_file_name(this, caption, suggested, filter);
  if (chosen.isEmpty()) return chosen;
  const QString extension = QLatin1Char('.') + QFileInfo(suggested).suffix();
  QString path = QString::fromStdString(
      WithExtension(chosen.toStdString(), extension.toStdString()));
  // The dialog asked before replacing the file chosen, not this one.
  if (path != chosen && QFileInfo::exists(path)) {
    desktop_.tell_problem(this, QStringLiteral("%1 exists already; choose it by its whole name to "
                                               "replace it. Nothing was saved.")
                                    .arg(path));
    return {};
  }
  return path;
}

void frmKaldra::SavePicture() {
  // What is drawn so far, also while the drawing goes on.
  const QImage picture = canvas_.Image().copy();
  const QString name = QString::fromStdString(model_.SceneName());
  const QString path = SavePath(QStringLiteral("Save picture"),
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
  const QString path = SavePath(QStringLiteral("Save scene"),
                                QStringLiteral("kaldra-%1.scene").arg(name),
                                QStringLiteral("Kaldra scenes (*.scene)"));
  if (!path.isEmpty() && WriteFile(path, std::move(*text))) At().SceneSaved(path.toStdString());
}

bool frmKaldra::WriteFile(const QString& path, std::string contents) {
  // As the renderer writes its outputs: a regular file whole or not at all, a
  // device or a pipe in place.
  if (auto problem = WriteOutputs({{QFile::encodeName(path).toStdString(), std::move(contents)}})) {
    desktop_.tell_problem(this, QString::fromStdString(*problem));
    return false;
  }
  return true;
}

}  // namespace kaldra
