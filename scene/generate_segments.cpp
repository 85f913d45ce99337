#include "scene/generate_segments.h"

#include <cmath>
#include <string>
#include <utility>

namespace kaldra {

std::int16_t SegCountFromRandom(float r) {
  // nearbyint rounds half to even in the default rounding mode: 0.75 * 14 =
  // 10.5 gives 10, not 11.
  const double scaled = static_cast<double>(r) * 14.0;
  const auto rounded = static_cast<std::int16_t>(std::nearbyint(scaled));
  return CheckedAdd(rounded, 3);
}

Candidate MakeCandidate(double x1, double y1, double x2, double y2) {
  const double slope = (y2 - y1) / (x2 - x1);
  const double intercept = y1 - slope * x1;
  return {x1, y1, x2, y2, slope, intercept};
}

namespace {

// An end exactly on a line: the same expression, in the same order, as the
// distance numerator of the parabola frame, so "on the line" here is exactly
// "focal distance 0" there.
bool OnLine(double slope, double intercept, double x, double y) {
  return x * slope - y + intercept == 0.0;
}

bool SharesCoordinate(const SegmentTable& t, int k, const Candidate& c) {
  return c.x1 == t.X1[k] || c.x1 == t.X2[k] || c.x2 == t.X1[k] || c.x2 == t.X2[k] ||
         c.y1 == t.Y1[k] || c.y1 == t.Y2[k] || c.y2 == t.Y1[k] || c.y2 == t.Y2[k];
}

bool EndOnLine(const SegmentTable& t, int k, const Candidate& c) {
  return OnLine(t.Slope[k], t.Intercept[k], c.x1, c.y1) ||
         OnLine(t.Slope[k], t.Intercept[k], c.x2, c.y2) ||
         OnLine(c.slope, c.intercept, t.X1[k], t.Y1[k]) ||
         OnLine(c.slope, c.intercept, t.X2[k], t.Y2[k]);
}

// The lines meet at xi; the segments cross when xi lies strictly inside both
// x-ranges. Touching at an end's x is no crossing.
bool Crosses(const SegmentTable& t, int k, const Candidate& c) {
  double lo = c.x1;
  double hi = c.x2;
  if (lo > hi) std::swap(lo, hi);
  double klo = t.X1[k];
  double khi = t.X2[k];
  if (klo > khi) std::swap(klo, khi);
  const double xi = (c.intercept - t.Intercept[k]) / (t.Slope[k] - c.slope);
  return lo < xi && xi < hi && klo < xi && xi < khi;
}

}  // namespace

Verdict JudgeCandidate(const SegmentTable& table, double x1, double y1, double x2, double y2) {
  if (x1 == x2) return {Refusal::kVertical, -1};
  if (y1 == y2) return {Refusal::kHorizontal, -1};
  const Candidate c = MakeCandidate(x1, y1, x2, y2);
  for (int k = 0; k < table.SegPlaced; ++k) {
    // Parallel lines first: the crossing test divides by the slopes' difference.
    if (c.slope == table.Slope[k]) return {Refusal::kParallel, k};
    if (SharesCoordinate(table, k, c)) return {Refusal::kSharedCoordinate, k};
    if (EndOnLine(table, k, c)) return {Refusal::kEndOnLine, k};
    if (Crosses(table, k, c)) return {Refusal::kCrossing, k};
  }
  return {};
}

void PlaceSegment(SegmentTable& table, Canvas& canvas, const Candidate& c) {
  const int n = table.SegPlaced;
  table.X1[n] = c.x1;
  table.Y1[n] = c.y1;
  table.X2[n] = c.x2;
  table.Y2[n] = c.y2;
  if (table.X1[n] > table.X2[n]) {
    std::swap(table.X1[n], table.X2[n]);
    std::swap(table.Y1[n], table.Y2[n]);
  }
  canvas.ForeColor(kWhite);
  canvas.Line(static_cast<float>(table.X1[n]), static_cast<float>(table.Y1[n]),
              static_cast<float>(table.X2[n]), static_cast<float>(table.Y2[n]));
  const double mid_x = (table.X2[n] + table.X1[n]) / 2;
  const double mid_y = (table.Y2[n] + table.Y1[n]) / 2;
  canvas.PSet(static_cast<float>(mid_x), static_cast<float>(mid_y));
  canvas.Print(FormatNumber(n));
  // The line stays the one computed from the end drawn first, even when that
  // end is now the right one.
  table.Slope[n] = c.slope;
  table.Intercept[n] = c.intercept;
  table.SegPlaced = CheckedAdd(table.SegPlaced, 1);
}

void GenerateSegments(SegmentTable& table, Canvas& canvas, RandomSource& random, double view_w,
                      double view_h) {
  table.SegPlaced = 0;
  while (table.SegPlaced < table.SegCount) {
    // The order of the four draws fixes the scene a seed gives.
    const double x1 = static_cast<double>(random.Rnd()) * (view_w - 30) + 15;
    const double y1 = static_cast<double>(random.Rnd()) * (view_h - 30) + 15;
    const double x2 = static_cast<double>(random.Rnd()) * (view_w - 30) + 15;
    const double y2 = static_cast<double>(random.Rnd()) * (view_h - 30) + 15;
    ClearFloatingPointFaults();
    const bool refused = JudgeCandidate(table, x1, y1, x2, y2).refusal != Refusal::kNone;
    CheckFloatingPointFaults("the generation of the segments");
    if (refused) continue;
    const Candidate accepted = MakeCandidate(x1, y1, x2, y2);
    CheckFloatingPointFaults("the generation of the segments");
    PlaceSegment(table, canvas, accepted);
  }
}

}  // namespace kaldra
