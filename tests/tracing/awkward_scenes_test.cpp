// Scenes built to be awkward, which the reader accepts all the same: segments
// a few units in the last place wide, exactly opposite slopes, ends near
// 1e-300, slopes near the overflow of their squares. On each, the fast sweeps
// (sequential and parallel) must make the plain oracle's every point, or stop
// with its run-time error; the oracle tests the processor's flags after every
// step, so the explicit checks are held to the flags. The scene files of the
// corpus (the fuzzer's seeds too) and plain random scenes go through the same.
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/run_time_error.h"
#include "scene/scene_builder.h"
#include "scene/scene_file.h"
#include "tests/support/hardware_flags.h"
#include "tests/support/recording_canvas.h"
#include "tests/tracing/plain_diagram.h"
#include "tools/plot_summary.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

using Candidate = std::array<double, 4>;

enum class Kind { kOrdinary, kUlpWide, kOpposite, kNearZero, kSteep, kMixed };

// The double `units` spacings above x.
double UlpsAbove(double x, int units) {
  for (int k = 0; k < units; ++k) x = std::nextafter(x, 1e300);
  return x;
}

// A few candidates of one kind of awkwardness among ordinary ones, on the
// window's 788 x 565 canvas.
std::vector<Candidate> Candidates(Kind kind, std::mt19937_64& engine) {
  std::uniform_real_distribution<double> x(20, 760), y(20, 540), unit(0, 1);
  std::uniform_int_distribution<int> small(1, 5), whole_x(2, 75), whole_y(2, 54);
  std::vector<Candidate> out;
  const int ordinary = 1 + small(engine) % 3;
  for (int k = 0; k < ordinary; ++k) out.push_back({x(engine), y(engine), x(engine), y(engine)});
  const Kind pick = kind == Kind::kMixed ? static_cast<Kind>(1 + small(engine) % 4) : kind;
  switch (pick) {
    case Kind::kUlpWide: {
      const double x1 = x(engine);
      out.push_back({x1, y(engine), UlpsAbove(x1, small(engine)), y(engine)});
      break;
    }
    case Kind::kOpposite: {
      // Whole numbers, so that the slopes are exactly opposite.
      const double x1 = 10 * whole_x(engine), y1 = 10 * whole_y(engine);
      const double dx = 10 * small(engine), dy = 10 * small(engine) + 3;
      const double x3 = 10 * whole_x(engine) + 5, y3 = 10 * whole_y(engine) + 5;
      out.push_back({x1, y1, x1 + dx, y1 + dy});
      out.push_back({x3, y3, x3 + dx, y3 - dy});
      break;
    }
    case Kind::kNearZero: {
      const double tiny = std::ldexp(unit(engine) + 0.5, -995 - small(engine) * 5);
      out.push_back({tiny, y(engine), x(engine), tiny * (1 + small(engine))});
      out.push_back({x(engine), 3 * tiny, x(engine), y(engine)});
      break;
    }
    case Kind::kSteep: {
      // Ends a few times 2^-385 to 2^-1000 apart near x = 0: slopes from about
      // 2^390 (moderate) past 2^400 (taken plainly) to 2^1008 (refused, its
      // square overflows).
      const int e = small(engine) % 2 == 0 ? -380 - 5 * small(engine) : -500 - 100 * small(engine);
      const double x1 = std::ldexp(unit(engine) + 1, e);
      out.push_back({x1, y(engine), 3 * x1, y(engine)});
      break;
    }
    default:
      break;
  }
  return out;
}

// The drawing of a scene as a line: the summary of its plot list
// (tools/plot_summary.h), or the run-time error.
std::string FastDrawing(const Scene& scene, bool parallel) {
  testing::RecordingCanvas canvas;
  try {
    const std::uint64_t samples = TraceDiagram(scene, canvas, {.threads = parallel ? 2 : 1})
                                      .samples;
    return PlotSummary(scene.Count(), samples, canvas.plots, kDefaultCanvasWidth,
                       kDefaultCanvasHeight);
  } catch (const RunTimeError& error) {
    return error.what();
  }
}

