#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>

#include "app/frm_kaldra.h"
#include "app/run_time_report.h"
#include "scene/exit_status.h"

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
  // The arguments are looked at before QApplication exists, so that --version
  // works without a display and Qt never sees an option meant for it: the
  // window takes none.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("kaldra %s\n", KALDRA_VERSION);
    return 0;
  }
  if (argc > 1) {
    // "--version" followed by more is as wrong as anything else; name the
    // first argument that is out of place.
    const int unexpected = std::strcmp(argv[1], "--version") == 0 ? 2 : 1;
    std::fprintf(stderr, "kaldra: unexpected argument '%s'; usage: kaldra [--version]\n",
                 argv[unexpected]);
    return kaldra::kExitUsage;
  }
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "kaldra: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
    return kaldra::kExitNoDisplay;
  }

  QApplication application(argc, argv);
  kaldra::frmKaldra form;
  if (const int status = kaldra::RunLoadHandler(form, [&form] { form.Form_Load(); }); status != 0) {
    return status;
  }
  return QApplication::exec();
}
