#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// One outer index i of a sweep as a worker of the web page traces it: the
// points its pairs (i, i + 1), ..., (i, n - 1) plot that land on the canvas,
// pair by pair in the order plotted, and the run-time error that stopped it,
// if any. The page replays them on its canvas in the sequential order, so
// that it receives exactly the calls of the sequential sweeps, as the
// parallel sweeps' buffers do (tracing/parallel_sweeps.cpp); a point that
// lands on no pixel changes nothing on a canvas and is left out.
struct TracedIndex {
  struct Pair {
    int j = 0;
    std::vector<PlotPoint> points;
  };
  // Up to the pair that faulted, whose points before the fault are kept: the
  // sequential sweep plots them before it stops.
  std::vector<Pair> pairs;
  std::string fault;  // the run-time error's message; empty when none
};

// Traces outer index k of the scene's diagram, for a width x height canvas.
// The indices of both sweeps count as one: sweep 1's i = k for k < n - 1,
// then sweep 2's i = k - (n - 1). Precondition: 0 <= k < 2 (n - 1).
TracedIndex TraceIndex(const Scene& scene, int width, int height, int k);

// A scene as numbers, to hand to a worker: its rectangle's width and height,
// then every segment's ends, first end first; and back, through the
// builder, which makes of the same numbers the same scene. None when they
// make no scene.
std::vector<double> SceneNumbers(const Scene& scene);
std::optional<Scene> SceneFromNumbers(std::span<const double> numbers);

// The record as bytes, to hand from one WebAssembly instance to another, and
// back; none when the bytes are not such a record.
std::string ToBytes(const TracedIndex& traced);
std::optional<TracedIndex> FromBytes(std::string_view bytes);

}  // namespace kaldra
