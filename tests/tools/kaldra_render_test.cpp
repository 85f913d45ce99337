// kaldra-render as a process: what it prints, writes and returns.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "scene/draw_scene.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"
#include "tests/support/recording_canvas.h"
#include "tools/render_options.h"
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

  // Runs kaldra-render with standard input from `in`, as `user` when one is
  // named: its exit status (-1 when it did not exit), and what it wrote to its
  // standard streams in out_, err_.
  int Run(const std::string& args, const std::string& in = "/dev/null",
          const std::string& user = "") {
    const std::string as = user.empty() ? "" : "runuser -u " + user + " -- ";
    const std::string streams = " >" + Quoted(root_ / "1") + " 2>" + Quoted(root_ / "2");
    const int status = std::system(
        (as + "'" KALDRA_RENDER "' " + args + " <" + in + streams).c_str());
    out_ = Contents(root_ / "1");
    err_ = Contents(root_ / "2");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path root_;
  std::string out_;
  std::string err_;
};

// Seed 7 has points just off the canvas, which are neither listed nor counted.
TEST_F(KaldraRender, DrawsTheWindowsSceneAndPlotsForASeed) {
  for (const std::uint32_t seed : {7u, 99u}) {
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
    // The summary: one line of the seven fields, counting the listed points.
    EXPECT_EQ(out_.find('\n'), out_.size() - 1) << out_;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(out_)).object();
    EXPECT_EQ(json.size(), 7);
    EXPECT_EQ(json["seed"].toDouble(), seed);
    EXPECT_EQ(json["segments"].toDouble(), scene.Count());
    EXPECT_EQ(json["samples"].toDouble(), static_cast<double>(samples));
    EXPECT_EQ(json["plotted"].toDouble(), static_cast<double>(plots.size()));
    EXPECT_EQ(plots.size(), canvas.PixelsWritten() - set_up_written);
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
      {"--fast", 2, "kaldra-render: The following argument was not expected: --fast (see "},
      {"--seed 1 --scene -", 2, "--seed excludes --scene"},
      {"--seed --quiet", 2, "--seed: needs a value, not the option '--quiet'"},
      {"--seed 1 --seed 2", 2, "--seed: At Most 1 required but received 2"},
      {"--plots " + Quoted(root_ / "out/./p.png"), 2, "--png and --plots name the same file"},
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

// "-" is standard output, the summary line going to standard error; a FIFO is
// written in place, and when its reader leaves early that is a failed write.
TEST_F(KaldraRender, WritesStandardOutputAndFifosAndReportsAFailedWrite) {
  ASSERT_EQ(Run("-h"), 0);
  EXPECT_EQ(out_, RenderUsageText());
  ASSERT_EQ(Run("--seed 7 --png -"), 0) << err_;
  EXPECT_TRUE(out_.starts_with("\x89PNG\r\n\x1a\n"));
  EXPECT_TRUE(err_.starts_with("{\"seed\": 7, ")) << err_;

  // The reader waits for the pipe to fill (the plot list is larger than its
  // buffer), then leaves without reading.
  const fs::path fifo = root_ / "out" / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread reader([&fifo] {
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    int queued = 0;
    for (int wait = 0; wait < 1000 && queued < 4096; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      ::ioctl(fd, FIONREAD, &queued);
    }
    ::close(fd);
  });
  EXPECT_EQ(Run("--seed 7 --plots " + Quoted(fifo)), 3);
  reader.join();
  EXPECT_EQ(err_, "kaldra-render: cannot write '" + fifo.string() + "': Broken pipe\n");
  EXPECT_EQ(out_, "");
}

// Run as root, the test lets an unprivileged user try to replace root's
// read-only file in a folder everyone may write to: refused, the file kept.
TEST_F(KaldraRender, RefusesToReplaceAReadOnlyFileOfAnotherUser) {
  // The build tree may lie where the user cannot reach it.
  if (::geteuid() != 0 ||
      std::system("runuser -u nobody -- test -x '" KALDRA_RENDER "' 2>/dev/null") != 0) {
    GTEST_SKIP() << "needs root, runuser, and a kaldra-render the user nobody may run";
  }
  fs::permissions(root_ / "out", fs::perms::all);
  std::ofstream(root_ / "out" / "kept.png") << "kept";
  fs::permissions(root_ / "out" / "kept.png",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Run("--seed 7 --png " + Out("kept.png"), "/dev/null", "nobody"), 2);
  EXPECT_NE(err_.find("Permission denied"), std::string::npos) << err_;
  EXPECT_EQ(Read("kept.png"), "kept");
}

}  // namespace
}  // namespace kaldra
