// Fuzz target for the scene reader: any bytes are read as a scene. The reader
// must never crash, and every scene it accepts must hold what a generated
// scene holds and survive writing and reading back bit for bit.
//
// Built by scripts/stress with clang's libFuzzer, AddressSanitizer and
// UndefinedBehaviorSanitizer; not part of the normal build.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scene/scene_file.h"

namespace {

// Two drawing rectangles: the window's, and the smallest the renderer takes,
// which refuses many more ends.
constexpr double kSizes[][2] = {{788, 565}, {64, 64}};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto& view : kSizes) {
    const kaldra::SceneReadResult read = kaldra::ReadScene(text, view[0], view[1]);
    if (read.error) {
      Require(!read.scene && !read.error->reason.empty());
      continue;
    }
    const kaldra::Scene& scene = *read.scene;
    Require(scene.Count() >= 1 && scene.Count() <= kaldra::Scene::kMaxSegments);
    Require(read.lines.size() == static_cast<std::size_t>(scene.Count()));
    for (const kaldra::Segment& s : scene.Segments()) {
      Require(s.x1 < s.x2);  // left end first
      Require(s.x1 >= 0 && s.x2 <= view[0]);
    }
    const kaldra::SceneReadResult back = kaldra::ReadScene(kaldra::WriteScene(scene, "fuzz"),
                                                           view[0], view[1]);
    Require(!back.error && kaldra::SameSegments(*back.scene, scene));
  }
  return 0;
}
