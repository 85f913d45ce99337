#include "scene/scaled_scene.h"

#include "scene/scene_builder.h"

namespace kaldra {

std::optional<Scene> ScaledScene(const Scene& scene, int scale, std::string& refusal) {
  const double k = scale;
  SceneBuilder builder(scene.Width() * k, scene.Height() * k);
  for (const Segment& s : scene.Segments()) {
    // A fault while judging refuses the segment, as it does in a scene file.
    const Verdict verdict = s.left_end_first ? builder.Add(s.x1 * k, s.y1 * k, s.x2 * k, s.y2 * k)
                                             : builder.Add(s.x2 * k, s.y2 * k, s.x1 * k, s.y1 * k);
    if (!verdict.Accepted()) {
      refusal = "segment " + std::to_string(builder.Count()) + ": " +
                builder.Describe(verdict, "segment " + std::to_string(verdict.other));
      return std::nullopt;
    }
  }
  return builder.Build();
}

}  // namespace kaldra
