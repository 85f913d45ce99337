#pragma once

#include <memory>

#include <QApplication>

namespace kaldra {

// Creates the application, which connects to the display. When no platform
// plugin can connect (a DISPLAY with no X server behind it, say), Qt gives up
// with an abort and a core dump; here the process ends instead with
// kExitNoDisplay and one line on standard error that names Qt's reason. Qt's
// messages while it starts are held back until then: when the display opens
// they are shown as Qt would have shown them.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

}  // namespace kaldra
