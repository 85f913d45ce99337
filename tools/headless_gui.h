#pragma once

#include <memory>

#include <QGuiApplication>

namespace kaldra {

// The Qt application a picture needs, without a display: the canvas is an
// image in memory, and the offscreen platform still gives Qt its fonts. The
// platform is forced even when the environment names another one, which might
// want a display. Qt sees none of the program's arguments, so it cannot take
// any of them for its own, and its chatter about the environment (a missing
// runtime directory, say) is dropped: only critical messages are shown.
class HeadlessGui {
 public:
  explicit HeadlessGui(char* program_name);

 private:
  int argc_ = 1;
  char* argv_[2];
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace kaldra
