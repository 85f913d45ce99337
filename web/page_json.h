#pragma once

#include <string>

#include "instrument/exact_layer.h"
#include "web/web_page.h"

namespace kaldra {

// What the page's script reads from the instrument, as JSON.

// The actions of the window (kWindowActions) in their order: the action's
// number and name, whether the front end carries it out (files, the
// clipboard, a new seed, ending), the menu's text with its access key after
// '&', the keys, what it does, and whether it exists only in edit mode.
std::string ActionsJson();

// Everything the page shows but the canvas's pixels: the caption, whether a
// diagram is still being made (aria-busy), the link to the scene, the menu's
// entries and their states, the overlay and the exact diagram's version.
// `link` is SceneLink's, which the caller keeps while the scene stays.
std::string StateJson(const WebPage& page, int exact_version, const std::string& link);

// The exact diagram's curves, each [from x, from y, control x, control y, to
// x, to y]: a parabolic arc, or a line with its control point half way.
std::string ExactJson(const ExactLayer* layer);

// The runs whose outer indices the workers are to trace, the older first:
// each with its id, the number of indices and its canvas's size.
std::string RunsJson(const WebPage& page);

}  // namespace kaldra
