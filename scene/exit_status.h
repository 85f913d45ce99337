#pragma once

namespace kaldra {

// The exit statuses of both programs, one per meaning, so a script can tell
// what went wrong without knowing which program it ran.
inline constexpr int kExitDone = 0;
// The window cannot be opened: there is no display to open it on.
inline constexpr int kExitNoDisplay = 1;
// Found before any drawing: a command line the program does not take, a scene
// file it refuses, an output it may not write.
inline constexpr int kExitUsage = 2;
// Found while or after drawing: a run-time error in the drawing (a
// floating-point fault), or an output that could not be written.
inline constexpr int kExitRunTime = 3;

}  // namespace kaldra
