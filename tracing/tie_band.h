#pragma once

namespace kaldra {

// The sweeps define every distance as Root(Square(dy) + Square(dx)) and the
// line distance as |num| / Root(Square(m) + 1), with the correctly rounded
// square and root (scene/power.h). The fast tests compare squares instead:
// dy * dy + dx * dx, the very sum whose root the distance is, against the
// other side's square, built from plain products.
//
// The error bound. With u = 2^-53, each product, sum and root is within u
// relative of its exact value while no result leaves the normal range. The
// squared sum then is the distance's argument exactly, and the square of the
// root is within 3u of it; a line distance, with its division and its norm,
// adds a few u more. So the two sides of any comparison, taken the fast way
// and squared the exact way, differ relatively by less than 16u, about
// 1.8e-15. Whenever the fast sides differ by more than kTieBand = 1e-9
// relative, far beyond that, the exact distances are ordered the same way;
// inside the band the comparison is a near-tie and the exact distances decide
// it. The band leaves a wide margin and costs nothing, since near-ties are
// rare.
//
// Where the squares are tiny they may have underflowed, and their error is
// then absolute, up to a few units of 2^-1074, not relative: the larger side
// must exceed kSmallestSquared = 2^-960, where that is far below the band, or
// the comparison is a tie and the exact distances decide. The floor is added
// to the smaller side, which costs no branch and moves no decision but those
// within 2^-960 of the band's edge into the tie. The sweeps compare squares
// only for samples within the canvas's reach on scenes of moderate slopes
// (tracing/moderate.h), where no side comes near overflow.
inline constexpr double kTieBand = 1e-9;
inline constexpr double kSmallestSquared = 0x1p-960;

enum class Order { kLess, kGreater, kTie };

// The order of two squared distances, or kTie when only the exact values can
// tell. Precondition: a, b finite and at least 0.
inline Order CompareSquared(double a, double b) {
  if (a + kSmallestSquared < b * (1 - kTieBand)) return Order::kLess;
  if (a > b * (1 + kTieBand) + kSmallestSquared) return Order::kGreater;
  return Order::kTie;
}

// The squared distance from plain products, the same differences as
// PointDistance takes.
inline double SquaredDistance(double x0, double y0, double x1, double y1) {
  const double dy = y1 - y0;
  const double dx = x1 - x0;
  return dy * dy + dx * dx;
}

}  // namespace kaldra
