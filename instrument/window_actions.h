#pragma once

#include <array>
#include <cstddef>
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

// One action as the context menu, the shortcuts, --help and the web page's
// script present it. The one table feeds them all, so they cannot drift
// apart.
struct WindowActionInfo {
  WindowAction action;
  const char* name;       // for scripts: the enumerator in lower case, "_" between words
  const char* menu_text;  // the menu entry; the letter after '&' is its access key
  const char* keys;       // the shortcuts in portable key-sequence text, "; " between them
  const char* help;       // what it does, in a few words
};

inline constexpr std::array<WindowActionInfo, 23> kWindowActions = {{
    {WindowAction::kNewScene, "new_scene", "&New scene", "N",
     "a new random scene, drawn from the start"},
    {WindowAction::kRedraw, "redraw", "&Redraw", "R", "the same scene again, from the start"},
    {WindowAction::kSlower, "slower", "&Slower", "-",
     "pair by pair, slower each time, the traced pair highlighted"},
    {WindowAction::kFaster, "faster", "&Faster", "+; =", "back towards full speed"},
    {WindowAction::kFullSpeed, "full_speed", "F&ull speed", "0", "the pace at start"},
    {WindowAction::kPause, "pause", "&Pause / resume", "P; Space",
     "hold the drawing between two pairs"},
    {WindowAction::kCopySeed, "copy_seed", "&Copy seed", "", "copy the seed (or the file name)"},
    {WindowAction::kOpenScene, "open_scene", "&Open scene...", "Ctrl+O", "draw a scene file"},
    {WindowAction::kSavePicture, "save_picture", "Save pic&ture...", "Ctrl+S",
     "save the canvas as PNG"},
    {WindowAction::kSaveScene, "save_scene", "Save sc&ene...", "Ctrl+Shift+S",
     "save the scene as a file"},
    {WindowAction::kCopyPicture, "copy_picture", "Copy p&icture", "Ctrl+C",
     "copy the canvas to the clipboard"},
    {WindowAction::kLegend, "legend", "&Legend", "L",
     "show or hide the colours of the curve families"},
    {WindowAction::kQuit, "quit", "&Quit", "Esc; Ctrl+Q", "end the program, like End"},
    {WindowAction::kEditMode, "edit_mode", "E&dit mode", "D",
     "drag an end or a segment to move it, drag on the canvas to add one"},
    {WindowAction::kUndo, "undo", "Undo", "Ctrl+Z", "in edit mode, undo the last change"},
    {WindowAction::kRedo, "redo", "Redo", "Ctrl+Shift+Z", "in edit mode, redo what was undone"},
    {WindowAction::kDeleteSegment, "delete_segment", "Delete se&gment", "Del",
     "in edit mode, delete the segment under the cursor"},
    {WindowAction::kExactDiagram, "exact_diagram", "E&xact diagram", "X",
     "show or hide the exact Voronoi diagram over the canvas"},
    {WindowAction::kProbe, "probe", "Pro&be", "I",
     "the nearest segments and the largest empty circle at the cursor"},
    {WindowAction::kStepForward, "step_forward", "Step for&ward", "Right",
     "paused, trace one pair more"},
    {WindowAction::kStepBack, "step_back", "Step bac&k", "Left",
     "paused, draw again up to the pair before"},
    {WindowAction::kStepToStart, "step_to_start", "Back to the st&art", "Home",
     "paused, back to the first pair"},
    {WindowAction::kProjector, "projector", "Pro&jector mode", "V",
     "thicker points and lines and larger labels, for a projector"},
}};

// The table's row of `action`: the rows follow the enumeration.
constexpr const WindowActionInfo& InfoOf(WindowAction action) {
  return kWindowActions[static_cast<std::size_t>(action)];
}
static_assert(
    [] {
      for (std::size_t k = 0; k < kWindowActions.size(); ++k) {
        if (static_cast<std::size_t>(kWindowActions[k].action) != k) return false;
      }
      return true;
    }(),
    "kWindowActions lists the actions in the enumeration's order");

// Whether the action only exists in edit mode: outside it the action is
// hidden from the menu and its key does nothing.
constexpr bool EditModeOnly(WindowAction action) {
  return action == WindowAction::kUndo || action == WindowAction::kRedo ||
         action == WindowAction::kDeleteSegment;
}

// Whether the action needs the front end's desktop (files, the clipboard,
// asking before changes are lost, ending): Instrument::Do leaves it to the
// front end.
constexpr bool LeftToFrontEnd(WindowAction action) {
  return action == WindowAction::kNewScene || action == WindowAction::kCopySeed ||
         action == WindowAction::kOpenScene || action == WindowAction::kSavePicture ||
         action == WindowAction::kSaveScene || action == WindowAction::kCopyPicture ||
         action == WindowAction::kQuit;
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
