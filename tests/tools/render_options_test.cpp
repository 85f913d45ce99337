#include "tools/render_options.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

struct UsageCase {
  const char* name;
  std::vector<std::string_view> args;
  const char* message;  // a part of the usage error
};

void PrintTo(const UsageCase& row, std::ostream* os) { *os << row.name; }

class RenderUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(RenderUsageError, IsRefusedWithOneClearReason) {
  const ParsedRenderOptions parsed = ParseRenderOptions(GetParam().args);
  ASSERT_TRUE(parsed.usage_error.has_value());
  EXPECT_NE(parsed.usage_error->find(GetParam().message), std::string::npos) << *parsed.usage_error;
  EXPECT_EQ(parsed.usage_error->find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RenderUsageError,
    ::testing::Values(
        UsageCase{"UnknownOption", {"--colour"}, "unknown option '--colour'"},
        UsageCase{"ShortOption", {"-s", "3"}, "unknown option '-s'"},
        UsageCase{"StrayArgument", {"scene.txt"}, "unexpected argument 'scene.txt'"},
        UsageCase{"MissingValueAtEnd", {"--png"}, "--png needs a value"},
        UsageCase{"OptionInsteadOfValue", {"--seed", "--quiet"}, "--seed needs a value"},
        UsageCase{"EmptyFileName", {"--png="}, "--png needs a file name"},
        UsageCase{"NegativeSeed", {"--seed", "-1"}, "not '-1'"},
        UsageCase{"SeedTooLarge", {"--seed", "4294967296"}, "0 to 4294967295"},
        UsageCase{"SeedWithSign", {"--seed", "+5"}, "not '+5'"},
        UsageCase{"SeedWithGarbage", {"--seed=12ab"}, "not '12ab'"},
        UsageCase{"SeedAndScene", {"--seed", "1", "--scene", "a"}, "either --seed or --scene"},
        UsageCase{"SeedTwice", {"--seed", "1", "--seed", "2"}, "--seed given twice"},
        UsageCase{"QuietTwice", {"--quiet", "--quiet"}, "--quiet given twice"},
        UsageCase{"QuietWithValue", {"--quiet=yes"}, "--quiet takes no value"},
        UsageCase{"SizeWithoutX", {"--size", "800"}, "WxH"},
        UsageCase{"SizeTooSmall", {"--size", "63x100"}, "64 to 8192"},
        UsageCase{"SizeTooLarge", {"--size", "100x8193"}, "not '100x8193'"},
        UsageCase{"SizeUpperCaseX", {"--size", "100X100"}, "WxH"},
        UsageCase{"SizeWithBlank", {"--size", "100 x100"}, "WxH"},
        UsageCase{
            "SameFileTwice", {"--png", "a", "--plots", "a"}, "--png and --plots name the same"},
        UsageCase{"PngTwice", {"--png", "a", "--png", "b"}, "--png given twice"}),
    [](const ::testing::TestParamInfo<UsageCase>& row) { return std::string(row.param.name); });

TEST(ParseRenderOptions, DefaultsToTheWindowsSizeAndNothingWritten) {
  const ParsedRenderOptions parsed = ParseRenderOptions({});
  ASSERT_FALSE(parsed.usage_error.has_value());
  const RenderOptions& o = parsed.options;
  EXPECT_EQ(o.action, RenderOptions::Action::kRender);
  EXPECT_FALSE(o.seed.has_value());
  EXPECT_FALSE(o.scene_path.has_value());
  EXPECT_EQ(o.width, 788);
  EXPECT_EQ(o.height, 565);
  EXPECT_TRUE(o.png_path.empty() && o.plots_path.empty() && o.save_scene_path.empty());
  EXPECT_FALSE(o.quiet);
}

TEST(ParseRenderOptions, ReadsEveryOptionInBothSpellings) {
  const ParsedRenderOptions parsed = ParseRenderOptions({"--seed=4294967295", "--size", "64x8192",
                                                         "--png", "p.png", "--plots=p.tsv",
                                                         "--save-scene", "s.scene", "--quiet"});
  ASSERT_FALSE(parsed.usage_error.has_value()) << *parsed.usage_error;
  const RenderOptions& o = parsed.options;
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.width, 64);
  EXPECT_EQ(o.height, 8192);
  EXPECT_EQ(o.png_path, "p.png");
  EXPECT_EQ(o.plots_path, "p.tsv");
  EXPECT_EQ(o.save_scene_path, "s.scene");
  EXPECT_TRUE(o.quiet);
}

TEST(ParseRenderOptions, HelpAndVersionWinOverWhatFollows) {
  EXPECT_EQ(ParseRenderOptions({"--help", "--bogus"}).options.action, RenderOptions::Action::kHelp);
  EXPECT_EQ(ParseRenderOptions({"--seed", "3", "--version"}).options.action,
            RenderOptions::Action::kVersion);
}

}  // namespace
}  // namespace kaldra
