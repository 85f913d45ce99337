// close_window WINDOW_ID: asks the window to close the way a window manager
// does for the frame's close box, with a WM_DELETE_WINDOW client message
// (xdotool can only destroy a window or kill its client).

#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const auto atom = [connection](const char* name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  };
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = std::strtoul(argv[1], nullptr, 0);
  message.type = atom("WM_PROTOCOLS");
  message.data.data32[0] = atom("WM_DELETE_WINDOW");
  xcb_generic_error_t* error = xcb_request_check(
      connection, xcb_send_event_checked(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                                         reinterpret_cast<const char*>(&message)));
  const bool sent = error == nullptr && xcb_connection_has_error(connection) == 0;
  std::free(error);
  xcb_disconnect(connection);
  return sent ? 0 : 1;
}
