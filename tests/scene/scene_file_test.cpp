#include "scene/scene_file.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "scene/canvas.h"
#include "tests/support/build_scene.h"

namespace kaldra {
namespace {

namespace fs = std::filesystem;
using testing::BuildScene;

constexpr double kW = kDefaultCanvasWidth;
constexpr double kH = kDefaultCanvasHeight;

// Every rule a scene can break, each as the smallest file in the corpus that
// breaks it: a file whose first line is "# expect LINE: REASON" is refused at
// that line with that reason; every other file there, the limits' other side
// among them, is read. Each file is closed again.
TEST(ReadScene, RefusesEachBrokenRuleNamingItsLine) {
  const auto fds = [] { return std::ranges::distance(fs::directory_iterator("/proc/self/fd")); };
  const auto open_before = fds();
  int refused = 0;
  for (const auto& entry : fs::directory_iterator(KALDRA_SCENE_CORPUS)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::string text;
    ASSERT_FALSE(ReadWholeFile(entry.path(), text).has_value());
    const SceneReadResult read = ReadScene(text, kW, kH);
    int line = 0;
    char reason[200] = {};
    if (std::sscanf(text.c_str(), "# expect %d: %199[^\n]", &line, reason) != 2) {
      EXPECT_FALSE(read.error.has_value()) << read.error->reason;
      continue;
    }
    ++refused;
    ASSERT_TRUE(read.error.has_value());
    EXPECT_EQ(read.error->line, line);
    EXPECT_NE(read.error->reason.find(reason), std::string::npos) << read.error->reason;
  }
  EXPECT_EQ(refused, 26);
  EXPECT_EQ(fds(), open_before);
}

// Scene text written with 17 digits, each segment from the end generated
// first, reads back as the same table; a scene found by the fuzz target: (0,
// -0) gives the intercept -0 and (3, 9) gives +0, which == took for the same,
// so the scene was written left end first and read back with the other
// intercept. The check can fail: the same ends given the other way round.
TEST(WriteScene, ReadingBackReproducesTheTableBitForBit) {
  const Scene found = BuildScene({{3, 9, 0, -0.0}});
  const SceneReadResult back = ReadScene(WriteScene(found, "a comment\nof two lines"), kW, kH);
  ASSERT_FALSE(back.error.has_value()) << back.error->reason;
  EXPECT_TRUE(SameSegments(*back.scene, found));
  EXPECT_FALSE(SameSegments(BuildScene({{0, -0.0, 3, 9}}), found));
}

}  // namespace
}  // namespace kaldra
