#include "exact/integer_sites.h"

#include <algorithm>
#include <cmath>

#include "exact/wide_coordinates.h"

namespace kaldra {

namespace {

// No builder coordinate exceeds this magnitude.
constexpr double kCoordinateLimit = 1099511627776.0;  // 2^40

using IntPoint = std::array<std::int64_t, 2>;

// The sign of the cross product (b - a) x (c - a), exactly: the differences
// are at most 2^41 and their products at most 2^82.
int Orientation(IntPoint a, IntPoint b, IntPoint c) {
  const Int128 cross = Int128{b[0] - a[0]} * (c[1] - a[1]) - Int128{b[1] - a[1]} * (c[0] - a[0]);
  if (cross == 0) return 0;
  return cross > 0 ? 1 : -1;
}

// Whether c, collinear with a and b, lies within their bounding box.
bool Between(IntPoint a, IntPoint b, IntPoint c) {
  return std::min(a[0], b[0]) <= c[0] && c[0] <= std::max(a[0], b[0]) &&
         std::min(a[1], b[1]) <= c[1] && c[1] <= std::max(a[1], b[1]);
}

// Whether the closed segments ab and cd have a point in common.
bool Touch(IntPoint a, IntPoint b, IntPoint c, IntPoint d) {
  const int abc = Orientation(a, b, c);
  const int abd = Orientation(a, b, d);
  const int cda = Orientation(c, d, a);
  const int cdb = Orientation(c, d, b);
  if (abc * abd < 0 && cda * cdb < 0) return true;  // a proper crossing
  return (abc == 0 && Between(a, b, c)) || (abd == 0 && Between(a, b, d)) ||
         (cda == 0 && Between(c, d, a)) || (cdb == 0 && Between(c, d, b));
}

}  // namespace

std::optional<IntegerSites> RoundSites(const Scene& scene, std::string& problem) {
  IntegerSites sites;
  const double side = std::max(scene.Width(), scene.Height());
  sites.exponent = 40;
  sites.scale = kCoordinateLimit;
  while (side * sites.scale > kCoordinateLimit) {
    --sites.exponent;
    sites.scale /= 2;
  }
  auto round = [&](double v) { return static_cast<std::int64_t>(std::nearbyint(v * sites.scale)); };
  for (const Segment& s : scene.Segments()) {
    sites.segments.push_back({round(s.x1), round(s.y1), round(s.x2), round(s.y2)});
  }
  const std::string grid = " once rounded to the exact diagram's grid of 2^-" +
                           std::to_string(sites.exponent) + " px";
  for (std::size_t i = 0; i < sites.segments.size(); ++i) {
    const auto& [ax, ay, bx, by] = sites.segments[i];
    if (ax == bx && ay == by) {
      problem = "segment " + std::to_string(i) + " shrinks to a point" + grid;
      return std::nullopt;
    }
    for (std::size_t j = 0; j < i; ++j) {
      const auto& [cx, cy, dx, dy] = sites.segments[j];
      if (Touch({ax, ay}, {bx, by}, {cx, cy}, {dx, dy})) {
        problem = "segments " + std::to_string(j) + " and " + std::to_string(i) + " touch" + grid;
        return std::nullopt;
      }
    }
  }
  return sites;
}

}  // namespace kaldra
