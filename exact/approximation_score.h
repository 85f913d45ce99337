#pragma once

// How the sweeps' plotted points compare with the exact diagram, within the
// area the canvas shows.

#include <span>

#include "exact/exact_diagram.h"
#include "scene/canvas.h"

namespace kaldra {

// How near a plotted pixel's centre and a point of the exact diagram must be
// to count for each other.
inline constexpr double kScoreReach = 1.5;
// The exact diagram is cut into pieces of at most this length for recall and
// gaps; each piece counts as covered when its midpoint is.
inline constexpr double kRecallPiece = 0.2;

struct ApproximationScore {
  // The share of distinct plotted pixels whose centre lies within kScoreReach
  // of an exact edge; 1 when nothing is plotted.
  double precision = 1;
  // The share of the exact diagram's length with a plotted pixel's centre
  // within kScoreReach; 1 when no edge crosses the canvas's area.
  double recall = 1;
  // The longest stretch of exact edge without one, in pixels. A stretch goes
  // on through a vertex where only two edges meet (a line turning into a
  // parabola), not through one where three meet.
  double largest_gap_px = 0;
};

// Precondition: every point lands on a pixel of a canvas of the diagram's
// width and height, as the canvas's plot list holds them.
ApproximationScore ScoreApproximation(const ExactDiagram& diagram,
                                      std::span<const PlotPoint> plots);

}  // namespace kaldra
