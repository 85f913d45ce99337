#include "tools/render_report.h"

#include <charconv>
#include <clocale>
#include <limits>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "scene/color.h"
#include "tools/json_line.h"

namespace kaldra {
namespace {

TEST(SummaryJson, HoldsTheSevenFieldsInOrder) {
  RenderStats stats;
  stats.seed = 4294967295u;
  stats.segments = 17;
  stats.samples = 123456789012;
  stats.plotted = 42;
  stats.generate_ms = 1.25;
  stats.sweep1_ms = 0.0004;
  stats.sweep2_ms = 1234.5;
  EXPECT_EQ(SummaryJson(stats),
            "{\"seed\": 4294967295, \"segments\": 17, \"samples\": 123456789012, "
            "\"plotted\": 42, \"generate_ms\": 1.250, \"sweep1_ms\": 0.000, "
            "\"sweep2_ms\": 1234.500}");
}

TEST(SummaryJson, WritesNullForAGivenScene) {
  const std::optional<FlatJson> json = ParseFlatJson(SummaryJson(RenderStats{}));
  ASSERT_TRUE(json.has_value());
  EXPECT_EQ(json->size(), 7u);
  EXPECT_FALSE(json->at("seed").has_value());
}

TEST(SummaryJson, KeepsTheDecimalPointInACommaLocale) {
  // Qt takes the locale from the environment; a German one writes "1,5" with
  // printf. Skipped where the locale is not installed.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old != nullptr ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  RenderStats stats;
  stats.sweep1_ms = 1.5;
  const std::string json = SummaryJson(stats);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_NE(json.find("\"sweep1_ms\": 1.500"), std::string::npos) << json;
}

TEST(PlotListText, WritesNineDigitsAndTheColourValueInHex) {
  const std::vector<PlotPoint> points = {
      {700.402344f, 216.5f, kBlue},
      {-0.25f, 1e-7f, kCyan},
      {1234567.5f, 3.0f, kRed},
  };
  EXPECT_EQ(PlotListText(points),
            "700.402344\t216.5\tFF0000\n"
            "-0.25\t1.00000001e-07\tFFFF00\n"
            "1234567.5\t3\t0000FF\n");
  EXPECT_EQ(PlotListText({}), "");
}

TEST(PlotListText, GivesBackEveryFloatExactly) {
  // Nine significant digits tell any two floats apart.
  const float values[] = {0.1f, 787.999939f, std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::max(), 565.0f / 3.0f};
  for (const float v : values) {
    const std::string line = PlotListText({{v, v, kGreen}});
    float back = 0;
    const auto result = std::from_chars(line.data(), line.data() + line.find('\t'), back);
    EXPECT_EQ(result.ec, std::errc()) << line;
    EXPECT_EQ(back, v) << line;
  }
}

struct JsonCase {
  const char* name;
  const char* text;
  bool valid;
};

void PrintTo(const JsonCase& row, std::ostream* os) { *os << row.text; }

class FlatJsonGrammar : public ::testing::TestWithParam<JsonCase> {};

TEST_P(FlatJsonGrammar, AcceptsExactlyJsonObjectsOfNumbers) {
  EXPECT_EQ(ParseFlatJson(GetParam().text).has_value(), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FlatJsonGrammar,
    ::testing::Values(
        JsonCase{"Empty", "{}", true},
        JsonCase{"NumbersAndNull", " {\"a\": -0.5e+3, \"b\": null, \"c\": 0} ", true},
        JsonCase{"NothingAtAll", "", false}, JsonCase{"TrailingComma", "{\"a\": 1,}", false},
        JsonCase{"LeadingZero", "{\"a\": 01}", false}, JsonCase{"PlusSign", "{\"a\": +1}", false},
        JsonCase{"DecimalComma", "{\"a\": 1,5}", false},
        JsonCase{"BarePoint", "{\"a\": 1.}", false}, JsonCase{"NotANumber", "{\"a\": nan}", false},
        JsonCase{"DuplicateKey", "{\"a\": 1, \"a\": 2}", false},
        JsonCase{"UnquotedKey", "{a: 1}", false}, JsonCase{"Unclosed", "{\"a\": 1", false},
        JsonCase{"TextAfter", "{\"a\": 1} x", false}),
    [](const ::testing::TestParamInfo<JsonCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kaldra