// Compares the fast sweeps with the oracle on one scene; false when the
// oracle's walks were too long to follow.
bool ExpectPlainDrawing(const Scene& scene, const std::string& name) {
  SCOPED_TRACE(name);
  std::vector<plain::PlainSegment> segments;
  for (const Segment& s : scene.Segments()) {
    segments.push_back({s.x1, s.y1, s.x2, s.y2, s.slope, s.intercept});
  }
  const plain::PlainDiagram d = plain::TracePlainly(segments, scene.Width(), scene.Height(),
                                                    20'000'000);
  if (d.too_long) return false;
  const std::string plain = d.error.empty() ? PlotSummary(scene.Count(), d.samples, d.plots,
                                                          kDefaultCanvasWidth, kDefaultCanvasHeight)
                                            : d.error;
  EXPECT_EQ(FastDrawing(scene, false), plain);
  EXPECT_EQ(FastDrawing(scene, true), plain);
  return true;
}

// How many scenes of each kind: a few dozen in the suite, more in the stress
// run (KALDRA_AWKWARD_SCENES).
int ScenesPerKind() {
  const char* count = std::getenv("KALDRA_AWKWARD_SCENES");
  return count != nullptr ? std::atoi(count) : 40;
}

class AwkwardScenes : public ::testing::TestWithParam<Kind> {};

TEST_P(AwkwardScenes, FastSweepsAndExplicitChecksMakeThePlainDrawing) {
  std::mt19937_64 engine(1000 + static_cast<unsigned>(GetParam()));
  int built = 0, compared = 0;
  for (int n = 0; n < ScenesPerKind(); ++n) {
    SceneBuilder builder(kDefaultCanvasWidth, kDefaultCanvasHeight);
    for (const Candidate& c : Candidates(GetParam(), engine)) {
      // The builder's fault record against the flags, candidate by candidate.
      testing::ClearFlags();
      const Verdict verdict = builder.Judge(c[0], c[1], c[2], c[3]);
      EXPECT_EQ(verdict.fault, testing::FlaggedFault()) << c[0] << " " << c[2];
      builder.Add(c[0], c[1], c[2], c[3]);
    }
    if (builder.Count() < 2) continue;
    ++built;
    if (ExpectPlainDrawing(builder.Build(), "scene " + std::to_string(n))) ++compared;
    if (HasFailure()) break;
  }
  // Most scenes are compared; a few walk too long for the oracle to follow.
  EXPECT_GT(compared, built * 3 / 4);
}

std::string KindName(const ::testing::TestParamInfo<Kind>& kind) {
  constexpr std::array<const char*, 6> kNames = {"Ordinary", "UlpWide", "Opposite",
                                                 "NearZero", "Steep",   "Mixed"};
  return kNames[static_cast<std::size_t>(kind.param)];
}

INSTANTIATE_TEST_SUITE_P(Kinds, AwkwardScenes,
                         ::testing::Values(Kind::kOrdinary, Kind::kUlpWide, Kind::kOpposite,
                                           Kind::kNearZero, Kind::kSteep, Kind::kMixed),
                         KindName);

// Every scene of the corpus that the reader accepts.
TEST(AwkwardScenes, CorpusScenesMakeThePlainDrawing) {
  for (const auto& entry : std::filesystem::directory_iterator(KALDRA_SCENE_CORPUS)) {
    std::string text;
    ASSERT_FALSE(ReadWholeFile(entry.path().string(), text));
    const SceneReadResult read = ReadScene(text, kDefaultCanvasWidth, kDefaultCanvasHeight);
    if (read.scene && read.scene->Count() <= 12) {
      ExpectPlainDrawing(*read.scene, entry.path().filename().string());
    }
  }
}

}  // namespace
}  // namespace kaldra
