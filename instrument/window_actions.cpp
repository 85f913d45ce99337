#include "instrument/window_actions.h"

#include <algorithm>
#include <string_view>

namespace kaldra {

namespace {

// "  KEYS          NAME: HELP", the keys in a column of their own.
std::string KeyLine(std::string keys, std::string_view menu_text, std::string_view help) {
  for (std::size_t at = keys.find("; "); at != std::string::npos; at = keys.find("; ", at)) {
    keys.replace(at, 2, ", ");
  }
  std::string line = "  " + keys;
  line.resize(std::max<std::size_t>(line.size() + 1, 16), ' ');
  for (const char c : menu_text) {
    if (c != '&' && c != '.') line += c;
  }
  return line + ": " + std::string(help) + "\n";
}

}  // namespace

std::string WindowKeysText() {
  std::string text;
  for (const WindowActionInfo& info : kWindowActions) {
    text += KeyLine(*info.keys != '\0' ? info.keys : "(menu)", info.menu_text, info.help);
  }
  return text + KeyLine("Alt+E", "End", "the End button") +
         KeyLine("mouse", "In edit mode",
                 "drag an end, a segment's middle, or from empty canvas for a new one");
}

}  // namespace kaldra
