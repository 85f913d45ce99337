// Asks an X window to close the way a window manager does when the user
// clicks the frame's close box: a WM_DELETE_WINDOW client message. (Destroying
// the window or killing its client, as xdotool offers, is not a close request.)
//
//   close_window WINDOW_ID

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(
      connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace

int main(int argc, char* argv[]) {
  char* end = nullptr;
  const unsigned long window = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
  if (argc != 2 || end == argv[1] || *end != '\0' || window == 0 || window > 0xFFFFFFFFul) {
    std::fprintf(stderr, "usage: close_window WINDOW_ID\n");
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "close_window: cannot connect to the X server\n");
    xcb_disconnect(connection);
    return 1;
  }
  const xcb_atom_t protocols = Atom(connection, "WM_PROTOCOLS");
  const xcb_atom_t delete_window = Atom(connection, "WM_DELETE_WINDOW");

  xcb_client_message_event_t message;
  std::memset(&message, 0, sizeof message);
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(window);
  message.type = protocols;
  message.data.data32[0] = delete_window;
  message.data.data32[1] = XCB_CURRENT_TIME;
  const xcb_void_cookie_t sent = xcb_send_event_checked(connection, 0, message.window,
                                                        XCB_EVENT_MASK_NO_EVENT,
                                                        reinterpret_cast<const char*>(&message));
  xcb_generic_error_t* error = xcb_request_check(connection, sent);
  const int status = protocols == XCB_ATOM_NONE || delete_window == XCB_ATOM_NONE || error ? 1 : 0;
  if (status != 0) std::fprintf(stderr, "close_window: could not send the close request\n");
  std::free(error);
  xcb_disconnect(connection);
  return status;
}
