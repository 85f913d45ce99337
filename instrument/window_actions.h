#pragma once

#include <array>
#include <string>

namespace kaldra {

// What the user can ask of the window besides End.
enum class WindowAction {
  kNewScene,
  kRedraw,
  kSlower,
  kFaster,
  kFullSpeed,
  kPause,
  kCopySeed,
  kOpenScene,
  kSavePicture,
  kSaveScene,
  kCopyPicture,
  kLegend,
  kQuit,
  kEditMode,
  kUndo,
  kRedo,
  kDeleteSegment,
  kExactDiagram,
  kProbe,
  kStepForward,
  kStepBack,
  kStepToStart,
  kProjector,
};

// One action as the context menu, the shortcuts and --help present it. The
// one table feeds all three, so they cannot drift apart.
struct WindowActionInfo {
  WindowAction action;
  const char* menu_text;  // the menu entry; the letter after '&' is its access key
  const char* keys;       // the shortcuts in portable key-sequence text, "; " between them
  const char* help;       // what it does, in a few words
};

inline constexpr std::array<WindowActionInfo, 23> kWindowActions = {{
    {WindowAction::kNewScene, "&New scene", "N", "a new random scene, drawn from the start"},
    {WindowAction::kRedraw, "&Redraw", "R", "the same scene again, from the start"},
    {WindowAction::kSlower, "&Slower", "-",
     "pair by pair, slower each time, the traced pair highlighted"},
    {WindowAction::kFaster, "&Faster", "+; =", "back towards full speed"},
    {WindowAction::kFullSpeed, "F&ull speed", "0", "the pace at start"},
    {WindowAction::kPause, "&Pause / resume", "P; Space", "hold the drawing between two pairs"},
    {WindowAction::kCopySeed, "&Copy seed", "", "copy the seed (or the file name)"},
    {WindowAction::kOpenScene, "&Open scene...", "Ctrl+O", "draw a scene file"},
    {WindowAction::kSavePicture, "Save pic&ture...", "Ctrl+S", "save the canvas as PNG"},
    {WindowAction::kSaveScene, "Save sc&ene...", "Ctrl+Shift+S", "save the scene as a file"},
    {WindowAction::kCopyPicture, "Copy p&icture", "Ctrl+C", "copy the canvas to the clipboard"},
    {WindowAction::kLegend, "&Legend", "L", "show or hide the colours of the curve families"},
    {WindowAction::kQuit, "&Quit", "Esc; Ctrl+Q", "end the program, like End"},
    {WindowAction::kEditMode, "E&dit mode", "D",
     "drag an end or a segment to move it, drag on the canvas to add one"},
    {WindowAction::kUndo, "Undo", "Ctrl+Z", "in edit mode, undo the last change"},
    {WindowAction::kRedo, "Redo", "Ctrl+Shift+Z", "in edit mode, redo what was undone"},
    {WindowAction::kDeleteSegment, "Delete se&gment", "Del",
     "in edit mode, delete the segment under the cursor"},
    {WindowAction::kExactDiagram, "E&xact diagram", "X",
     "show or hide the exact Voronoi diagram over the canvas"},
    {WindowAction::kProbe, "Pro&be", "I",
     "the nearest segments and the largest empty circle at the cursor"},
    {WindowAction::kStepForward, "Step for&ward", "Right", "paused, trace one pair more"},
    {WindowAction::kStepBack, "Step bac&k", "Left", "paused, draw again up to the pair before"},
    {WindowAction::kStepToStart, "Back to the st&art", "Home", "paused, back to the first pair"},
    {WindowAction::kProjector, "Pro&jector mode", "V",
     "thicker points and lines and larger labels, for a projector"},
}};

// Whether the action only exists in edit mode: outside it the action is
// hidden from the menu and its key does nothing.
constexpr bool EditModeOnly(WindowAction action) {
  return action == WindowAction::kUndo || action == WindowAction::kRedo ||
         action == WindowAction::kDeleteSegment;
}

// Whether the action steps through a paused drawing: it does nothing unless
// the drawing is paused.
constexpr bool StepsWhilePaused(WindowAction action) {
  return action == WindowAction::kStepForward || action == WindowAction::kStepBack ||
         action == WindowAction::kStepToStart;
}

// The actions with their keys, one per line, for --help.
std::string WindowKeysText();

}  // namespace kaldra
