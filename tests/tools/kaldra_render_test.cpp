// kaldra-render: its options, report and plot list, then the process itself,
// what it prints, writes and returns.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "exact/exact_diagram.h"
#include "scene/color.h"
#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"
#include "tools/render_options.h"
#include "tools/render_report.h"

namespace kaldra {
namespace {

namespace fs = std::filesystem;

// The limits of --seed, --size and --scale from both sides, both forms of a
// value, and each rule of the command line; the refusals' messages are
// checked on the process.
TEST(ParseRenderOptions, TakesTheLimitsAndKeepsEveryRule) {
  const RenderOptions most =
      ParseRenderOptions({"--seed=4294967295", "--size", "64x8192", "--scale", "8"}).options;
  EXPECT_TRUE(most.seed == 4294967295u && most.size == std::pair(64, 8192) && most.scale == 8);
  const std::vector<std::string_view> refused[] = {
      {"--seed", "4294967296"}, {"--seed", "+1"}, {"--seed", " 1"},       {"--size", "63x100"},
      {"--size", "100x8193"},   {"--scale", "0"}, {"--scale", "1.5"},     {"--quiet", "--quiet"},
      {"--quiet=yes"},          {"--png="},       {"--score", "--score"}, {"--svg"}};
  for (const auto& args : refused) {
    EXPECT_TRUE(ParseRenderOptions(args).usage_error.has_value()) << args[0] << " " << args.back();
  }
}

// Nine significant digits of a plotted point give back its float exactly; a
// saved size is a whole "WxH" at the head of the first line only.
TEST(RenderSupport, WritesPlotListsAndFindsSavedSizes) {
  EXPECT_EQ(
      PlotListText({{700.402344f, 216.5f, kBlue}, {-0.25f, 1e-7f, kCyan}, {1234567.5f, 3, kRed}}),
      "700.402344\t216.5\tFF0000\n-0.25\t1.00000001e-07\tFFFF00\n1234567.5\t3\t0000FF\n");
  EXPECT_EQ(SavedSize("\xEF\xBB\xBF# Kaldra scene, 1576x1130, seed 7\n"), std::pair(1576, 1130));
  EXPECT_EQ(SavedSize("1 2 3 4\n# Kaldra scene, 200x100\n"), std::nullopt);
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The --svg picture of seed 7 is well-formed: its plotted layer holds one
// square per point the summary counts, its exact layer the exact diagram,
// edge by edge, each parabolic arc one quadratic Bezier curve whose control
// point lies on the parabola's tangents at both ends.
void ExpectTheSvgOfSeven(const std::string& svg) {
  SeededRandom random(7);
  const Scene scene = GenerateScene(random, kDefaultCanvasWidth, kDefaultCanvasHeight);
  std::string problem;
  const ExactDiagram exact = BuildExactDiagram(scene, problem).value();
  // The tangent at a point of a parabola is the perpendicular bisector of the
  // focus and the point's foot on the directrix.
  auto off_tangent = [](const ExactEdge& e, double x, double y, double cx, double cy) {
    const CanvasPoint a = e.directrix_from, b = e.directrix_to;
    const double t = ((x - a.x) * (b.x - a.x) + (y - a.y) * (b.y - a.y)) /
                     ((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    return std::hypot(cx - e.focus.x, cy - e.focus.y) -
           std::hypot(cx - a.x - t * (b.x - a.x), cy - a.y - t * (b.y - a.y));
  };
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  std::string layer;
  int squares = 0;
  std::size_t edges = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.attributes().hasAttribute("id"))
      layer = xml.attributes().value("id").toString().toStdString();
    squares += layer == "plotted" && xml.name() == u"rect" ? 1 : 0;
    if (layer != "exact" || xml.name() != u"path" || edges == exact.edges.size()) continue;
    const ExactEdge& e = exact.edges[edges++];
    std::istringstream d(xml.attributes().value("d").toString().toStdString());
    char kind = 0;
    double x0 = 0, y0 = 0, cx = 0, cy = 0, x1 = 0, y1 = 0;
    d >> kind >> x0 >> y0 >> kind;
    if (kind == 'Q') d >> cx >> cy;
    d >> x1 >> y1;
    EXPECT_EQ(kind, e.shape == EdgeShape::kParabola ? 'Q' : 'L');
    EXPECT_NEAR(std::hypot(x0 - e.from.x, y0 - e.from.y) + std::hypot(x1 - e.to.x, y1 - e.to.y), 0,
                2e-6);
    if (kind == 'Q') {
      EXPECT_NEAR(std::hypot(off_tangent(e, x0, y0, cx, cy), off_tangent(e, x1, y1, cx, cy)), 0,
                  1e-5);
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(squares, 8644);
  EXPECT_EQ(edges, exact.edges.size());
}

// A directory per test. The renderer runs in out/, so its outputs are named
// as they stand and "nothing written" means out/ is empty.
class KaldraRender : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    // The process id too, so that two runs of the suite never share one.
    root_ = fs::path(::testing::TempDir()) /
            ("kaldra_render_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "out");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Read(const char* name) const { return Contents(root_ / "out" / name); }

  // Runs kaldra-render in out/ after the shell text `before` (a command run
  // alongside, or one to run it through): its exit status (-1 when it did not
  // exit), and what it wrote to its standard streams in out_, err_.
  int Run(const std::string& args, const std::string& before = "") {
    const std::string command = "cd '" + root_.string() + "/out' || exit; " + before +
                                "'" KALDRA_RENDER "' " + args + " >../1 2>../2";
    const int status = std::system(command.c_str());
    out_ = Contents(root_ / "1");
    err_ = Contents(root_ / "2");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path root_;
  std::string out_;
  std::string err_;
};

// The summary is one line of seven fields, the times with three decimals in
// any locale, `plotted` counting exactly the listed points (seed 7 has points
// just off the canvas, neither listed nor counted); --score adds its three
// figures. --scale K draws what a file with every coordinate times K draws at
// K times the size, and --scale 1 changes nothing, nor do --svg and --score;
// a saved scene, read from a file or standard input, draws the same again,
// and one saved at another size reads back at that size without --size.
TEST_F(KaldraRender, ListsWhatItCountsScalesAndReadsBackTheScenesItSaves) {
  const char* every_output = "--seed 7 --plots p --png p.png --save-scene s --svg s.svg --score";
  ASSERT_EQ(Run(every_output, "LC_ALL=de_DE.UTF-8 "), 0) << err_;
  EXPECT_TRUE(std::regex_match(
      out_, std::regex(R"(\{"seed": 7, "segments": 4, "samples": 109181, "plotted": 8644, )"
                       R"("generate_ms": \d+\.\d{3}, "sweep1_ms": \d+\.\d{3}, "sweep2_ms": )"
                       R"(\d+\.\d{3}, "precision": 1\.0000, "recall": 1\.0000, )"
                       R"("largest_gap_px": 0\.00\}\n)")))
      << out_;
  EXPECT_EQ(std::ranges::count(Read("p"), '\n'), 8644);
  ExpectTheSvgOfSeven(Read("s.svg"));
  ASSERT_EQ(Run("--seed 7 --scale 2 --plots p2 --save-scene s2"), 0) << err_;
  // The scene file of seed 7 with every number doubled, exactly, and no saved size.
  const char* doubling = R"(awk '!/^#/ {for (i = 1; i <= NF; i++) $i = sprintf("%.17g", 2 * $i);)"
                         R"( print}' s >doubled; )";
  ASSERT_EQ(Run("--version", doubling), 0);
  const std::pair<const char*, const char*> rows[] = {{"--seed 7 --scale 1 --png q.png", "p"},
                                                      {"--scene - <s", "p"},
                                                      {"--scene doubled --size 1576x1130", "p2"},
                                                      {"--scene s --scale 2", "p2"},
                                                      {"--scene s2", "p2"}};
  for (const auto& [args, same_as] : rows) {
    ASSERT_EQ(Run(std::string(args) + " --plots q"), 0) << args << err_;
    EXPECT_EQ(Read("q"), Read(same_as)) << args;
  }
  EXPECT_TRUE(out_.starts_with("{\"seed\": null, ")) << out_;
  EXPECT_EQ(Read("q.png"), Read("p.png"));
  // The saved scaled scene is the doubled file's, each segment from its first end.
  EXPECT_TRUE(SameSegments(*ReadScene(Read("s2"), 1576, 1130).scene,
                           *ReadScene(Read("doubled"), 1576, 1130).scene));
}

// Failures leave nothing written and one line on standard error: usage errors,
// unusable outputs (two spellings of one file not there yet among them) and
// refused scenes, named by file and line, exit with status 2, a
// floating-point fault while drawing with status 3.
TEST_F(KaldraRender, FailsWithOneLineAndWritesNothing) {
  std::ofstream(root_ / "huge") << "# Kaldra scene, 9000x100\n1 2 3 4\n";
  std::ofstream(root_ / "a") << "a";
  fs::create_symlink("a", root_ / "link");
  std::ofstream(root_ / "close") << "100 100 300 200\n200 150.0000000001 250 400\n";
  std::ofstream(root_ / "point") << "100 100 300 200\n400 300 400.0000000001 300.0000000003\n";
  // Two x values that three times larger round to one.
  std::ofstream(root_ / "share") << "255.9 100 300 200\n255.90000000000003 400 500 300\n";
  const std::string corpus = "'" KALDRA_SCENE_CORPUS "/";
  const std::tuple<std::string, int, const char*> rows[] = {
      {"--fast", 2, "kaldra-render: The following argument was not expected: --fast (see "},
      {"--seed 1 --scene -", 2, "--seed excludes --scene"},
      {"--seed --quiet", 2, "--seed: needs a value, not the option '--quiet'"},
      {"--scale 9", 2, "--scale: needs a whole number from 1 to 8, not '9'"},
      {"--size 4097x64 --scale 2", 2, "--scale 2 makes a canvas of 8194x128; each side may be"},
      {"--plots new --save-scene ./new", 2, "--plots and --save-scene name the same file"},
      {"--plots - --save-scene -", 2, "both write to standard output"},
      {"--svg ../a --plots ./../link", 2, "--plots and --svg name the same file"},
      {"--plots ..", 2, "it is a directory"},
      {"--plots no/p.tsv", 2, "cannot write into"},
      {"--scene none", 2, "cannot read"},
      {"--scene ..", 2, "cannot read '..': Is a directory"},
      {"--scene ../huge", 2, "../huge:1: saved at 9000x100, a size outside 64 to 8192"},
      {"--scene " + corpus + "bad-crossing.scene'", 2,
       "corpus/bad-crossing.scene:4: the segment crosses the segment on line 2\n"},
      {"--scene - </dev/null", 2, "<stdin>: no segments"},
      {"--scene ../share --scale 3", 2,
       "3 times larger breaks a rule of scenes: segment 1: an end"},
      {"--scene ../close --score", 3,
       "cannot build the exact diagram: segments 0 and 1 touch once rounded to the exact "
       "diagram's grid of 2^-30 px"},
      {"--scene ../point --svg s", 3, "segment 1 shrinks to a point once rounded"},
      {"--scene " + corpus + "ok-divides-by-zero.scene' --scale 1", 3,
       "kaldra-render: Run-time error: division by zero in sweep 1, pair (0, 1)"},
  };
  for (const auto& [args, status, message] : rows) {
    SCOPED_TRACE(args);
    EXPECT_EQ(Run(args + " --png p.png"), status);
    EXPECT_EQ(out_, "");
    EXPECT_NE(err_.find(message), std::string::npos) << err_;
    EXPECT_EQ(err_.find('\n'), err_.size() - 1) << "more than one line: " << err_;
    EXPECT_TRUE(fs::is_empty(root_ / "out"));
  }
}

// "-" is standard output, the summary line then on standard error, with the
// clock's seed told first; a symbolic link is followed and kept, an existing
// file keeps its permissions, a FIFO is written in place. When the FIFO's
// reader leaves early, that failed write has status 3 and replaces no file.
TEST_F(KaldraRender, WritesStandardOutputLinksAndFifos) {
  const fs::path out = root_ / "out";
  std::ofstream(out / "target") << "old";
  fs::create_symlink("target", out / "link");
  fs::permissions(out / "target", fs::perms(0640));
  ASSERT_EQ(::mkfifo((out / "fifo").c_str(), 0600), 0);
  std::string from_fifo;
  std::thread reader([&] { from_fifo = Contents(out / "fifo"); });
  EXPECT_EQ(Run("--size 200x100 --png - --plots link --save-scene fifo"), 0) << err_;
  ::close(::open((out / "fifo").c_str(), O_WRONLY | O_NONBLOCK));  // a reader left waiting
  reader.join();
  // The signature, then the header chunk: width 200 and height 100 big-endian.
  EXPECT_EQ(out_.substr(0, 24),
            std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\xC8\0\0\0\x64", 24));
  const std::string told = err_.substr(5, err_.find('\n') - 5);
  EXPECT_TRUE(err_.starts_with("seed " + told + "\n{\"seed\": " + told + ", ")) << err_;
  EXPECT_TRUE(
      from_fifo.starts_with("# Kaldra scene, 200x100, seed " + told +
                            "\n# x1 y1 x2 y2 per segment, (x1, y1) the end generated first\n"));
  EXPECT_TRUE(fs::is_symlink(out / "link"));
  EXPECT_EQ(fs::status(out / "target").permissions(), fs::perms(0640));
  const std::string plots = Contents(out / "target");

  // A reader that opens the FIFO and leaves unread a plot list larger than a
  // pipe's buffer: a failed write, which replaces no file.
  EXPECT_EQ(Run("--seed 7 --png link --plots fifo", "true <fifo & "), 3);
  EXPECT_EQ(err_, "kaldra-render: cannot write 'fifo': Broken pipe\n");
  EXPECT_EQ(Contents(out / "target"), plots);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 3);
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
  fs::permissions(root_ / "out" / "kept.png", fs::perms::owner_read | fs::perms::others_read);
  EXPECT_EQ(Run("--seed 7 --png kept.png", "runuser -u nobody -- "), 2);
  EXPECT_NE(err_.find("Permission denied"), std::string::npos) << err_;
  EXPECT_EQ(Read("kept.png"), "kept");
}

}  // namespace
}  // namespace kaldra
