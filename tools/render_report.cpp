#include "tools/render_report.h"

#include "scene/decimal_text.h"

namespace kaldra {

namespace {

// Numbers in the C locale's form (scene/decimal_text.h): a decimal comma
// would break both the JSON and the plot list.
void AppendFixed(std::string& out, double value, int decimals = 3) {
  out += FixedText(value, decimals);
}

void AppendGeneral9(std::string& out, float value) {
  out += GeneralText(static_cast<double>(value), 9);
}

}  // namespace

std::string SummaryJson(const RenderStats& stats) {
  std::string json = "{\"seed\": ";
  json += stats.seed ? std::to_string(*stats.seed) : "null";
  json += ", \"segments\": " + std::to_string(stats.segments);
  json += ", \"samples\": " + std::to_string(stats.samples);
  json += ", \"plotted\": " + std::to_string(stats.plotted);
  json += ", \"generate_ms\": ";
  AppendFixed(json, stats.generate_ms);
  json += ", \"sweep1_ms\": ";
  AppendFixed(json, stats.sweep1_ms);
  json += ", \"sweep2_ms\": ";
  AppendFixed(json, stats.sweep2_ms);
  if (stats.score) {
    json += ", \"precision\": ";
    AppendFixed(json, stats.score->precision, 4);
    json += ", \"recall\": ";
    AppendFixed(json, stats.score->recall, 4);
    json += ", \"largest_gap_px\": ";
    AppendFixed(json, stats.score->largest_gap_px, 2);
  }
  json += "}";
  return json;
}

std::string PlotListText(const std::vector<PlotPoint>& points) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(points.size() * 28);
  for (const PlotPoint& p : points) {
    AppendGeneral9(text, p.x);
    text += '\t';
    AppendGeneral9(text, p.y);
    text += '\t';
    for (int shift = 20; shift >= 0; shift -= 4) text += kHex[(p.color >> shift) & 0xFu];
    text += '\n';
  }
  return text;
}

}  // namespace kaldra
