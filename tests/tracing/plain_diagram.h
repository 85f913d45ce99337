#pragma once

// The diagram traced once more, plainly and on its own: every construction,
// walk and test written out step by step, in the order the drawing is defined
// in, with the standard library and MPFR only, and nothing shared with the
// drawing code it checks, so that a fault there cannot hide in the oracle as
// well. Slow on purpose; fidelity over speed.

#include <cstdint>
#include <string>
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
  // The run-time error that ended the drawing, as the drawing words it, or
  // empty: "Run-time error: division by zero in sweep 1, pair (0, 1), ...".
  std::string error;
  // The drawing walked more samples than it was allowed (see TracePlainly).
  bool too_long = false;
};

// Both sweeps over all pairs i < j, in the drawing order: per pair the four
// endpoint bisectors and the two angle bisectors, then in a second pass per
// pair the four parabolic arcs. view_w and view_h bound the clipping band.
//
// The processor's floating-point flags are tested after every step, and the
// first that raises invalid operation, division by zero or overflow ends the
// drawing with its run-time error; so does a walk whose step no longer moves
// it. Squares and roots are the correctly rounded powers (IEEE x * x and
// sqrt), the arctangents, tangents, sines and cosines MPFR's, correctly
// rounded. Mends of the drawing's own faults are kept: a horizontal bisector
// off the band is not divided by zero, and an accepted sample too far away
// for a float is not plotted. After `sample_limit` samples it gives up.
PlainDiagram TracePlainly(const std::vector<PlainSegment>& segments, double view_w, double view_h,
                          std::uint64_t sample_limit = UINT64_MAX);

}  // namespace kaldra::plain
