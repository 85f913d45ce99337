#include "exact/clip_to_canvas.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace kaldra {

namespace {

bool Inside(CanvasPoint p, double width, double height) {
  return p.x >= 0 && p.x <= width && p.y >= 0 && p.y <= height;
}

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
                                       double width, double height) {
  const bool forward = range.from <= range.to;
  double lo = std::min(range.from, range.to);
  double hi = std::max(range.from, range.to);
  // Liang and Barsky: each side of the canvas bounds t from one side, by the
  // t at which the line crosses it.
  const std::pair<double, double> sides[] = {
      {-d.x, a.x}, {d.x, width - a.x}, {-d.y, a.y}, {d.y, height - a.y}};
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

std::vector<ParameterRange> ClipArc(const ParabolaFrame& f, ParameterRange range, double width,
                                    double height) {
  const double lo = std::min(range.from, range.to);
  const double hi = std::max(range.from, range.to);
  // Each coordinate of the point at u is a quadratic in u:
  // x(u) = vx / (2h) u^2 + ux u + foot.x + vx h / 2, and y alike. Where it
  // crosses a side of the canvas, the arc enters or leaves.
  std::vector<double> cuts{lo};
  for (const auto& [side, square, linear, constant] :
       {std::tuple{0.0, f.vx, f.ux, f.foot.x}, std::tuple{width, f.vx, f.ux, f.foot.x},
        std::tuple{0.0, f.vy, f.uy, f.foot.y}, std::tuple{height, f.vy, f.uy, f.foot.y}}) {
    AddRoots(square / (2 * f.h), linear, constant + square * f.h / 2 - side, lo, hi, cuts);
  }
  std::sort(cuts.begin() + 1, cuts.end());
  cuts.push_back(hi);
  // Between two cuts the arc is wholly inside or wholly outside.
  std::vector<ParameterRange> parts;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    if (!Inside(PointAt(f, (cuts[k] + cuts[k + 1]) / 2), width, height)) continue;
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
