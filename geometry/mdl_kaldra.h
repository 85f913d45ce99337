#pragma once

#include <cstdint>

#include "geometry/constructions.h"
#include "scene/scene.h"

namespace kaldra {

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

// The constructions of one scene as routines that leave their results in
// records, for a caller that wants the record: each routine overwrites its
// record on every call. The work is done by the pure functions of
// constructions.h; the tracing calls those directly.
class mdlKaldra {
 public:
  explicit mdlKaldra(const Scene& scene)
      : SegCount(scene.SegCount()), ViewW(scene.Width()), ViewH(scene.Height()), scene_(scene) {}

  const std::int16_t SegCount;
  const double ViewW;
  const double ViewH;
  const double Pi = kKaldraPi;

  ClippedLine PtBis;
  ClippedLine LnBis1;
  ClippedLine LnBis2;
  ParabolaFrameRecord ParabolaFrame;

  // The perpendicular bisector of A and B, clipped into PtBis.
  void PointBisector(double ax, double ay, double bx, double by);

  // 1 when a segment other than i and j is strictly closer to (x, y) than d,
  // else 0.
  std::int16_t CountCloserSegments(std::int16_t i, std::int16_t j, double x, double y,
                                   double d) const;

  // The two angle bisectors of the lines of segments i and j, clipped into
  // LnBis1 (the mean direction) and LnBis2 (perpendicular to it).
  void LineBisectors(std::int16_t i, std::int16_t j);

  // The parabola with focus the left end of segment j and directrix the line
  // of segment i: writes ParX, ParY, ParHalfS and ParAxisS.
  void StartParabola(std::int16_t i, std::int16_t j);
  // The same with focus the right end of j: writes ParX, ParY, ParHalfE and
  // ParAxisE.
  void EndParabola(std::int16_t i, std::int16_t j);

 private:
  const Scene& scene_;
};

}  // namespace kaldra
