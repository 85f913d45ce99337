#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "scene/scene.h"

namespace kaldra {

// A scene as the instrument hands it around: immutable and shared, so that
// the current scene, the one on the canvas and the one a trace works on are
// one object when they are the same scene, never copies kept in step.
using SceneRef = std::shared_ptr<const Scene>;

// Where the current scene comes from: a seed's random scene, or a file, and
// the file it was saved to last. An edit keeps the origin; while the scene
// differs from what was generated, read or saved it is modified.
struct SceneOrigin {
  std::optional<std::uint32_t> seed;  // the seed it was generated from
  bool chosen = false;                // the seed was given, not drawn at random
  // The file it was read from or last saved to, as the user named it ("-" is
  // standard input); empty for a seed's scene not saved since.
  std::string file_name;
};

// The names of a scene, `modified` when it has changes not saved. A seed's
// scene is named by its seed until it is saved to a file once edited.
//
// Whether the scene is named by its seed: it has one, and no file yet. The
// menu's Copy entry then copies the seed, else the file name.
bool NamedBySeed(const SceneOrigin& origin);
// Whether the scene is exactly its seed's, so that the seed reproduces it.
bool SeedsScene(const SceneOrigin& origin, bool modified);
// The window's caption: "Kaldra" for a random scene nobody asked for by name
// and nobody changed; else the scene's name with "*" while modified:
// "seed 4242 — Kaldra", "lesson.scene* — Kaldra".
std::string Caption(const SceneOrigin& origin, bool modified);
// "Seed 9", "Seed 9, edited" or "Scene my.scene", for the menu.
std::string SceneLabel(const SceneOrigin& origin, bool modified);
// "9", "9-edited", "my" or "stdin", for suggested file names.
std::string SceneName(const SceneOrigin& origin, bool modified);
// What Copy puts on the clipboard: the seed of the seed's scene, the file's
// name, or nothing for an edited seed's scene, which neither reproduces.
std::string CopyText(const SceneOrigin& origin, bool modified);

// `path` with `extension` (".png") added when its file name has none, as a
// typed name gets it from desktop programs.
std::string WithExtension(std::string path, std::string_view extension);

// A scene file's text read for a canvas of width x height, under the
// renderer's rules: a scene saved at another size keeps its rectangle where it
// fits on the canvas, and ends beyond the canvas are refused as outside it.
// `name` is the file as the user named it, for the message.
struct WindowSceneRead {
  std::optional<Scene> scene;
  std::string problem;      // "FILE:LINE: reason", or why the file could not be read
  bool unreadable = false;  // the file could not be read at all
};
WindowSceneRead ReadWindowScene(std::string_view name, std::string_view text, int width,
                                int height);
// The same for the file at `path` ("-" is standard input), for a front end
// that has files.
WindowSceneRead ReadWindowSceneFile(const std::string& path, int width, int height);

}  // namespace kaldra
