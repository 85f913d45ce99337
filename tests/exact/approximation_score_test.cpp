// The score of an approximation against the exact diagram, checked against a
// plain computation that uses nothing of exact/: on small scenes, for the
// sweeps' points and for parts and shifts of them.
#include "exact/approximation_score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "exact/exact_diagram.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "tests/support/recording_canvas.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;

double Distance(const Segment& s, double x, double y) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double t = std::clamp(((x - s.x1) * dx + (y - s.y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - s.x1 - t * dx, y - s.y1 - t * dy);
}

int Nearest(const Scene& scene, double x, double y) {
  int nearest = 0;
  double least = Distance(scene[0], x, y);
  for (int k = 1; k < scene.Count(); ++k) {
    const double d = Distance(scene[k], x, y);
    if (d < least) std::tie(nearest, least) = std::pair(k, d);
  }
  return nearest;
}

// A point of the diagram where it crosses a line of a grid of spacing kGrid
// over the canvas's area (its pixels cover [-0.5, kWidth - 0.5] across),
// standing for the length of diagram per crossing: a curve with unit tangent
// t crosses the grid's lines (|tx| + |ty|) / kGrid times per pixel.
constexpr double kGrid = 0.1;
double GridLine(int k) { return k * kGrid - 0.5; }
struct Crossing {
  double x, y, length;
};

std::vector<Crossing> CrossingsOfTheGrid(const Scene& scene) {
  const int columns = static_cast<int>(kWidth / kGrid) + 1,
            rows = static_cast<int>(kHeight / kGrid) + 1;
  std::vector<int> label(static_cast<std::size_t>(columns * rows));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c)
      label[static_cast<std::size_t>(r * columns + c)] = Nearest(scene, GridLine(c), GridLine(r));
  }
  std::vector<Crossing> crossings;
  auto cross = [&](double x0, double y0, double x1, double y1, int a, int b) {
    for (int halving = 0; halving < 40; ++halving) {  // down to 1e-13 px, keeping a and b apart
      const double mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
      const int m = Nearest(scene, mx, my);
      (m == a ? x0 : x1) = mx;
      (m == a ? y0 : y1) = my;
      if (m != a) b = m;
    }
    const double x = (x0 + x1) / 2, y = (y0 + y1) / 2;
    // The direction in which the two distances part fastest is the normal.
    const double e = 1e-7;
    const double gx = Distance(scene[a], x + e, y) - Distance(scene[b], x + e, y) -
                      Distance(scene[a], x - e, y) + Distance(scene[b], x - e, y);
    const double gy = Distance(scene[a], x, y + e) - Distance(scene[b], x, y + e) -
                      Distance(scene[a], x, y - e) + Distance(scene[b], x, y - e);
    crossings.push_back({x, y, kGrid * std::hypot(gx, gy) / (std::abs(gx) + std::abs(gy))});
  };
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int here = label[static_cast<std::size_t>(r * columns + c)];
      if (c + 1 < columns && label[static_cast<std::size_t>(r * columns + c + 1)] != here) {
        cross(GridLine(c), GridLine(r), GridLine(c + 1), GridLine(r), here,
              label[static_cast<std::size_t>(r * columns + c + 1)]);
      }
      if (r + 1 < rows && label[static_cast<std::size_t>((r + 1) * columns + c)] != here) {
        cross(GridLine(c), GridLine(r), GridLine(c), GridLine(r + 1), here,
              label[static_cast<std::size_t>((r + 1) * columns + c)]);
      }
    }
  }
  return crossings;
}

