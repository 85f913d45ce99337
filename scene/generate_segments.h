#pragma once

#include <cstdint>

#include "scene/canvas.h"
#include "scene/random_source.h"
#include "scene/segment_table.h"

namespace kaldra {

// The number of segments of a run, from the first random number after
// seeding: round-half-to-even(r * 14) + 3, so 3 to 17.
std::int16_t SegCountFromRandom(float r);

// A candidate segment as generated: (x1, y1) is the end drawn first, and its
// supporting line y = slope * x + intercept is computed from that end.
struct Candidate {
  double x1, y1, x2, y2;
  double slope, intercept;
};

// The candidate through two ends, with the line computed as the scene does it.
// Precondition: x1 != x2.
Candidate MakeCandidate(double x1, double y1, double x2, double y2);

// Why a candidate cannot join the scene. Besides a crossing, each reason would
// make some later construction divide by zero: a vertical or horizontal
// segment, parallel supporting lines, two ends of different segments that
// share an x or a y, or an end lying exactly on another segment's line.
enum class Refusal {
  kNone,
  kVertical,
  kHorizontal,
  kParallel,
  kSharedCoordinate,
  kEndOnLine,
  kCrossing,
};

struct Verdict {
  Refusal refusal = Refusal::kNone;
  int other = -1;  // the accepted segment it conflicts with, if any
};

// Tests a candidate against the accepted segments 0 to SegPlaced - 1. A vertical
// or horizontal candidate is refused before its slope is looked at.
Verdict JudgeCandidate(const SegmentTable& table, double x1, double y1, double x2, double y2);

// Stores the candidate as segment SegPlaced in normal form (left end first, the
// line unchanged), draws it in white with its index at its midpoint, and counts
// it placed.
void PlaceSegment(SegmentTable& table, Canvas& canvas, const Candidate& c);

// Draws candidates until SegCount segments are placed: each candidate takes
// four numbers (x1, y1, x2, y2, in that order) and a refused one leaves no
// mark. End points keep a margin of 15 pixels inside view_w x view_h.
void GenerateSegments(SegmentTable& table, Canvas& canvas, RandomSource& random, double view_w,
                      double view_h);

}  // namespace kaldra
