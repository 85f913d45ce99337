#include "bench/bench_scenes.h"

#include <random>
#include <stdexcept>

#include "scene/generate_segments.h"
#include "scene/random_source.h"
#include "tracing/start_up.h"

namespace kaldra::bench {

MemoryCanvas::MemoryCanvas(int width, int height)
    : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
  AttachSurface({pixels_.data(), width, height, width});
}

void MemoryCanvas::BackColor(Color color) { pixels_.assign(pixels_.size(), ToArgbPixel(color)); }

void SetUpSeventeenSegments(mdlKaldra& mdl, Canvas& canvas) {
  SeededRandom random(4);
  SetUpRandomScene(mdl, canvas, random, 788, 565);
  if (mdl.SegCount != 17) throw std::logic_error("seed 4 no longer gives 17 segments");
}

void SetUpHundredSegments(mdlKaldra& mdl, Canvas& canvas) {
  constexpr int kColumns = 10;
  constexpr int kRows = 10;
  constexpr double kWidth = 788;
  constexpr double kHeight = 565;
  const double cell_w = (kWidth - 30) / kColumns;
  const double cell_h = (kHeight - 30) / kRows;
  std::mt19937 engine(2024);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Each segment stays inside its own cell, so none can cross another; the
  // table check still refuses the rare candidate that shares a coordinate or
  // lies on another's line, and the cell simply draws again.
  SegmentTable table;
  table.SegCount = kColumns * kRows;
  MemoryCanvas scratch(static_cast<int>(kWidth), static_cast<int>(kHeight));
  std::vector<Candidate> segments;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const double left = 15 + column * cell_w;
      const double top = 15 + row * cell_h;
      for (;;) {
        const double x1 = left + cell_w * (0.05 + 0.3 * unit(engine));
        const double x2 = left + cell_w * (0.65 + 0.3 * unit(engine));
        const double y1 = top + cell_h * (0.05 + 0.9 * unit(engine));
        const double y2 = top + cell_h * (0.05 + 0.9 * unit(engine));
        if (JudgeCandidate(table, x1, y1, x2, y2).refusal != Refusal::kNone) continue;
        segments.push_back(MakeCandidate(x1, y1, x2, y2));
        PlaceSegment(table, scratch, segments.back());
        break;
      }
    }
  }
  SetUpGivenScene(mdl, canvas, segments, kWidth, kHeight);
}

}  // namespace kaldra::bench
