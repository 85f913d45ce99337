#pragma once

namespace kaldra {

// The sweeps define every distance as pow(pow(dy, 2) + pow(dx, 2), 0.5), and
// the line distance as |num| / pow(pow(m, 2) + 1, 0.5). The fast tests compare
// squares instead: dy * dy + dx * dx against the other side's square, built
// from plain products.
//
// The error bound. With u = 2^-53, pow(v, 2) and pow(v, 0.5) are within one
// unit in the last place (2u relative) of the true value on this library, a
// product or a sum within u. A squared sum from plain products is then within
// 3u of the true squared sum, and the square of the pow-based distance within
// about 2 * (2u + 3u + 2u) = 14u of it; a line distance, with its division and
// its norm, adds a few u more. So the two sides of any comparison, taken the
// fast way and squared the exact way, differ relatively by less than 32u, about
// 3.6e-15. Whenever the fast sides differ by more than kTieBand = 1e-9 relative,
// far beyond that, the exact distances are ordered the same way; inside the
// band the comparison is a near-tie and the exact distances decide it. The
// band could be 1e-13 and still be safe; 1e-9 leaves room and costs nothing,
// since near-ties are rare.
inline constexpr double kTieBand = 1e-9;

enum class Order { kLess, kGreater, kTie };

// The order of two squared distances, or kTie when only the exact values can
// tell.
inline Order CompareSquared(double a, double b) {
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
