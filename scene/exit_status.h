#pragma once

namespace kaldra {

// The exit statuses of both programs, the window and the renderer. A script
// can tell from the status alone whether anything was drawn: 2 means the run
// stopped before drawing and changed nothing, 3 that the drawing or the
// writing of its results failed part way.
inline constexpr int kExitDone = 0;
// The window only: there is no display to open it on.
inline constexpr int kExitNoDisplay = 1;
// Found before drawing: a command line the program does not take, a refused
// scene, an output path that cannot be used.
inline constexpr int kExitUsage = 2;
// Found while or after drawing: a run-time error in the drawing, or an output
// that could not be written.
inline constexpr int kExitRunTime = 3;

}  // namespace kaldra
