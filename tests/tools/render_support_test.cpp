// The parts of kaldra-render besides its main: options, usage, report, and
// the saved size of a scene file.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scene/color.h"
#include "scene/scene_file.h"
#include "tools/render_options.h"
#include "tools/render_report.h"

namespace kaldra {
namespace {

// The limits of --seed, --size and --scale from both sides, both forms of a
// value, and each rule of the command line; the refusals' messages are
// checked on the process.
TEST(ParseRenderOptions, TakesTheLimitsAndKeepsEveryRule) {
  const ParsedRenderOptions most = ParseRenderOptions(
      {"--seed=4294967295", "--size", "64x8192", "--scale", "8"});
  EXPECT_EQ(most.options.seed, 4294967295u);
  EXPECT_EQ(most.options.size, std::pair(64, 8192));
  EXPECT_EQ(most.options.scale, 8);
  const std::vector<std::string_view> refused[] = {
      {"--seed", "4294967296"}, {"--seed", "+1"}, {"--seed", " 1"},   {"--size", "63x100"},
      {"--size", "100x8193"},   {"--scale", "0"}, {"--scale", "1.5"}, {"--quiet", "--quiet"},
      {"--quiet=yes"},          {"--png="}};
  for (const auto& args : refused) {
    EXPECT_TRUE(ParseRenderOptions(args).usage_error.has_value()) << args[0] << " " << args.back();
  }
}

// Nine significant digits of a plotted point give back its float exactly; a
// saved size is a whole "WxH" at the head of the first line only.
TEST(RenderSupport, WritesPlotListsAndFindsSavedSizes) {
  EXPECT_EQ(
      PlotListText({{700.402344f, 216.5f, kBlue}, {-0.25f, 1e-7f, kCyan}, {1234567.5f, 3, kRed}}),
      "700.402344\t216.5\tFF0000\n-0.25\t1.00000001e-07\tFFFF00\n1234567.5\t3\t0000FF\n");
  EXPECT_EQ(SavedSize("\xEF\xBB\xBF# Kaldra scene, 1576x1130, seed 7\n"), std::pair(1576, 1130));
  EXPECT_EQ(SavedSize("1 2 3 4\n# Kaldra scene, 200x100\n"), std::nullopt);
}

}  // namespace
}  // namespace kaldra
