#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "geometry/power.h"
#include "tracing/segment_constants.h"

namespace kaldra {

// The sweeps compare distances taken as pow(pow(dy, 2) + pow(dx, 2), 0.5).
// Squared sums of plain products are within a few units in the last place of
// the same sums under the root, and the root keeps their order, so the two
// agree on every comparison whose sides differ by more than this relative
// band. Inside the band the sweeps take the distances exactly as written.
inline constexpr double kTieBand = 1e-9;

enum class Order { kLess, kGreater, kTie };

// The order of two squared distances, or kTie when it takes the exact values.
inline Order CompareSquared(double a, double b) {
  if (a < b * (1 - kTieBand)) return Order::kLess;
  if (a > b * (1 + kTieBand)) return Order::kGreater;
  return Order::kTie;
}

inline double SquaredDistance(double x0, double y0, double x1, double y1) {
  const double dy = y1 - y0;
  const double dx = x1 - x0;
  return dy * dy + dx * dx;
}

// Square(t), the library's pow(t, 2.0), mostly without calling it. The exact
// error of t * t (Dekker's product, exact without a fused multiply-add) tells
// how far the true square lies from the rounded product. The library's pow is
// accurate to about 0.01 units in the last place before its final rounding,
// so while the true square lies well within half a unit of t * t, the pow
// result is t * t itself; only near a rounding boundary is pow asked.
inline double SquareAsPow(double t) {
  const double tt = t * t;
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double c = kSplitter * t;
  const double hi = c - (c - t);
  const double lo = t - hi;
  const double error = ((hi * hi - tt) + 2 * hi * lo) + lo * lo;
  // One unit in the last place of tt: its power of two times 2^-52.
  const double binade = std::bit_cast<double>(std::bit_cast<std::uint64_t>(tt) &
                                              0x7FF0000000000000ull);
  if (std::fabs(error) <= 0.47 * 0x1p-52 * binade) return tt;
  return Square(t);
}

// Whether the foot of the perpendicular lies within the segment's x-range,
// both ends included, given the numerator (y - perp * x) - intercept of the
// foot's x. Decided from a product with the reciprocal unless the foot lies
// within the rounding of an end, where the exact quotient decides.
inline bool FootInside(const SegmentConstants& s, double foot_numerator) {
  const double approx = foot_numerator * s.inv_foot_den;
  const double band = kTieBand * std::fabs(approx) + 1e-300;
  if (approx > s.x1 + band && approx < s.x2 - band) return true;
  if (approx < s.x1 - band || approx > s.x2 + band) return false;
  const double f = foot_numerator / s.foot_den;
  return f >= s.x1 && f <= s.x2;
}

// Whether a sample can reach the canvas at all: a point well outside it is
// never shown, so nothing more is computed for it.
struct CanvasBounds {
  double min_x, max_x, min_y, max_y;

  static CanvasBounds Around(int width, int height) {
    constexpr double kMargin = 4;
    return {-kMargin, width + kMargin, -kMargin, height + kMargin};
  }
  bool Excludes(double x, double y) const {
    return x < min_x || x > max_x || y < min_y || y > max_y;
  }
};

}  // namespace kaldra
