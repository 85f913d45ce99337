#include "instrument/scene_origin.h"

#include <algorithm>
#include <string>
#include <utility>

#include "scene/scene_file.h"

namespace kaldra {

WindowSceneRead ReadWindowScene(std::string_view name, std::string_view text, int width,
                                int height) {
  const auto [w, h] = SavedSize(text).value_or(std::pair{width, height});
  SceneReadResult read = ReadScene(text, std::min(w, width), std::min(h, height));
  if (read.error)
    return {std::nullopt, FormatSceneError(name == "-" ? "<stdin>" : name, *read.error)};
  return {std::move(read.scene), {}};
}

WindowSceneRead ReadWindowSceneFile(const std::string& path, int width, int height) {
  std::string text;
  if (auto problem = ReadWholeFile(path, text)) {
    return {std::nullopt, "cannot read '" + path + "': " + *problem, true};
  }
  return ReadWindowScene(path, text, width, height);
}

}  // namespace kaldra
