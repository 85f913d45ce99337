#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>

#include "app/frm_kaldra.h"
#include "app/open_display.h"
#include "app/run_time_report.h"
#include "app/window_destroyed_filter.h"
#include "app/window_options.h"
#include "instrument/scene_origin.h"
#include "scene/exit_status.h"
#include "scene/random_source.h"

namespace {

bool IsSetAndNotEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Whether Qt will find a window system to connect to. On X11 and Wayland
// desktops a missing display makes Qt abort the process (with a core dump)
// instead of failing; an explicitly chosen platform is left to Qt.
bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  return IsSetAndNotEmpty("QT_QPA_PLATFORM") || IsSetAndNotEmpty("DISPLAY") ||
         IsSetAndNotEmpty("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
  // The arguments are read before QApplication exists, so that --help,
  // --version and a refused scene file need no display, and Qt never sees an
  // option meant for the window.
  const kaldra::ParsedWindowOptions parsed = kaldra::ParseWindowOptions(
      std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.usage_error) {
    std::fprintf(stderr, "%s\n", parsed.usage_error->c_str());
    return kaldra::kExitUsage;
  }
  const kaldra::WindowOptions& options = parsed.options;
  if (options.action == kaldra::WindowOptions::Action::kHelp) {
    std::fputs(kaldra::WindowUsageText().c_str(), stdout);
    return kaldra::kExitDone;
  }
  if (options.action == kaldra::WindowOptions::Action::kVersion) {
    std::printf("%s\n", kaldra::WindowVersionText().c_str());
    return kaldra::kExitDone;
  }
  kaldra::WindowSceneRead read;
  if (options.scene_path) {
    read = kaldra::ReadWindowSceneFile(*options.scene_path, kaldra::kDefaultCanvasWidth,
                                       kaldra::kDefaultCanvasHeight);
    if (!read.scene) {
      // A refused scene is told as the renderer tells it, "FILE:LINE: reason".
      std::fprintf(stderr, "%s%s\n", read.unreadable ? "kaldra: " : "", read.problem.c_str());
      return kaldra::kExitUsage;
    }
  }
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "kaldra: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
    return kaldra::kExitNoDisplay;
  }

  // Qt sees only the program's name: every argument was the window's own.
  int qt_argc = 1;
  const std::unique_ptr<QApplication> application = kaldra::OpenDisplay(qt_argc, argv);
  kaldra::frmKaldra form;
  // A window destroyed by another program ends the program as closing it does.
  kaldra::WindowDestroyedFilter destroyed(form, [&form] { form.WindowGone(); });
  QApplication::instance()->installNativeEventFilter(&destroyed);
  const auto load = [&] {
    if (read.scene) {
      form.Form_Load(*options.scene_path, std::move(*read.scene));
    } else if (options.seed) {
      form.Form_Load(*options.seed);
    } else {
      form.Form_Load();
    }
  };
  if (const int status = kaldra::RunLoadHandler(form, load); status != 0) return status;
  return QApplication::exec();
}
