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
// inside the client area; a segment being added as a dashed line; and the
// status line in a box at the bottom left, or in its place the hint of a run
// nobody touched yet. Places on the canvas are shown where the overlay's view
// puts them, in device pixels, `ratio` of them to a pixel of the painter.
void PaintOverlay(QPainter& painter, const QRect& client, const Overlay& overlay, double ratio);

}  // namespace kaldra
