#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scene/scene.h"

namespace kaldra {

// A link to the page carries its scene in the address's fragment, which no
// server ever sees: "seed=N" for a seed's random scene as generated, else
// "scene=" and the scene file in short: its lines joined by ';', the numbers
// of a line by ',' (each the shortest decimal that reads back as the same
// double), and, when the scene's rectangle is not the canvas, the size line
// as "WxH" first. Reading it back is reading that scene file, so a link is
// refused for the reasons a file is, with a line number that counts the
// parts after "scene=".

// The fragment, without '#', that names the scene: its seed while the seed
// reproduces it, else the scene itself, for a width x height canvas.
std::string SceneLink(std::optional<std::uint32_t> seed, const Scene& scene, int width, int height);

// What a fragment names: a seed, a scene for a width x height canvas, nothing
// (an empty fragment), or neither with the reason in words.
struct LinkedScene {
  std::optional<std::uint32_t> seed;
  std::optional<Scene> scene;
  std::string problem;
};
LinkedScene ReadLink(std::string_view fragment, int width, int height);

// The name a linked scene goes by: "link", so "Scene link" in the menu and
// kaldra-link.scene when it is saved.
inline constexpr std::string_view kLinkName = "link";

}  // namespace kaldra
