#pragma once

#include <functional>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QWidget>

namespace kaldra {

// Calls `on_destroyed` when another X client destroys the window's X window,
// as `xdotool windowclose` does. Qt does not notice: the widget would live on
// without a window, and the program would never end. Install it with
// QCoreApplication::installNativeEventFilter; on other platforms it does
// nothing.
class WindowDestroyedFilter : public QAbstractNativeEventFilter {
 public:
  WindowDestroyedFilter(const QWidget& window, std::function<void()> on_destroyed);

  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  const QWidget& window_;
  std::function<void()> on_destroyed_;
};

}  // namespace kaldra
