// The parts of kaldra-render besides its main: options, report, output files.

#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/color.h"
#include "tools/json_line.h"
#include "tools/output_files.h"
#include "tools/render_options.h"
#include "tools/render_report.h"

namespace kaldra {
namespace {

namespace fs = std::filesystem;

// The limits of --seed and --size, from both sides.
TEST(ParseRenderOptions, TakesTheLimitsAndNothingBeyond) {
  const ParsedRenderOptions most = ParseRenderOptions({"--seed=4294967295", "--size", "64x8192"});
  EXPECT_EQ(most.usage_error, std::nullopt);
  EXPECT_EQ(most.options.seed, 4294967295u);
  EXPECT_EQ(most.options.width, 64);
  EXPECT_EQ(most.options.height, 8192);
  const std::vector<std::string_view> beyond[] = {
      {"--seed", "4294967296"}, {"--size", "63x100"}, {"--size", "100x8193"}};
  for (const auto& args : beyond) {
    EXPECT_TRUE(ParseRenderOptions(args).usage_error.has_value()) << args[1];
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

// The stress driver checks each summary line with this parser: a comma
// locale's "1,5", a repeated key or text after the object must not pass.
TEST(ParseFlatJson, RefusesWhatIsNotOneObjectOfNumbers) {
  for (const char* bad : {"{\"a\": 1,5}", "{\"a\": 1, \"a\": 2}", "{\"a\": 1} x", "{\"a\": 1,}"}) {
    EXPECT_FALSE(ParseFlatJson(bad).has_value()) << bad;
  }
}

// Nine significant digits give back any float exactly.
TEST(PlotListText, WritesNineDigitsAndTheColourValueInHex) {
  EXPECT_EQ(
      PlotListText({{700.402344f, 216.5f, kBlue}, {-0.25f, 1e-7f, kCyan}, {1234567.5f, 3, kRed}}),
      "700.402344\t216.5\tFF0000\n"
      "-0.25\t1.00000001e-07\tFFFF00\n"
      "1234567.5\t3\t0000FF\n");
}

TEST(WriteFilesWhole, WritesEveryFileOrNone) {
  const fs::path dir = fs::path(::testing::TempDir()) / "kaldra_write_files_whole";
  fs::remove_all(dir);
  fs::create_directories(dir / "taken" / "inside");
  std::ofstream(dir / "keep") << "old contents, longer than the new";
  using Files = std::map<std::string, std::string>;
  auto files = [&dir] {  // every entry of the directory with its contents
    Files found;
    for (const auto& e : fs::directory_iterator(dir)) {
      std::ifstream in(e.path(), std::ios::binary);
      std::string& text = found[e.path().filename().string()];
      if (e.is_regular_file()) text.assign(std::istreambuf_iterator<char>(in), {});
    }
    return found;
  };
  // A file that cannot be written, or a rename onto a directory: no file
  // written, none touched, no temporary file left.
  EXPECT_TRUE(WriteFilesWhole({{dir / "a", "alpha"}, {dir / "keep", "new"}, {dir / "no/x", "x"}}));
  EXPECT_TRUE(WriteFilesWhole({{dir / "taken", "x"}}));
  EXPECT_EQ(files(), (Files{{"keep", "old contents, longer than the new"}, {"taken", ""}}));
  ASSERT_FALSE(WriteFilesWhole({{dir / "a", "alpha\n"}, {dir / "keep", "new"}}));
  EXPECT_EQ(files(), (Files{{"a", "alpha\n"}, {"keep", "new"}, {"taken", ""}}));
  fs::remove_all(dir);
}

// A bare name is a file in the working directory; a directory is in the way.
TEST(CheckOutputPath, TakesABareNameAndRefusesADirectory) {
  EXPECT_EQ(CheckOutputPath("relative-name.png"), std::nullopt);
  EXPECT_NE(CheckOutputPath(::testing::TempDir()).value_or("").find("is a directory"),
            std::string::npos);
}

}  // namespace
}  // namespace kaldra
