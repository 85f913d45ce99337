#include "tracing/plotter.h"

namespace kaldra {

bool Plotter::Replay(Canvas& canvas) const {
  std::size_t point = 0;
  for (std::size_t p = 0; p < pairs_.size(); ++p) {
    if (!canvas.BeforePair(pairs_[p].i, pairs_[p].j)) return false;
    const std::size_t colors_end = p + 1 < pairs_.size() ? pairs_[p + 1].first_color
                                                         : colors_.size();
    for (std::size_t c = pairs_[p].first_color; c < colors_end; ++c) {
      canvas.ForeColor(colors_[c].color);
      const std::size_t points_end = c + 1 < colors_.size() ? colors_[c + 1].first_point
                                                            : points_.size();
      for (; point < points_end; ++point) canvas.PSet(points_[point].x, points_[point].y);
    }
  }
  return true;
}

}  // namespace kaldra
