#pragma once

namespace kaldra {

// How thick a canvas draws, in its own pixels. The default is the picture
// every diagram is pinned in and the renderer draws: one-pixel points and
// lines, the 12-pixel labels. A thicker style is for being seen from the back
// of a room; it plots the very same points, each as a square block around its
// pixel, later points over earlier ones as always.
struct CanvasStyle {
  int point_size = 1;   // the side of a plotted point's block; odd, so it has a centre
  int line_width = 1;   // the segments; odd, for the same reason
  int label_scale = 1;  // the labels' bitmaps, each pixel a block this many pixels a side
  bool operator==(const CanvasStyle&) const = default;
};

}  // namespace kaldra
