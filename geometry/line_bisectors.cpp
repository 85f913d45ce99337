#include <cassert>
#include <cmath>

#include "geometry/mdl_kaldra.h"

namespace kaldra {

void mdlKaldra::LineBisectors(std::int16_t i, std::int16_t j) {
  assert(Slope[i] != Slope[j]);
  // Both bisectors pass through the crossing of the two supporting lines.
  const double x0 = (Intercept[i] - Intercept[j]) / (Slope[j] - Slope[i]);
  const double y0 = x0 * Slope[i] + Intercept[i];
  double ai = std::atan(Slope[i]);
  double aj = std::atan(Slope[j]);

  const double h1 = (aj + ai) / 2;
  const double t1 = std::tan(h1);
  const double b1 = y0 - t1 * x0;
  ClipToBand(t1, b1, LnBis1);

  // Turning the smaller direction by a half turn makes the mean direction the
  // other bisector, perpendicular to the first; a tie turns aj.
  if (ai < aj) {
    ai = ai + Pi;
  } else {
    aj = aj + Pi;
  }
  const double h2 = (aj + ai) / 2;
  const double t2 = std::tan(h2);
  const double b2 = y0 - t2 * x0;
  ClipToBand(t2, b2, LnBis2);
}

}  // namespace kaldra
