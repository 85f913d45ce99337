// kaldra-render as a process: what it prints, writes and returns.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"
#include "tests/support/recording_canvas.h"
#include "tools/json_line.h"
#include "tools/render_report.h"
#include "tracing/sweeps.h"

namespace kaldra {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// A directory per test; the renderer's outputs go to out/, so "nothing
// written" means out/ is empty.
class KaldraRender : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root_ = fs::path(::testing::TempDir()) / ("kaldra_render_" + name);
    fs::remove_all(root_);
    fs::create_directories(root_ / "out");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Out(const char* name) const { return Quoted(root_ / "out" / name); }
  std::string Read(const char* name) const { return Contents(root_ / "out" / name); }

  // Runs kaldra-render with standard input from `in`: its exit status (-1 when
  // it did not exit), and what it wrote to its standard streams in out_, err_.
  int Run(const std::string& args, const std::string& in = "/dev/null") {
    const std::string streams = " >" + Quoted(root_ / "1") + " 2>" + Quoted(root_ / "2");
    const int status = std::system(("'" KALDRA_RENDER "' " + args + " <" + in + streams).c_str());
    out_ = Contents(root_ / "1");
    err_ = Contents(root_ / "2");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path root_;
  std::string out_;
  std::string err_;
};

TEST_F(KaldraRender, DrawsTheWindowsSceneAndPlotsForASeed) {
  for (const std::uint32_t seed : {1u, 99u}) {
    SCOPED_TRACE(seed);
    // The window's code for the seed: its scene, and the points its two
    // sweeps hand to PSet.
    testing::RecordingCanvas canvas;
    SeededRandom random(seed);
    const Scene scene = GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
    DrawScene(scene, canvas);
    const auto set_up_points = static_cast<std::ptrdiff_t>(canvas.plots.size());
    const std::uint64_t set_up_written = canvas.PixelsWritten();
    canvas.AutoRedraw(false);
    const std::uint64_t samples = SweepOne(scene, canvas).samples + SweepTwo(scene, canvas).samples;
    const std::vector<PlotPoint> plots(canvas.plots.begin() + set_up_points, canvas.plots.end());
    ASSERT_FALSE(plots.empty());
    const std::string outputs = " --plots " + Out("plots") + " --save-scene " + Out("scene");
    ASSERT_EQ(Run("--seed " + std::to_string(seed) + outputs), 0) << err_;
    EXPECT_EQ(err_, "");
    EXPECT_EQ(Read("plots"), PlotListText(plots));
    const SceneReadResult saved = ReadScene(Read("scene"), scene.Width(), scene.Height());
    ASSERT_FALSE(saved.error.has_value()) << saved.error->reason;
    EXPECT_TRUE(SameSegments(*saved.scene, scene));
    // The summary: one line of the seven fields.
    EXPECT_EQ(out_.find('\n'), out_.size() - 1) << out_;
    const std::optional<FlatJson> json = ParseFlatJson(out_);
    ASSERT_TRUE(json.has_value()) << out_;
    EXPECT_EQ(json->size(), 7u);
    EXPECT_EQ(json->at("seed"), seed);
    EXPECT_EQ(json->at("segments"), scene.Count());
    EXPECT_EQ(json->at("samples"), static_cast<double>(samples));
    EXPECT_EQ(json->at("plotted"), static_cast<double>(canvas.PixelsWritten() - set_up_written));
    // Read back from standard input, the saved scene draws the same points.
    ASSERT_EQ(Run("--scene - --plots " + Out("again"), Out("scene")), 0) << err_;
    EXPECT_EQ(Read("again"), Read("plots"));
    EXPECT_TRUE(out_.starts_with("{\"seed\": null, ")) << out_;
  }
}

TEST_F(KaldraRender, TellsTheClockSeedItChoseAndDrawsThePngSizeAsked) {
  ASSERT_EQ(Run("--size 200x100 --png " + Out("p.png")), 0) << err_;
  unsigned told = 0;
  ASSERT_EQ(std::sscanf(err_.c_str(), "seed %u", &told), 1) << err_;
  EXPECT_TRUE(out_.starts_with("{\"seed\": " + std::to_string(told) + ", ")) << out_;
  // The signature, then the header chunk: width 200 and height 100 big-endian.
  EXPECT_EQ(Read("p.png").substr(0, 24),
            std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\xC8\0\0\0\x64", 24));
}

// Failures leave nothing written and one line on standard error: usage errors
// and refused scenes, named by file and line, exit with status 2, a floating
// point fault while drawing with status 3.
TEST_F(KaldraRender, FailsWithOneLineAndWritesNothing) {
  const std::string outputs = " --png " + Out("p.png") + " --save-scene " + Out("s.scene");
  const std::string corpus = "'" KALDRA_SCENE_CORPUS "/";
  const struct {
    std::string args;
    int status;
    const char* message;
  } rows[] = {
      {"--fast", 2, "kaldra-render: unknown option '--fast'"},
      {"--seed 1 --scene -", 2, "either --seed or --scene"},
      {"--seed --quiet", 2, "--seed needs a value"},
      {"--seed 1 --seed 2", 2, "--seed given twice"},
      {"--plots " + Out("p.png"), 2, "--png and --plots name the same file"},
      {"--scene " + Out("none"), 2, "cannot read"},
      {"--plots " + Out("no/p.tsv"), 2, "cannot write into"},
      {"--scene " + corpus + "bad-crossing.scene'", 2,
       "corpus/bad-crossing.scene:4: the segment crosses the segment on line 2\n"},
      {"--scene -", 2, "<stdin>: no segments"},
      {"--scene " + corpus + "ok-divides-by-zero.scene'", 3,
       "kaldra-render: Run-time error: division by zero in sweep 1, pair (0, 1)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    EXPECT_EQ(Run(row.args + outputs), row.status);
    EXPECT_EQ(out_, "");
    EXPECT_NE(err_.find(row.message), std::string::npos) << err_;
    EXPECT_EQ(err_.find('\n'), err_.size() - 1) << "more than one line: " << err_;
    EXPECT_TRUE(fs::is_empty(root_ / "out"));
  }
}

}  // namespace
}  // namespace kaldra
