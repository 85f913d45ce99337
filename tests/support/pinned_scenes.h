#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/grid_scene.h"
#include "scene/canvas.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_builder.h"

namespace kaldra::testing {

// A row of tests/tracing/pinned_scenes.txt: "seed N", "grid CxR" or a
// hand-made scene "hand NAME" whose candidates follow a "|", each four numbers
// separated by ";"; candidates go through the builder like the generator's,
// so a refused one is skipped. The "whole_" scenes have whole-number ends,
// the ties' favourite ground. `pinned` is the rest of the row: segments,
// samples, points on the canvas and their hash, or "error: " and the
// run-time error's message.
struct PinnedRow {
  std::string kind, name, pinned;
  std::vector<std::array<double, 4>> candidates;
};

inline std::vector<PinnedRow> LoadPinnedRows() {
  std::ifstream in(KALDRA_PINNED_SCENES);
  std::vector<PinnedRow> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line.substr(0, line.find(" |")));
    PinnedRow row;
    fields >> row.kind >> row.name >> std::ws;
    std::getline(fields, row.pinned);
    if (line.find('|') != std::string::npos) {
      // strtod, which takes subnormal numbers that a stream refuses.
      const char* at = line.c_str() + line.find('|') + 1;
      for (;;) {
        std::array<double, 4> c{};
        char* end = nullptr;
        for (double& v : c) {
          v = std::strtod(at, &end);
          at = end;
        }
        if (c == std::array<double, 4>{}) break;
        row.candidates.push_back(c);
        while (*at == ' ' || *at == ';') ++at;
        if (*at == '\0') break;
      }
    }
    rows.push_back(row);
  }
  return rows;
}

inline Scene SceneOf(const PinnedRow& row) {
  if (row.kind == "seed") {
    SeededRandom random(static_cast<std::uint32_t>(std::stoul(row.name)));
    return GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
  }
  if (row.kind == "grid") {
    return bench::GridSegments(std::stoi(row.name),
                               std::stoi(row.name.substr(row.name.find('x') + 1)));
  }
  SceneBuilder builder(kDefaultCanvasWidth, kDefaultCanvasHeight);
  for (const auto& c : row.candidates) builder.Add(c[0], c[1], c[2], c[3]);
  return builder.Build();
}

// The row's name as a test's: "seed_4", "grid_10x10", "hand_whole_7".
inline std::string PinnedRowName(const PinnedRow& row) { return row.kind + "_" + row.name; }

}  // namespace kaldra::testing