// The score, plainly: a pixel is within 1.5 px of the diagram when the
// nearest segment changes over the disk of that radius around it (checked on
// three circles, points 0.01 px apart); recall and gaps from the crossings,
// those without a plotted pixel within 1.5 px joined into a stretch when
// less than 0.3 px apart.
ApproximationScore ScorePlainly(const Scene& scene, const std::vector<Crossing>& crossings,
                                const std::vector<PlotPoint>& plots) {
  std::set<std::pair<long, long>> pixels;
  for (const PlotPoint& p : plots) pixels.insert({std::lround(p.x), std::lround(p.y)});
  ApproximationScore score;
  int near = 0;
  for (const auto& [column, row] : pixels) {
    const int centre = Nearest(scene, column, row);
    bool changes = false;
    for (double radius = 0.5; radius <= 1.5 && !changes; radius += 0.5) {
      const int points = static_cast<int>(2 * std::numbers::pi * radius / 0.01);
      for (int k = 0; k < points && !changes; ++k) {
        const double angle = 2 * std::numbers::pi * k / points;
        changes = Nearest(scene, column + radius * std::cos(angle),
                          row + radius * std::sin(angle)) != centre;
      }
    }
    near += changes ? 1 : 0;
  }
  if (!pixels.empty())
    score.precision = static_cast<double>(near) / static_cast<double>(pixels.size());

  double total = 0, covered = 0;
  std::vector<Crossing> missed;
  for (const Crossing& c : crossings) {
    bool seen = false;
    for (long row = std::lround(c.y) - 2; row <= std::lround(c.y) + 2; ++row) {
      for (long column = std::lround(c.x) - 2; column <= std::lround(c.x) + 2; ++column) {
        seen = seen ||
               (pixels.count({column, row}) > 0 && std::hypot(column - c.x, row - c.y) <= 1.5);
      }
    }
    total += c.length;
    if (seen) {
      covered += c.length;
    } else {
      missed.push_back(c);
    }
  }
  if (total > 0) score.recall = covered / total;
  std::vector<int> stretch(missed.size());
  for (std::size_t k = 0; k < missed.size(); ++k) stretch[k] = static_cast<int>(k);
  auto find = [&](int k) {
    while (stretch[static_cast<std::size_t>(k)] != k) k = stretch[static_cast<std::size_t>(k)];
    return k;
  };
  for (std::size_t i = 0; i < missed.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (std::hypot(missed[i].x - missed[j].x, missed[i].y - missed[j].y) < 0.3)
        stretch[static_cast<std::size_t>(find(static_cast<int>(i)))] = find(static_cast<int>(j));
    }
  }
  std::map<int, double> lengths;
  for (std::size_t k = 0; k < missed.size(); ++k) {
    score.largest_gap_px = std::max(score.largest_gap_px,
                                    lengths[find(static_cast<int>(k))] += missed[k].length);
  }
  return score;
}

class ScoreOfSmallScenes : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ScoreOfSmallScenes, AgreesWithAPlainComputation) {
  SeededRandom random(GetParam());
  const Scene scene = GenerateScene(random, kWidth, kHeight);
  std::string problem;
  const ExactDiagram exact = BuildExactDiagram(scene, problem).value();
  const std::vector<Crossing> crossings = CrossingsOfTheGrid(scene);

  testing::RecordingCanvas both(kWidth, kHeight), one(kWidth, kHeight);
  SweepOne(scene, both);
  SweepTwo(scene, both);
  SweepOne(scene, one);
  std::vector<PlotPoint> every_fourth, moved;
  for (std::size_t k = 0; k < both.plots.size(); k += 4) every_fourth.push_back(both.plots[k]);
  for (const PlotPoint& p : both.plots) {
    if (p.x + 2 < kWidth - 0.5f && p.y + 1 < kHeight - 0.5f)
      moved.push_back({p.x + 2, p.y + 1, p.color});
  }
  const std::pair<const char*, const std::vector<PlotPoint>*> rows[] = {
      {"both sweeps", &both.plots},
      {"sweep one", &one.plots},
      {"every fourth point", &every_fourth},
      {"moved by (2, 1)", &moved}};
  for (const auto& [name, plots] : rows) {
    const ApproximationScore fast = ScoreApproximation(exact, *plots);
    const ApproximationScore plain = ScorePlainly(scene, crossings, *plots);
    // The crossings measure lengths to a few thousandths, and a stretch to
    // a fraction of a pixel.
    EXPECT_NEAR(fast.precision, plain.precision, 1e-3) << name;
    EXPECT_NEAR(fast.recall, plain.recall, 5e-3) << name;
    EXPECT_NEAR(fast.largest_gap_px, plain.largest_gap_px, 0.5) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ScoreOfSmallScenes, ::testing::Values(7u, 9u, 12u));

}  // namespace
}  // namespace kaldra
