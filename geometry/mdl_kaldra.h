#pragma once

#include <cstdint>

#include "scene/segment_table.h"

namespace kaldra {

// Pi as the drawing has always used it: 3.14159265358979, fifteen significant
// digits, seven units in the last place below the double nearest to pi. Every
// angle of the diagram is computed with this value.
inline constexpr double kKaldraPi = 3.14159265358979;

// A straight line cut to the band 0 <= y <= ViewH: the end found from the left
// edge x = 0 and the end found from the right edge x = ViewW. A line that
// misses the band over 0 <= x <= ViewW gets two equal ends.
struct ClippedLine {
  double StartX = 0;
  double StartY = 0;
  double EndX = 0;
  double EndY = 0;
};

// The frame of the parabola between an endpoint (the focus) and another
// segment's supporting line (the directrix): the vertex, shared by both
// routines, and per routine the focal half-distance and the axis angle.
struct ParabolaFrameRecord {
  double ParHalfE = 0;
  double ParAxisE = 0;
  double ParX = 0;
  double ParY = 0;
  double ParHalfS = 0;
  double ParAxisS = 0;
};

// The distance of (x0, y0) and (x1, y1), squares and root taken with pow.
double PointDistance(double x0, double y0, double x1, double y1);

// Everything one scene shares: the segment table, the drawing rectangle, Pi
// and the result records that each construction overwrites on every call.
// One object per scene, so tests, the renderer and the benchmarks can hold as
// many scenes as they like.
class mdlKaldra : public SegmentTable {
 public:
  double ViewW = 0;
  double ViewH = 0;
  double Pi = kKaldraPi;

  ClippedLine PtBis;
  ClippedLine LnBis1;
  ClippedLine LnBis2;
  ParabolaFrameRecord ParabolaFrame;

  // The perpendicular bisector of A and B, clipped into PtBis.
  // Precondition: ax != bx and ay != by.
  void PointBisector(double ax, double ay, double bx, double by);

  // 1 when a segment other than i and j is strictly closer to (x, y) than d,
  // else 0. Precondition: no segment is horizontal.
  std::int16_t CountCloserSegments(std::int16_t i, std::int16_t j, double x, double y,
                                   double d) const;

  // The two angle bisectors of the supporting lines of segments i and j,
  // clipped into LnBis1 (the mean direction) and LnBis2 (perpendicular to it).
  // Precondition: the two lines are not parallel.
  void LineBisectors(std::int16_t i, std::int16_t j);

  // The parabola with focus (X1[j], Y1[j]) and directrix the line of segment
  // i: writes ParX, ParY, ParHalfS and ParAxisS.
  // Precondition: segment i is not horizontal; the focus is off its line.
  void StartParabola(std::int16_t i, std::int16_t j);
  // The same with focus (X2[j], Y2[j]): writes ParX, ParY, ParHalfE, ParAxisE.
  void EndParabola(std::int16_t i, std::int16_t j);

 private:
  // Cuts y = slope * x + intercept to the band into `out`.
  void ClipToBand(double slope, double intercept, ClippedLine& out) const;
};

}  // namespace kaldra
