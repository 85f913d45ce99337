#include "exact/approximation_score.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "exact/edge_walk.h"

namespace kaldra {

namespace {

// Precision samples the exact edges at midpoints of pieces this long, and
// takes every pixel within sqrt(reach^2 + (piece / 2)^2) of one. So it counts
// every pixel within kScoreReach of an edge, and may count one up to 4e-5 px
// further away.
constexpr double kPrecisionPiece = 0.02;

// One bit per pixel of the canvas.
class PixelSet {
 public:
  PixelSet(int width, int height)
      : width_(width), height_(height), bits_(static_cast<std::size_t>(width) * height) {}

  void Insert(long column, long row) { bits_[Index(column, row)] = true; }
  bool Contains(long column, long row) const { return bits_[Index(column, row)]; }

  // Calls visit(column, row) for every pixel of the canvas whose centre lies
  // within `reach` of p.
  template <typename Visit>
  void ForEachNear(CanvasPoint p, double reach, Visit visit) const {
    const long top = std::max(0L, static_cast<long>(std::ceil(p.y - reach)));
    const long bottom = std::min(height_ - 1L, static_cast<long>(std::floor(p.y + reach)));
    const long left = std::max(0L, static_cast<long>(std::ceil(p.x - reach)));
    const long right = std::min(width_ - 1L, static_cast<long>(std::floor(p.x + reach)));
    for (long row = top; row <= bottom; ++row) {
      for (long column = left; column <= right; ++column) {
        const double dx = static_cast<double>(column) - p.x;
        const double dy = static_cast<double>(row) - p.y;
        if (dx * dx + dy * dy <= reach * reach) visit(column, row);
      }
    }
  }

 private:
  std::size_t Index(long column, long row) const {
    return static_cast<std::size_t>(row * width_ + column);
  }

  int width_;
  int height_;
  std::vector<bool> bits_;
};

// Pieces of the diagram, numbered in order, joined into stretches.
class Stretches {
 public:
  std::size_t Add() {
    parent_.push_back(parent_.size());
    return parent_.size() - 1;
  }
  void Join(std::size_t a, std::size_t b) { parent_[Find(a)] = Find(b); }
  std::size_t Find(std::size_t a) {
    while (parent_[a] != a) a = parent_[a] = parent_[parent_[a]];
    return a;
  }

 private:
  std::vector<std::size_t> parent_;
};

}  // namespace

ApproximationScore ScoreApproximation(const ExactDiagram& diagram,
                                      std::span<const PlotPoint> plots) {
  const int width = diagram.width;
  const int height = diagram.height;
  ApproximationScore score;

  PixelSet near(width, height);
  const double reach = std::sqrt(kScoreReach * kScoreReach + kPrecisionPiece * kPrecisionPiece / 4);
  for (const ExactEdge& edge : diagram.edges) {
    ForEachPiece(edge, kPrecisionPiece, [&](CanvasPoint m, double /*length*/) {
      near.ForEachNear(m, reach, [&](long column, long row) { near.Insert(column, row); });
    });
  }
  PixelSet plotted(width, height);
  long distinct = 0;
  long near_plotted = 0;
  for (const PlotPoint& p : plots) {
    const long column = std::lround(p.x);
    const long row = std::lround(p.y);
    if (plotted.Contains(column, row)) continue;
    plotted.Insert(column, row);
    ++distinct;
    near_plotted += near.Contains(column, row) ? 1 : 0;
  }
  if (distinct > 0) {
    score.precision = static_cast<double>(near_plotted) / static_cast<double>(distinct);
  }

  // Recall and gaps: each piece covered or not; the uncovered ones joined
  // with their uncovered neighbours along the edge, and across a vertex of
  // two edges.
  Stretches stretches;
  std::vector<double> missed;                                           // per piece, 0 if covered
  std::vector<std::vector<std::size_t>> ends(diagram.vertices.size());  // the pieces at a vertex
  double total = 0;
  double covered = 0;
  for (const ExactEdge& edge : diagram.edges) {
    bool first = true;
    ForEachPiece(edge, kRecallPiece, [&](CanvasPoint m, double length) {
      bool seen = false;
      plotted.ForEachNear(m, kScoreReach, [&](long column, long row) {
        seen = seen || plotted.Contains(column, row);
      });
      const std::size_t piece = stretches.Add();
      missed.push_back(seen ? 0 : length);
      total += length;
      covered += seen ? length : 0;
      if (!first && !seen && missed[piece - 1] > 0) stretches.Join(piece, piece - 1);
      if (first && edge.from_vertex >= 0) {
        ends[static_cast<std::size_t>(edge.from_vertex)].push_back(piece);
      }
      first = false;
    });
    if (!first && edge.to_vertex >= 0) {
      ends[static_cast<std::size_t>(edge.to_vertex)].push_back(missed.size() - 1);
    }
  }
  for (std::size_t v = 0; v < ends.size(); ++v) {
    const std::vector<std::size_t>& at = ends[v];
    if (diagram.vertices[v].edges == 2 && at.size() == 2 && missed[at[0]] > 0 &&
        missed[at[1]] > 0) {
      stretches.Join(at[0], at[1]);
    }
  }
  std::vector<double> gap(missed.size(), 0);
  for (std::size_t piece = 0; piece < missed.size(); ++piece) {
    double& sum = gap[stretches.Find(piece)];
    sum += missed[piece];
    score.largest_gap_px = std::max(score.largest_gap_px, sum);
  }
  if (total > 0) score.recall = covered / total;
  return score;
}

}  // namespace kaldra
