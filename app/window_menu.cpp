#include "app/window_menu.h"

#include <initializer_list>

namespace kaldra {

WindowMenu::WindowMenu(QWidget& window, const std::function<void(WindowAction)>& trigger) {
  for (const WindowActionInfo& info : kWindowActions) {
    auto* action = new QAction(QString::fromUtf8(info.menu_text), &window);
    action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(info.keys)));
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
  pace_entry_->setText(QString::fromStdString(model.PaceLabel()));
  for (const WindowActionInfo& info : kWindowActions) {
    const ActionState state = model.StateOf(info.action);
    QAction* action = Action(info.action);
    action->setText(QString::fromUtf8(state.text));
    action->setVisible(state.shown);
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked.has_value());
    if (state.checked) action->setChecked(*state.checked);
  }
}

}  // namespace kaldra
