#include "web/scene_link.h"

#include <string>
#include <utility>

#include "command_line/command_line_help.h"
#include "instrument/scene_edit.h"
#include "instrument/scene_origin.h"
#include "scene/decimal_text.h"

namespace kaldra {

namespace {

constexpr std::string_view kSeedKey = "seed=";
constexpr std::string_view kSceneKey = "scene=";

// "WxH" of whole numbers above 0, the size line in short.
bool IsSize(std::string_view part) {
  const std::size_t x = part.find('x');
  if (x == 0 || x == std::string_view::npos || x + 1 == part.size()) return false;
  int side = 0;
  return ParseDecimal(part.substr(0, x), side) && ParseDecimal(part.substr(x + 1), side) &&
         part.find_first_not_of("0123456789x") == std::string_view::npos;
}

// The scene file that the short form after "scene=" stands for, line for part.
std::string SceneText(std::string_view parts) {
  std::string text;
  bool first = true;
  for (;;) {
    const std::size_t end = parts.find(';');
    std::string_view part = parts.substr(0, end);
    if (first && IsSize(part)) {
      text += "# Kaldra scene, ";
      text += part;
    } else {
      for (const char c : part) text += c == ',' ? ' ' : c;
    }
    text += '\n';
    first = false;
    if (end == std::string_view::npos) return text;
    parts.remove_prefix(end + 1);
  }
}

}  // namespace

std::string SceneLink(std::optional<std::uint32_t> seed, const Scene& scene, int width,
                      int height) {
  if (seed) return std::string(kSeedKey) + std::to_string(*seed);
  std::string link(kSceneKey);
  if (scene.Width() != width || scene.Height() != height) {
    link += ShortestText(scene.Width()) + "x" + ShortestText(scene.Height()) + ";";
  }
  for (const EditEnds& e : SegmentsOf(scene)) {
    link += ShortestText(e.first_x) + "," + ShortestText(e.first_y) + "," +
            ShortestText(e.second_x) + "," + ShortestText(e.second_y) + ";";
  }
  link.pop_back();
  return link;
}

LinkedScene ReadLink(std::string_view fragment, int width, int height) {
  LinkedScene linked;
  if (fragment.empty()) return linked;
  if (fragment.starts_with(kSeedKey)) {
    std::string value(fragment.substr(kSeedKey.size()));
    linked.seed = ParseSeed(value);
    if (!linked.seed) linked.problem = std::string(kLinkName) + ": the seed " + SeedCheck()(value);
    return linked;
  }
  if (fragment.starts_with(kSceneKey)) {
    WindowSceneRead read = ReadWindowScene(kLinkName, SceneText(fragment.substr(kSceneKey.size())),
                                           width, height);
    linked.scene = std::move(read.scene);
    linked.problem = std::move(read.problem);
    return linked;
  }
  linked.problem = std::string(kLinkName) + ": '" + std::string(fragment.substr(0, 40)) +
                   "' names no scene; a link to a scene ends in #seed=N or #scene=...";
  return linked;
}

}  // namespace kaldra
