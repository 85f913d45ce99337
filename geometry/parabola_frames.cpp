#include <cassert>
#include <cmath>

#include "geometry/mdl_kaldra.h"
#include "geometry/power.h"

namespace kaldra {

namespace {

struct Frame {
  double vx, vy, half, angle;
};

// The parabola with focus (px, py) and directrix y = m * x + b: its vertex is
// halfway between the focus and the foot F of the perpendicular from it, and
// its axis runs along that perpendicular.
Frame ParabolaFrameOf(double m, double b, double px, double py) {
  assert(m != 0 && px * m - py + b != 0);
  const double d = std::fabs(px * m - py + b) / Root(Square(m) + 1);
  const double half = d / 2;
  const double n = -1 / m;       // slope of the perpendicular
  const double k = py - n * px;  // its intercept through the focus
  const double fx = (b - k) / (n - m);
  const double fy = fx * n + k;
  const double vx = (fx + px) / 2;
  const double vy = (fy + py) / 2;
  return {vx, vy, half, std::atan(n)};
}

}  // namespace

void mdlKaldra::StartParabola(std::int16_t i, std::int16_t j) {
  const Frame f = ParabolaFrameOf(Slope[i], Intercept[i], X1[j], Y1[j]);
  // Stored together after the last computation, so a faulting call leaves the
  // record as it was; the E fields belong to EndParabola and stay.
  ParabolaFrame.ParX = f.vx;
  ParabolaFrame.ParY = f.vy;
  ParabolaFrame.ParHalfS = f.half;
  ParabolaFrame.ParAxisS = f.angle;
}

void mdlKaldra::EndParabola(std::int16_t i, std::int16_t j) {
  const Frame f = ParabolaFrameOf(Slope[i], Intercept[i], X2[j], Y2[j]);
  ParabolaFrame.ParX = f.vx;
  ParabolaFrame.ParY = f.vy;
  ParabolaFrame.ParHalfE = f.half;
  ParabolaFrame.ParAxisE = f.angle;
}

}  // namespace kaldra
