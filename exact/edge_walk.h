#pragma once

// Points along an edge of the exact diagram by arc length.

#include <cmath>

#include "exact/exact_diagram.h"
#include "exact/parabola_frame.h"

namespace kaldra {

class EdgeWalk {
 public:
  explicit EdgeWalk(const ExactEdge& edge);

  double Length() const { return length_; }

  // The point at arc length s from the edge's `from` end, 0 <= s <= Length().
  // Calls with growing s are fastest, as each starts from the last.
  CanvasPoint At(double s);

 private:
  ExactEdge edge_;
  ParabolaFrame frame_{};
  double start_ = 0;      // a parabola's ArcLengthTo at `from`
  double direction_ = 1;  // +1 when u grows from `from` to `to`
  double last_u_ = 0;
  double length_ = 0;
};

// Cuts the edge into the fewest pieces of equal length, none longer than
// `longest`, and calls visit(midpoint, piece_length) for each in order from
// `from`. An edge of length zero has no pieces.
template <typename Visit>
void ForEachPiece(const ExactEdge& edge, double longest, Visit visit) {
  EdgeWalk walk(edge);
  const auto pieces = static_cast<long>(std::ceil(walk.Length() / longest));
  const double piece = walk.Length() / static_cast<double>(pieces);
  for (long k = 0; k < pieces; ++k) visit(walk.At((static_cast<double>(k) + 0.5) * piece), piece);
}

}  // namespace kaldra
