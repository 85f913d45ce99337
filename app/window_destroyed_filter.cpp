#include "app/window_destroyed_filter.h"

#include <xcb/xcb.h>

namespace kaldra {

WindowDestroyedFilter::WindowDestroyedFilter(const QWidget& window,
                                             std::function<void()> on_destroyed)
    : window_(window), on_destroyed_(std::move(on_destroyed)) {}

bool WindowDestroyedFilter::nativeEventFilter(const QByteArray& event_type, void* message,
                                              qintptr* /*result*/) {
  if (event_type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The top bit marks an event another client sent; a destruction is one
  // whoever asked for it.
  if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
  const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
  // Only a window that has its X window is compared: winId() would create one.
  if (window_.internalWinId() != 0 && destroyed->window == window_.internalWinId()) {
    on_destroyed_();
  }
  return false;
}

}  // namespace kaldra
