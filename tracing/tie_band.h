#pragma once

#include <algorithm>

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
// Where the larger side leaves [2^-960, 2^1000], a square may have underflowed
// (its error is then absolute, not relative) or come near overflow: the
// shortcut is closed there, and the exact distances decide.
inline constexpr double kTieBand = 1e-9;
inline constexpr double kSmallestSquared = 0x1p-960;
inline constexpr double kLargestSquared = 0x1p1000;

enum class Order { kLess, kGreater, kTie };

// The order of two squared distances, or kTie when only the exact values can
// tell.
inline Order CompareSquared(double a, double b) {
  const double larger = std::max(a, b);
  if (!(larger >= kSmallestSquared && larger <= kLargestSquared)) return Order::kTie;
  if (a < b * (1 - kTieBand)) return Order::kLess;
  if (a > b * (1 + kTieBand)) return Order::kGreater;
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
