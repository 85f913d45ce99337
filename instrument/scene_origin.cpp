#include "instrument/scene_origin.h"

#include <algorithm>
#include <string>
#include <utility>

#include "scene/scene_file.h"

namespace kaldra {

namespace {

// The file's name without its folder.
std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

bool NamedBySeed(const SceneOrigin& origin) { return origin.seed && origin.file_name.empty(); }

bool SeedsScene(const SceneOrigin& origin, bool modified) {
  return NamedBySeed(origin) && !modified;
}

std::string Caption(const SceneOrigin& origin, bool modified) {
  std::string name;
  if (NamedBySeed(origin)) {
    if (!origin.chosen && !modified) return "Kaldra";
    name = "seed " + std::to_string(*origin.seed);
  } else {
    name = origin.file_name == "-" ? "standard input" : FileName(origin.file_name);
  }
  return name + (modified ? "*" : "") + " \u2014 Kaldra";
}

std::string SceneLabel(const SceneOrigin& origin, bool modified) {
  if (!NamedBySeed(origin)) return "Scene " + FileName(origin.file_name);
  return "Seed " + std::to_string(*origin.seed) + (modified ? ", edited" : "");
}

std::string SceneName(const SceneOrigin& origin, bool modified) {
  if (NamedBySeed(origin)) return std::to_string(*origin.seed) + (modified ? "-edited" : "");
  if (origin.file_name == "-") return "stdin";
  // The name without its folder and its last extension.
  const std::string name = FileName(origin.file_name);
  return name.substr(0, name.rfind('.'));
}

std::string CopyText(const SceneOrigin& origin, bool modified) {
  if (!NamedBySeed(origin)) return origin.file_name;
  return modified ? std::string() : std::to_string(*origin.seed);
}

std::string WithExtension(std::string path, std::string_view extension) {
  const std::string name = FileName(path);
  // A leading dot starts a hidden file's name, not an extension.
  if (name.find('.', 1) == std::string::npos) path += extension;
  return path;
}

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
