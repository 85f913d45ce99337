#pragma once

#include <array>
#include <span>

#include "scene/color.h"
#include "scene/draw_scene.h"

namespace kaldra {

// The colours of each family of curves, in the order each pair traces them.
// The sweeps draw in these and a legend names them, so the two cannot differ.
inline constexpr std::array<Color, 4> kEndpointBisectorColors = {kCyan, kMagenta, kYellow, kRed};
inline constexpr std::array<Color, 2> kAngleBisectorColors = {kBlue, kGreen};
inline constexpr std::array<Color, 4> kArcColors = {kMagenta, kCyan, kYellow, kGreen};
inline constexpr std::array<Color, 1> kSceneColors = {kSceneColor};

// What a picture holds, family by family, with the colours each is drawn in.
// A colour does not identify a family: magenta, cyan, yellow and green each
// belong to two.
struct CurveFamily {
  const char* name;
  std::span<const Color> colors;
};
inline constexpr std::array<CurveFamily, 4> kCurveFamilies = {{
    {"Segments and labels", kSceneColors},
    {"Endpoint bisectors", kEndpointBisectorColors},
    {"Angle bisectors", kAngleBisectorColors},
    {"Parabolas", kArcColors},
}};

}  // namespace kaldra
