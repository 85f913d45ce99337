#pragma once

#include <array>
#include <initializer_list>

#include <gtest/gtest.h>

#include "scene/canvas.h"
#include "scene/scene_builder.h"

namespace kaldra::testing {

// The segments, each from its first end, through the builder, which must
// accept every one; the rectangle is the window's unless given.
inline Scene BuildScene(std::initializer_list<std::array<double, 4>> segments,
                        double width = kDefaultCanvasWidth, double height = kDefaultCanvasHeight) {
  SceneBuilder builder(width, height);
  for (const auto& s : segments) {
    EXPECT_TRUE(builder.Add(s[0], s[1], s[2], s[3]).Accepted()) << s[0] << " " << s[1];
  }
  return builder.Build();
}

}  // namespace kaldra::testing
