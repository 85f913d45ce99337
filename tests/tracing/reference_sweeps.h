#pragma once

#include "geometry/mdl_kaldra.h"
#include "scene/canvas.h"
#include "tracing/sweeps.h"

namespace kaldra::reference {

// The sweeps written plainly, step for step, with every distance taken through
// PointDistance and every closer-segment question through
// mdlKaldra::CountCloserSegments. Slow, and the oracle the fast sweeps must
// match point for point.
SweepStats SweepOne(mdlKaldra& mdl, Canvas& canvas);
SweepStats SweepTwo(mdlKaldra& mdl, Canvas& canvas);

}  // namespace kaldra::reference
