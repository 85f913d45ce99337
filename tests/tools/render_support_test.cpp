// The parts of kaldra-render besides its main: options, report, output files.

#include <sys/stat.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "scene/color.h"
#include "tools/output_files.h"
#include "tools/render_options.h"
#include "tools/render_report.h"

namespace kaldra {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The limits of --seed and --size from both sides, both forms of a value, and
// each rule of the command line.
TEST(ParseRenderOptions, TakesTheLimitsAndKeepsEveryRule) {
  const ParsedRenderOptions most = ParseRenderOptions(
      {"--seed=4294967295", "--size", "64x8192", "--png", "-"});
  EXPECT_EQ(most.usage_error, std::nullopt);
  EXPECT_EQ(most.options.seed, 4294967295u);
  EXPECT_EQ(most.options.width, 64);
  EXPECT_EQ(most.options.height, 8192);
  EXPECT_EQ(most.options.png_path, "-");
  EXPECT_EQ(ParseRenderOptions({"--scene", "-"}).options.scene_path, "-");
  EXPECT_EQ(ParseRenderOptions({"-h"}).options.action, RenderOptions::Action::kHelp);
  const std::vector<std::string_view> refused[] = {{"--seed", "4294967296"},
                                                   {"--seed", "+1"},
                                                   {"--seed", " 1"},
                                                   {"--size", "63x100"},
                                                   {"--size", "100x8193"},
                                                   {"--seed", "1", "--seed", "1"},
                                                   {"--quiet", "--quiet"},
                                                   {"--quiet=yes"},
                                                   {"--png", "--quiet"},
                                                   {"--png="},
                                                   {"--seed", "1", "--scene", "-"},
                                                   {"stray"}};
  for (const auto& args : refused) {
    const ParsedRenderOptions parsed = ParseRenderOptions(args);
    EXPECT_TRUE(parsed.usage_error.has_value()) << args[0] << " " << args.back();
    EXPECT_TRUE(parsed.usage_error.value_or("").starts_with("kaldra-render: "));
  }
}

// The usage text comes from the option definitions: every option is in it.
TEST(RenderUsageText, NamesEveryOptionAndTheExitStatuses) {
  const std::string text = RenderUsageText();
  EXPECT_TRUE(
      text.starts_with("Usage: kaldra-render [-h | --help] [--version] "
                       "[--seed N | --scene FILE]\n"))
      << text;
  for (const char* part : {"--size WxH", "--png FILE", "--plots FILE", "--save-scene FILE",
                           "--quiet", "Exit status: 0 done; 2 "}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
}

// In order, with three decimals in any locale: Qt takes the locale from the
// environment, and a German one writes "1,250" with printf.
TEST(SummaryJson, HoldsTheSevenFieldsInOrderInAnyLocale) {
  const RenderStats stats = {4294967295u, 17, 123456789012, 42, 1.25, 0.0004, 1234.5};
  const std::string expected =
      "{\"seed\": 4294967295, \"segments\": 17, \"samples\": 123456789012, \"plotted\": 42, "
      "\"generate_ms\": 1.250, \"sweep1_ms\": 0.000, \"sweep2_ms\": 1234.500}";
  EXPECT_EQ(SummaryJson(stats), expected);
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  const std::string german = SummaryJson(stats);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(german, expected);
}

// Nine significant digits give back any float exactly.
TEST(PlotListText, WritesNineDigitsAndTheColourValueInHex) {
  EXPECT_EQ(
      PlotListText({{700.402344f, 216.5f, kBlue}, {-0.25f, 1e-7f, kCyan}, {1234567.5f, 3, kRed}}),
      "700.402344\t216.5\tFF0000\n"
      "-0.25\t1.00000001e-07\tFFFF00\n"
      "1234567.5\t3\t0000FF\n");
}

// A folder per test, left empty at the end.
class Outputs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("kaldra_outputs_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "folder");
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string At(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// Refused before any work: each row names two outputs, or one that cannot be.
TEST_F(Outputs, RefusesSameFileTwiceAndUnusablePaths) {
  std::ofstream(At("a")) << "a";
  fs::create_hard_link(At("a"), At("hard"));
  fs::create_symlink("a", At("link"));
  fs::create_symlink("new", At("dangling"));
  const struct {
    std::string first, second;
    const char* reason;
  } rows[] = {
      {At("a"), dir_.string() + "/./a", "--png and --plots name the same file"},
      {At("a"), At("hard"), "name the same file"},
      {At("a"), At("link"), "name the same file"},
      {At("new"), At("folder/../dangling"), "name the same file"},
      {"-", "-", "both write to standard output"},
      {At("a"), At("missing/x"), "cannot write into"},
      {At("a"), At("folder"), "it is a directory"},
      {At("a"), At("a/x"), "Not a directory"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.second);
    const auto problem = CheckOutputs({{"--png", row.first}, {"--plots", row.second}});
    EXPECT_NE(problem.value_or("").find(row.reason), std::string::npos) << problem.value_or("");
  }
  EXPECT_EQ(CheckOutputs({{"--png", At("a")}, {"--plots", "-"}, {"--save-scene", At("new")}}),
            std::nullopt);
}

// A link is followed and kept, an existing file keeps its permissions, a FIFO
// is written in place; and when one file fails, no other is replaced.
TEST_F(Outputs, FollowLinksKeepModesWriteFifosAndAllOrNothing) {
  std::ofstream(At("target")) << "old";
  fs::create_symlink("target", At("link"));
  ::chmod(At("target").c_str(), 0640);
  ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
  std::string from_fifo;
  std::thread reader([&] { from_fifo = Contents(At("fifo")); });
  EXPECT_EQ(WriteOutputs({{At("link"), "new"}, {At("fifo"), "through"}}), std::nullopt);
  reader.join();
  EXPECT_EQ(from_fifo, "through");
  EXPECT_TRUE(fs::is_symlink(At("link")));
  EXPECT_EQ(Contents(At("target")), "new");
  EXPECT_EQ(fs::status(At("target")).permissions(), fs::perms(0640));

  EXPECT_NE(WriteOutputs({{At("fresh"), "x"}, {At("target"), "newer"}, {At("no/x"), "x"}}),
            std::nullopt);
  EXPECT_EQ(Contents(At("target")), "new");
  // Nothing new, not even a temporary file: fifo, folder, link, target.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4);
}

}  // namespace
}  // namespace kaldra
