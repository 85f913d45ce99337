// kaldra-stress: renders a range of seeds in one process, through the same
// code as kaldra-render, and checks each summary line. Used by the stress run
// and by the tests; starting a process per seed would cost more than most
// scenes take to draw.
//
//   kaldra-stress --seeds FROM-TO [--quiet]
//
// Prints each seed's summary line (unless --quiet), then a total on standard
// error. Exit status 0 when every seed drew and checked out, 1 when one did
// not, 2 for a usage error.

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "qt_canvas/image_canvas.h"
#include "scene/run_time_error.h"
#include "tools/headless_gui.h"
#include "tools/render_options.h"
#include "tools/render_report.h"
#include "tools/renderer.h"

namespace {

using namespace kaldra;

// What is wrong with a seed's rendering and summary line; empty when nothing.
// The line is read back with Qt's JSON reader and must give the figures the
// rendering holds.
std::string Check(std::uint32_t seed, const Rendering& r, const std::string& line) {
  const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(line));
  if (!json.isObject()) return "the summary line is not a JSON object: " + line;
  const QJsonObject object = json.object();
  const RenderStats& s = r.stats;
  const std::pair<const char*, double> expected[] = {{"seed", seed},
                                                     {"segments", s.segments},
                                                     {"samples", static_cast<double>(s.samples)},
                                                     {"plotted", static_cast<double>(s.plotted)},
                                                     {"generate_ms", s.generate_ms},
                                                     {"sweep1_ms", s.sweep1_ms},
                                                     {"sweep2_ms", s.sweep2_ms}};
  if (object.size() != 7) return "the summary line does not hold exactly the seven keys: " + line;
  for (const auto& [key, value] : expected) {
    const QJsonValue found = object.value(QLatin1String(key));
    if (!found.isDouble()) return std::string("no number for \"") + key + "\"";
    // The times are written rounded to three decimals; the counts exactly.
    if (std::abs(found.toDouble() - value) > 0.0005 + 1e-9 || value < 0) {
      return std::string("\"") + key + "\" differs from the rendering's figure";
    }
  }
  if (s.seed != seed) return "the rendering names another seed";
  if (s.segments < 3 || s.segments > 17) return "segment count outside 3 to 17";
  if (s.segments != r.scene->Count()) return "segment count differs from the scene's";
  if (s.plotted > s.samples) return "more points plotted than sampled";
  for (int k = 0; k < r.scene->Count(); ++k) {
    if (!((*r.scene)[k].x1 < (*r.scene)[k].x2)) {
      return "segment " + std::to_string(k) + " is not stored left end first";
    }
  }
  return {};
}

// "FROM-TO", two whole numbers with FROM <= TO.
bool ParseRange(std::string_view text, std::uint32_t& from, std::uint32_t& to) {
  const char* const end = text.data() + text.size();
  const auto first = std::from_chars(text.data(), end, from);
  if (first.ec != std::errc() || first.ptr == end || *first.ptr != '-') return false;
  const auto last = std::from_chars(first.ptr + 1, end, to);
  return last.ec == std::errc() && last.ptr == end && from <= to;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  bool have_range = false;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--seeds" && i + 1 < argc && ParseRange(argv[i + 1], from, to)) {
      have_range = true;
      ++i;
    } else {
      std::fprintf(stderr, "usage: kaldra-stress --seeds FROM-TO [--quiet]\n");
      return 2;
    }
  }
  if (!have_range) {
    std::fprintf(stderr, "usage: kaldra-stress --seeds FROM-TO [--quiet]\n");
    return 2;
  }

  const HeadlessGui gui(argv[0]);
  // One line per seed as it is done, so that after a crash the last line
  // tells where the run had got to.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  const auto start = std::chrono::steady_clock::now();
  std::uint64_t rendered = 0;
  std::uint64_t failed = 0;
  for (std::uint64_t s = from; s <= to; ++s) {
    const auto seed = static_cast<std::uint32_t>(s);
    std::string problem;
    try {
      ImageCanvas canvas(kDefaultCanvasWidth, kDefaultCanvasHeight);
      const Rendering r = RenderScene(canvas, {seed, {}}, kDefaultCanvasWidth, kDefaultCanvasHeight,
                                      false);
      const std::string line = SummaryJson(r.stats);
      if (!quiet) std::printf("%s\n", line.c_str());
      problem = Check(seed, r, line);
    } catch (const RunTimeError& error) {
      problem = error.what();
    }
    ++rendered;
    if (!problem.empty()) {
      ++failed;
      std::fprintf(stderr, "kaldra-stress: seed %u: %s\n", static_cast<unsigned>(seed),
                   problem.c_str());
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                             .count();
  std::fprintf(stderr, "kaldra-stress: seeds %u-%u: %llu rendered, %llu failed, %.1f s\n",
               static_cast<unsigned>(from), static_cast<unsigned>(to),
               static_cast<unsigned long long>(rendered), static_cast<unsigned long long>(failed),
               seconds);
  return failed == 0 ? 0 : 1;
}
