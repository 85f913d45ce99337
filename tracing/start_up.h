#pragma once

#include <cstdint>
#include <vector>

#include "geometry/mdl_kaldra.h"
#include "scene/canvas.h"
#include "scene/generate_segments.h"
#include "scene/random_source.h"

namespace kaldra {

// Where the count label stands: right of the End button, which spans x = 112
// to 169.
inline constexpr float kCountLabelX = 180;
inline constexpr float kCountLabelY = 20;

// Fixes the drawing rectangle and Pi, clears the canvas to black and prints
// "N=" with the segment count at the label's place, in white.
void PrepareCanvas(mdlKaldra& mdl, Canvas& canvas, double view_w, double view_h);

// The random scene of a run, everything the window's load handler does
// between seeding and tracing: the count from the first random number, the
// canvas, then the segments, drawn and labelled.
void SetUpRandomScene(mdlKaldra& mdl, Canvas& canvas, RandomSource& random, double view_w,
                      double view_h);

// The same for given segments, each as generated (first end first), placed in
// their order without any test. Precondition: 1 to 101 segments that
// JudgeCandidate accepts in turn.
void SetUpGivenScene(mdlKaldra& mdl, Canvas& canvas, const std::vector<Candidate>& segments,
                     double view_w, double view_h);

// Persistent drawing off, then both sweeps.
void TraceDiagram(mdlKaldra& mdl, Canvas& canvas);

}  // namespace kaldra
