#include "app/window_menu.h"

#include <initializer_list>

namespace kaldra {

WindowMenu::WindowMenu(QWidget& window, const std::function<void(WindowAction)>& trigger) {
  for (const WindowActionInfo& info : kWindowActions) {
    auto* action = new QAction(QString::fromUtf8(info.menu_text), &window);
    action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(info.keys)));
    action->setCheckable(
        info.action == WindowAction::kPause || info.action == WindowAction::kLegend ||
        info.action == WindowAction::kEditMode || info.action == WindowAction::kExactDiagram ||
        info.action == WindowAction::kProbe || info.action == WindowAction::kProjector);
    // A hidden action's key does nothing, so the edit keys wait for edit mode.
    action->setVisible(!EditModeOnly(info.action));
    QObject::connect(action, &QAction::triggered, &window,
                     [trigger, which = info.action] { trigger(which); });
    window.addAction(action);
    actions_[static_cast<std::size_t>(info.action)] = action;
  }
  menu_ = new QMenu(&window);
  scene_entry_ = menu_->addAction(QString());
  scene_entry_->setEnabled(false);
  const auto add = [this](std::initializer_list<WindowAction> group) {
    for (const WindowAction a : group) menu_->addAction(Action(a));
    menu_->addSeparator();
  };
  add({WindowAction::kCopySeed});
  add({WindowAction::kNewScene, WindowAction::kRedraw});
  pace_entry_ = menu_->addAction(QString());
  pace_entry_->setEnabled(false);
  add({WindowAction::kSlower, WindowAction::kFaster, WindowAction::kFullSpeed, WindowAction::kPause,
       WindowAction::kStepForward, WindowAction::kStepBack, WindowAction::kStepToStart});
  add({WindowAction::kOpenScene, WindowAction::kSavePicture, WindowAction::kSaveScene,
       WindowAction::kCopyPicture});
  add({WindowAction::kEditMode, WindowAction::kUndo, WindowAction::kRedo,
       WindowAction::kDeleteSegment});
  add({WindowAction::kLegend, WindowAction::kExactDiagram, WindowAction::kProbe,
       WindowAction::kProjector});
  menu_->addAction(Action(WindowAction::kQuit));
}

void WindowMenu::Sync(const Instrument& model) {
  scene_entry_->setText(QString::fromStdString(model.SceneLabel()));
  const bool seed = model.Origin().seed && model.Origin().file_name.empty();
  Action(WindowAction::kCopySeed)
      ->setText(seed ? QStringLiteral("&Copy seed") : QStringLiteral("&Copy file name"));
  // An edited seed's scene has neither a seed nor a file that reproduces it.
  Action(WindowAction::kCopySeed)->setEnabled(!model.CopyText().empty());
  pace_entry_->setText(QString::fromStdString(model.PaceLabel()));
  Action(WindowAction::kPause)->setChecked(model.Paused());
  Action(WindowAction::kLegend)->setChecked(model.LegendShown());
  Action(WindowAction::kEditMode)->setChecked(model.Editing());
  Action(WindowAction::kExactDiagram)->setChecked(model.ExactShown());
  Action(WindowAction::kProbe)->setChecked(model.Probing());
  Action(WindowAction::kProjector)->setChecked(model.Projector());
  for (const WindowActionInfo& info : kWindowActions) {
    if (EditModeOnly(info.action)) Action(info.action)->setVisible(model.Editing());
  }
  for (const WindowActionInfo& info : kWindowActions) {
    if (StepsWhilePaused(info.action)) Action(info.action)->setEnabled(model.Paused());
  }
  Action(WindowAction::kUndo)->setEnabled(model.CanUndo());
  Action(WindowAction::kRedo)->setEnabled(model.CanRedo());
}

}  // namespace kaldra
