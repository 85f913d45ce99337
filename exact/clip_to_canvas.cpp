#include "exact/clip_to_canvas.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace kaldra {

namespace {

// The roots of a u^2 + b u + c = 0 strictly between lo and hi, computed
// without cancellation (the larger root from the sum, the other from the
// product).
void AddRoots(double a, double b, double c, double lo, double hi, std::vector<double>& roots) {
  auto add = [&](double u) {
    if (u > lo && u < hi) roots.push_back(u);
  };
  if (a == 0) {
    if (b != 0) add(-c / b);
    return;
  }
  const double discriminant = b * b - 4 * a * c;
  if (discriminant < 0) return;
  const double q = -(b + std::copysign(std::sqrt(discriminant), b)) / 2;
  add(q / a);
  if (q != 0) add(c / q);
}

}  // namespace

std::optional<ParameterRange> ClipLine(CanvasPoint a, CanvasPoint d, ParameterRange range,
                                       const CanvasArea& area) {
  const bool forward = range.from <= range.to;
  double lo = std::min(range.from, range.to);
  double hi = std::max(range.from, range.to);
  // Liang and Barsky: each side of the area bounds t from one side, by the
  // t at which the line crosses it.
  const std::pair<double, double> sides[] = {{-d.x, a.x - area.left},
                                             {d.x, area.right - a.x},
                                             {-d.y, a.y - area.top},
                                             {d.y, area.bottom - a.y}};
  for (const auto& [p, q] : sides) {
    if (p == 0) {
      if (q < 0) return std::nullopt;  // parallel to this side and outside it
    } else if (p < 0) {
      lo = std::max(lo, q / p);
    } else {
      hi = std::min(hi, q / p);
    }
  }
  if (lo > hi) return std::nullopt;
  return forward ? ParameterRange{lo, hi} : ParameterRange{hi, lo};
}

std::vector<ParameterRange> ClipArc(const ParabolaFrame& f, ParameterRange range,
                                    const CanvasArea& area) {
  const double lo = std::min(range.from, range.to);
  const double hi = std::max(range.from, range.to);
  // Each coordinate of the point at u is a quadratic in u:
  // x(u) = vx / (2h) u^2 + ux u + foot.x + vx h / 2, and y alike. Where it
  // crosses a side of the area, the arc enters or leaves.
  std::vector<double> cuts{lo};
  for (const auto& [side, square, linear, constant] :
       {std::tuple{area.left, f.vx, f.ux, f.foot.x}, std::tuple{area.right, f.vx, f.ux, f.foot.x},
        std::tuple{area.top, f.vy, f.uy, f.foot.y},
        std::tuple{area.bottom, f.vy, f.uy, f.foot.y}}) {
    AddRoots(square / (2 * f.h), linear, constant + square * f.h / 2 - side, lo, hi, cuts);
  }
  std::sort(cuts.begin() + 1, cuts.end());
  cuts.push_back(hi);
  // Between two cuts the arc is wholly inside or wholly outside.
  std::vector<ParameterRange> parts;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    if (!area.Contains(PointAt(f, (cuts[k] + cuts[k + 1]) / 2))) continue;
    if (!parts.empty() && parts.back().to == cuts[k]) {
      parts.back().to = cuts[k + 1];  // a cut where the arc only touches a side
    } else {
      parts.push_back({cuts[k], cuts[k + 1]});
    }
  }
  if (range.from > range.to) {
    std::reverse(parts.begin(), parts.end());
    for (ParameterRange& part : parts) std::swap(part.from, part.to);
  }
  return parts;
}

}  // namespace kaldra
