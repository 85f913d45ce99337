#pragma once

#include <cstdint>

#include "scene/random_source.h"
#include "scene/scene.h"

namespace kaldra {

// The number of segments of a run, from the first random number after
// seeding: round-half-to-even(r * 14) + 3, so 3 to 17.
std::int16_t SegCountFromRandom(float r);

// The random scene of a run in a width x height drawing rectangle: the count
// from the first number, then candidates of four numbers each (x1, y1, x2, y2,
// in that order) until that many are accepted; a refused candidate leaves no
// trace. Ends keep a margin of 15 pixels inside the rectangle.
Scene GenerateScene(RandomSource& random, double width, double height);

}  // namespace kaldra
