// kaldra-render as a process: what it prints, writes and returns.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/mdl_kaldra.h"
#include "scene/random_source.h"
#include "tests/support/recording_canvas.h"
#include "tools/json_line.h"
#include "tools/render_report.h"
#include "tools/scene_file.h"
#include "tracing/start_up.h"
#include "tracing/sweeps.h"

extern char** environ;

namespace kaldra {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;  // the exit status, or -1 when the process did not exit
  std::string out;
  std::string err;
};

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each test gets an empty directory for the renderer's outputs and another for
// everything else, so "nothing written" means an empty output directory.
class KaldraRender : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    root_ = fs::path(::testing::TempDir()) / ("kaldra_render_" + name);
    fs::remove_all(root_);
    fs::create_directories(root_ / "out");
    fs::create_directories(root_ / "work");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Out(const char* name) const { return (root_ / "out" / name).string(); }
  std::string Work(const char* name) const { return (root_ / "work" / name).string(); }
  bool OutputDirectoryEmpty() const { return fs::is_empty(root_ / "out"); }

  std::string WriteWork(const char* name, const std::string& text) const {
    std::ofstream(Work(name), std::ios::binary) << text;
    return Work(name);
  }

  // Runs kaldra-render with standard input from `stdin_path`.
  Outcome Run(const std::vector<std::string>& args,
              const std::string& stdin_path = "/dev/null") const {
    const std::string out_path = Work("stdout");
    const std::string err_path = Work("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdin_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<std::string> all = {KALDRA_RENDER};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      int wait_status = 0;
      waitpid(pid, &wait_status, 0);
      if (WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = Contents(out_path);
    outcome.err = Contents(err_path);
    return outcome;
  }

  fs::path root_;
};

// What the window's code draws for a seed: its scene, and the points its two
// sweeps hand to PSet.
struct WindowDrawing {
  mdlKaldra mdl;
  std::vector<PlotPoint> plots;
  std::uint64_t samples = 0;
  std::uint64_t plotted = 0;
};

WindowDrawing DrawAsTheWindowDoes(std::uint32_t seed) {
  WindowDrawing d;
  testing::RecordingCanvas canvas;
  SeededRandom random(seed);
  SetUpRandomScene(d.mdl, canvas, random, 788, 565);
  const std::size_t set_up_points = canvas.plots.size();
  const std::uint64_t written = canvas.PixelsWritten();
  canvas.AutoRedraw(false);
  d.samples = SweepOne(d.mdl, canvas).samples;
  d.samples += SweepTwo(d.mdl, canvas).samples;
  d.plotted = canvas.PixelsWritten() - written;
  d.plots.assign(canvas.plots.begin() + static_cast<std::ptrdiff_t>(set_up_points),
                 canvas.plots.end());
  return d;
}

TEST_F(KaldraRender, DrawsTheWindowsSceneAndPlotsForASeed) {
  for (const std::uint32_t seed : {1u, 2u, 99u}) {
    SCOPED_TRACE(seed);
    const Outcome run = Run(
        {"--seed", std::to_string(seed), "--plots", Out("plots"), "--save-scene", Out("scene")});
    ASSERT_EQ(run.status, 0) << run.err;
    const WindowDrawing window = DrawAsTheWindowDoes(seed);
    EXPECT_EQ(Contents(Out("plots")), PlotListText(window.plots));

    const SceneReadResult saved = ReadScene(Contents(Out("scene")), 788, 565);
    ASSERT_FALSE(saved.error.has_value()) << saved.error->reason;
    EXPECT_TRUE(SameSegments(PlaceScene(saved.scene.segments), window.mdl));

    const std::optional<FlatJson> json = ParseFlatJson(run.out);
    ASSERT_TRUE(json.has_value()) << run.out;
    EXPECT_EQ(json->at("seed"), seed);
    EXPECT_EQ(json->at("segments"), window.mdl.SegCount);
    EXPECT_EQ(json->at("samples"), static_cast<double>(window.samples));
    EXPECT_EQ(json->at("plotted"), static_cast<double>(window.plotted));
  }
}

TEST_F(KaldraRender, SavedSceneDrawsTheSamePlotsAgain) {
  ASSERT_EQ(
      Run({"--seed", "2024", "--plots", Out("seeded"), "--save-scene", Work("s.scene"), "--quiet"})
          .status,
      0);
  const Outcome from_file = Run({"--scene", Work("s.scene"), "--plots", Out("from_file")});
  ASSERT_EQ(from_file.status, 0) << from_file.err;
  const Outcome from_stdin = Run({"--scene", "-", "--plots", Out("from_stdin"), "--quiet"},
                                 Work("s.scene"));
  ASSERT_EQ(from_stdin.status, 0) << from_stdin.err;
  EXPECT_FALSE(Contents(Out("seeded")).empty());
  EXPECT_EQ(Contents(Out("from_file")), Contents(Out("seeded")));
  EXPECT_EQ(Contents(Out("from_stdin")), Contents(Out("seeded")));
  // A scene from a file has no seed.
  const std::optional<FlatJson> json = ParseFlatJson(from_file.out);
  ASSERT_TRUE(json.has_value()) << from_file.out;
  EXPECT_FALSE(json->at("seed").has_value());
}

TEST_F(KaldraRender, SummaryLineHoldsTheSevenFields) {
  const Outcome run = Run({"--seed", "12"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);  // one line
  const std::optional<FlatJson> json = ParseFlatJson(run.out);
  ASSERT_TRUE(json.has_value()) << run.out;
  EXPECT_EQ(json->size(), 7u);
  for (const char* key :
       {"segments", "samples", "plotted", "generate_ms", "sweep1_ms", "sweep2_ms"}) {
    ASSERT_TRUE(json->contains(key)) << key;
    ASSERT_TRUE(json->at(key).has_value()) << key;
    EXPECT_GE(*json->at(key), 0) << key;
  }
  EXPECT_EQ(json->at("seed"), 12);
  EXPECT_GE(*json->at("segments"), 3);
  EXPECT_LE(*json->at("segments"), 17);
  EXPECT_LE(*json->at("plotted"), *json->at("samples"));
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST_F(KaldraRender, TellsTheClockSeedItChose) {
  const Outcome run = Run({});
  ASSERT_EQ(run.status, 0) << run.err;
  unsigned told = 0;
  ASSERT_EQ(std::sscanf(run.err.c_str(), "seed %u", &told), 1) << run.err;
  const std::optional<FlatJson> json = ParseFlatJson(run.out);
  ASSERT_TRUE(json.has_value()) << run.out;
  EXPECT_EQ(json->at("seed"), told);
}

TEST_F(KaldraRender, WritesAPngOfTheRequestedSize) {
  ASSERT_EQ(Run({"--seed", "3", "--size", "200x100", "--png", Out("p.png"), "--quiet"}).status, 0);
  const std::string png = Contents(Out("p.png"));
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // The header chunk: width and height as big-endian 32-bit numbers.
  auto be32 = [&png](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(be32(16), 200u);
  EXPECT_EQ(be32(20), 100u);
}

TEST_F(KaldraRender, HelpAndVersionGoToStandardOutput) {
  const Outcome help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: kaldra-render [--seed N | --scene FILE]")) << help.out;
  const Outcome version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("kaldra-render ") + KALDRA_VERSION + "\n");
}

// A command line that must be refused before anything is drawn or written.
struct RefusedRun {
  const char* name;
  std::vector<std::string> args;  // "OUT/" and "WORK/" stand for the test's directories
  const char* message;
};

void PrintTo(const RefusedRun& row, std::ostream* os) { *os << row.name; }

class KaldraRenderUsage : public KaldraRender, public ::testing::WithParamInterface<RefusedRun> {};

TEST_P(KaldraRenderUsage, ExitsWithStatusTwoAndWritesNothing) {
  std::vector<std::string> args;
  for (std::string a : GetParam().args) {
    if (a.starts_with("OUT/")) a = Out(a.substr(4).c_str());
    if (a.starts_with("WORK/")) a = Work(a.substr(5).c_str());
    args.push_back(a);
  }
  const Outcome run = Run(args);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.empty()) << run.out;
  EXPECT_TRUE(run.err.starts_with("kaldra-render: ")) << run.err;
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "more than one line: " << run.err;
  EXPECT_TRUE(OutputDirectoryEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, KaldraRenderUsage,
    ::testing::Values(
        RefusedRun{"UnknownOption", {"--png", "OUT/p.png", "--fast"}, "unknown option '--fast'"},
        RefusedRun{"MissingValue", {"--png", "OUT/p.png", "--seed"}, "--seed needs a value"},
        RefusedRun{"BadNumber", {"--png", "OUT/p.png", "--seed", "1e3"}, "not '1e3'"},
        RefusedRun{"SeedAndScene",
                   {"--png", "OUT/p.png", "--seed", "1", "--scene", "-"},
                   "either --seed or --scene"},
        RefusedRun{"BadSize", {"--png", "OUT/p.png", "--size", "10x10"}, "64 to 8192"},
        RefusedRun{"MissingSceneFile",
                   {"--png", "OUT/p.png", "--scene", "WORK/none.scene"},
                   "cannot read"},
        RefusedRun{"MissingOutputDirectory",
                   {"--plots", "OUT/p.tsv", "--png", "OUT/no/p.png"},
                   "cannot write into"}),
    [](const ::testing::TestParamInfo<RefusedRun>& row) { return std::string(row.param.name); });

TEST_F(KaldraRender, RefusesAnInvalidSceneNamingFileAndLine) {
  const std::string scene = WriteWork("crossing.scene",
                                      "# two segments that cross\n"
                                      "10 10 100 100\n"
                                      "20 95 95 15\n");
  const Outcome run = Run({"--scene", scene, "--png", Out("p.png"), "--plots", Out("p.tsv"),
                           "--save-scene", Out("s.scene")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, scene + ":3: the segment crosses the segment on line 2\n");
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(OutputDirectoryEmpty());
}

TEST_F(KaldraRender, NamesStandardInputInSceneErrors) {
  const Outcome run = Run({"--scene", "-"}, WriteWork("empty.scene", "# nothing\n"));
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.err.starts_with("<stdin>: no segments")) << run.err;
}

TEST_F(KaldraRender, ReportsAFloatingPointFaultWithStatusThree) {
  // A valid scene whose left ends differ in y by the smallest denormal: the
  // slope between them underflows to zero, and the first endpoint bisector
  // divides by it.
  const std::string scene = WriteWork("denormal.scene",
                                      "10 0 100 50\n"
                                      "200 4.9406564584124654e-324 300 60\n");
  const Outcome run = Run({"--scene", scene, "--png", Out("p.png"), "--plots", Out("p.tsv")});
  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(run.err.starts_with("kaldra-render: Run-time error: division by zero")) << run.err;
  EXPECT_NE(run.err.find("pair (0, 1)"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_TRUE(OutputDirectoryEmpty());
}

}  // namespace
}  // namespace kaldra
