#pragma once

#include <cstdint>

#include "scene/canvas.h"

namespace kaldra {

// A one-pixel line from (x1, y1) to (x2, y2) in `pixel`: the pixels Qt's
// raster engine lights for an aliased line drawn with a one-pixel pen and
// square caps, which is how the window and the renderer drew their segments
// before the core drew them itself; every front end now gets these pixels.
// Pixel (i, j) covers [i, i + 1) x [j, j + 1). The line lights one pixel per
// column (or per row, when it is steep), from the column holding one end to
// the column holding the other. A line of no length lights the pixel PSet
// would; what falls off the surface is not drawn.
void DrawAliasedLine(const PixelSurface& surface, std::uint32_t pixel, double x1, double y1,
                     double x2, double y2);

}  // namespace kaldra
