#pragma once

#include <functional>

#include <QString>
#include <QWidget>

#include "scene/exit_status.h"
#include "scene/run_time_error.h"

namespace kaldra {

// The exit status of a run that a run-time error ended: the renderer's for
// the same fault.
inline constexpr int kRunTimeErrorStatus = kExitRunTime;

// What the user is told when a run-time error ends the drawing.
QString RunTimeErrorMessage(const RunTimeError& error);

// Runs the window's load handler. A run-time error it raises abandons the
// drawing: the error goes to standard error and into a message box over
// `window`, and the result is kRunTimeErrorStatus once the box is closed.
// Returns 0 when the handler ran to its end.
int RunLoadHandler(QWidget& window, const std::function<void()>& load);

}  // namespace kaldra
