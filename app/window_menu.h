#pragma once

#include <array>
#include <functional>

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "instrument/instrument.h"
#include "instrument/window_actions.h"

namespace kaldra {

// The window's actions (kWindowActions) as QActions with their keys, and the
// context menu that lists them under the scene's name and the pace.
class WindowMenu {
 public:
  // Adds the actions to `window`, each calling `trigger`.
  WindowMenu(QWidget& window, const std::function<void(WindowAction)>& trigger);

  QAction* Action(WindowAction action) const { return actions_[static_cast<std::size_t>(action)]; }
  QMenu* Menu() const { return menu_; }

  // Shows what the instrument holds: the scene and the pace, the checked
  // actions, edit mode's actions in edit mode, undo and redo when possible.
  void Sync(const Instrument& model);

 private:
  std::array<QAction*, kWindowActions.size()> actions_{};
  QMenu* menu_;
  QAction* scene_entry_;
  QAction* pace_entry_;
};

}  // namespace kaldra
