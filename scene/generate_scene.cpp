#include "scene/generate_scene.h"

#include <cmath>

#include "scene/run_time_error.h"
#include "scene/scene_builder.h"

namespace kaldra {

std::int16_t SegCountFromRandom(float r) {
  // nearbyint rounds half to even in the default rounding mode: 0.75 * 14 =
  // 10.5 gives 10, not 11.
  const double scaled = static_cast<double>(r) * 14.0;
  const auto rounded = static_cast<std::int16_t>(std::nearbyint(scaled));
  return CheckedAdd(rounded, 3);
}

Scene GenerateScene(RandomSource& random, double width, double height) {
  const std::int16_t count = SegCountFromRandom(random.Rnd());
  SceneBuilder builder(width, height);
  while (builder.Count() < count) {
    // The order of the four draws fixes the scene a seed gives.
    const double x1 = static_cast<double>(random.Rnd()) * (width - 30) + 15;
    const double y1 = static_cast<double>(random.Rnd()) * (height - 30) + 15;
    const double x2 = static_cast<double>(random.Rnd()) * (width - 30) + 15;
    const double y2 = static_cast<double>(random.Rnd()) * (height - 30) + 15;
    // A fault in judging a candidate ends the run, even for one refused.
    const Verdict verdict = builder.Add(x1, y1, x2, y2);
    if (verdict.fault != FloatFault::kNone) {
      throw FaultError(verdict.fault, "the generation of the segments");
    }
  }
  return builder.Build();
}

}  // namespace kaldra
