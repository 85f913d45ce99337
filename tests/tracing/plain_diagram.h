#pragma once

// The diagram traced once more, plainly and on its own: every construction,
// walk and test written out step by step with the standard library only, and
// nothing shared with the drawing code it checks, so that a fault there cannot
// hide in the oracle as well. Slow on purpose; fidelity over speed.

#include <cstdint>
#include <vector>

namespace kaldra::plain {

// One segment as the table stores it: x1 < x2, and its supporting line
// y = slope * x + intercept.
struct PlainSegment {
  double x1, y1, x2, y2, slope, intercept;
};

// One point handed to PSet: the single-precision coordinates as plotted and
// the colour of the moment (0xBBGGRR).
struct PlainPoint {
  float x, y;
  std::uint32_t color;
};

struct PlainDiagram {
  std::vector<PlainPoint> plots;  // every plotted point, on the canvas or not
  std::uint64_t samples = 0;      // every sample walked, plotted or not
};

// Both sweeps over all pairs i < j, in the drawing order: per pair the four
// endpoint bisectors and the two angle bisectors, then in a second pass per
// pair the four parabolic arcs. view_w and view_h bound the clipping band.
// Precondition: the scene is one the program traces without a fault (no
// horizontal or vertical segment, no parallel pair, no focus on a line).
PlainDiagram TracePlainly(const std::vector<PlainSegment>& segments, double view_w, double view_h);

}  // namespace kaldra::plain
