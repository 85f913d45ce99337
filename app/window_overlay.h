#pragma once

#include <QPainter>
#include <QRect>

#include "instrument/instrument.h"

namespace kaldra {

// Paints what the instrument puts over the canvas image, never into it, so
// that the canvas holds exactly the diagram whatever is shown on top: the
// exact diagram in thin lines; the pair being traced under a wide translucent
// band that leaves the segments and the curves near them visible; the probe's
// circle, its lines to the nearest segments and its reading in a box above
// the pointer; the legend in a box at the top right, naming each family of
// curves with its colours, in words as well, since several colours are shared
// by two families; why an edit was refused in a box next to the pointer, kept
// inside the client area; and the status line in a box at the bottom left.
void PaintOverlay(QPainter& painter, const QRect& client, const Overlay& overlay);

}  // namespace kaldra
