// The web page's C++ without a browser: the drawing the page makes from the
// outer indices its workers trace against the sequential drawing, pixel for
// pixel, its fault, its pace and its end; the links that carry a scene.
#include "web/web_page.h"

#include <vector>

#include <gtest/gtest.h>

#include "scene/draw_scene.h"
#include "scene/scene_file.h"
#include "tests/support/build_scene.h"
#include "tracing/sweeps.h"
#include "web/scene_link.h"

namespace kaldra {
namespace {

using Kind = Proceed::Kind;

// What the page's threads do with a run: a worker, its scene handed over as
// numbers, traces every other index and sends it as bytes; the page's own
// thread traces the rest.
void TraceAll(WebPage& page, const PictureRun* run) {
  if (run == nullptr) return;
  const std::optional<Scene> scene = SceneFromNumbers(SceneNumbers(*run->TracedScene()));
  ASSERT_TRUE(scene);
  for (int k = 0; k < run->Indices(); ++k) {
    if (k % 2 == 0) {
      page.Deliver(run->Id(), k, ToBytes(TraceIndex(*scene, 788, 565, k)));
    } else {
      page.TraceHere(run->Id(), k);
    }
  }
}

// Runs the page as its script does, every frame coming at once, until
// nothing is drawn or traced any more; returns the last failure.
std::string RunPage(WebPage& page) {
  for (;;) {
    const WebPage::Next next = page.Pump();
    if (!next.failure.empty()) return next.failure;
    if (next.frame) {
      page.FrameCame();
    } else if (page.Drawing() == nullptr && page.Trace() == nullptr) {
      return "";
    }
    TraceAll(page, page.Drawing());
    TraceAll(page, page.Trace());
  }
}

std::vector<std::uint32_t> Pixels(const RasterCanvas& canvas) {
  const std::uint32_t* p = canvas.Pixels().get();
  return {p, p + static_cast<std::ptrdiff_t>(canvas.Width()) * canvas.Height()};
}

std::vector<std::uint32_t> Sequential(const Scene& scene) {
  RasterCanvas canvas(788, 565);
  DrawScene(scene, canvas);
  TraceDiagram(scene, canvas);
  return Pixels(canvas);
}

class PageDraws : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(PageDraws, TheSequentialPicture) {
  WebPage page(788, 565);
  page.At(0).ShowSeed(GetParam());
  EXPECT_EQ(RunPage(page), "");
  EXPECT_EQ(Pixels(page.Shown()), Sequential(*page.Model().CurrentScene()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, PageDraws, ::testing::Values(0u, 3u, 4u, 725u, 1980u),
                         [](const auto& row) { return "seed_" + std::to_string(row.param); });

TEST(PageDraws, AnEditAsTheSequentialPictureOfTheEditedScene) {
  WebPage page(788, 565);
  page.At(0).ShowSeed(3);
  RunPage(page);
  Instrument& m = page.At(1000);
  m.Do(WindowAction::kEditMode);
  const EditEnds s = SegmentsOf(*m.CurrentScene())[1];
  m.Press(s.first_x, s.first_y);
  m.MoveTo(s.first_x + 3, s.first_y - 2);
  EXPECT_EQ(RunPage(page), "");
  EXPECT_EQ(Pixels(page.Shown()), Sequential(*page.Model().CurrentScene()));
}

TEST(PageDraws, TheRunTimeErrorOfTheSequentialSweeps) {
  WebPage page(788, 565);
  // tests/tools/corpus/ok-divides-by-zero.scene, on which the renderer stops.
  page.At(0).ShowFile("zero.scene",
                      testing::BuildScene({{10, 0, 100, 50}, {200, 0x1p-1074, 300, 60}}));
  EXPECT_EQ(
      RunPage(page),
      "Run-time error: division by zero in sweep 1, pair (0, 1), endpoint bisector 1 (left ends)");
  EXPECT_FALSE(page.Model().Drawing());
}

// The pace and the end as the window's canvas meets them: a wait before each
// pair at a slow pace, none while paused but a command's, and End stopping
// the drawing at its next yield.
TEST(PageDraws, AtThePaceAndToTheEnd) {
  WebPage page(788, 565);
  page.At(0).ShowSeed(4);
  page.At(0).Do(WindowAction::kSlower);  // 20 ms per pair
  EXPECT_TRUE(page.Pump().frame);
  page.FrameCame();
  TraceAll(page, page.Drawing());
  EXPECT_EQ(page.Pump().wake, Time(20));
  page.At(20);
  EXPECT_EQ(page.Pump().wake, Time(40));
  page.At(25).Do(WindowAction::kPause);
  page.At(60);
  const WebPage::Next paused = page.Pump();
  EXPECT_EQ(paused.wake, std::nullopt);
  EXPECT_FALSE(paused.frame);
  page.At(61).End();
  page.Pump();
  EXPECT_EQ(page.Drawing(), nullptr);
  EXPECT_FALSE(page.Model().Drawing());
}

struct LinkRow {
  const char* name;
  const char* fragment;
  const char* scene_or_problem;  // the scene file it names, or why it names none
};

void PrintTo(const LinkRow& row, std::ostream* out) { *out << row.name; }

class Links : public ::testing::TestWithParam<LinkRow> {};

TEST_P(Links, NameTheirSceneOrAreRefused) {
  const LinkedScene linked = ReadLink(GetParam().fragment, 788, 565);
  EXPECT_EQ(linked.scene  ? WriteScene(*linked.scene)
            : linked.seed ? "seed " + std::to_string(*linked.seed)
                          : linked.problem,
            GetParam().scene_or_problem);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Links,
    ::testing::Values(
        LinkRow{"seed", "seed=4294967295", "seed 4294967295"},
        LinkRow{"scene", "scene=100,120.5,260,200;480,330,300,400",
                "100 120.5 260 200\n480 330 300 400\n"},
        LinkRow{"sized", "scene=300x200;10,20,30,40", "10 20 30 40\n"},
        LinkRow{"seed_too_large", "seed=4294967296",
                "link: the seed needs a whole number from 0 to 4294967295, not '4294967296'"},
        LinkRow{"outside_its_size", "scene=300x200;10,20,330,40",
                "link:2: the end (330, 40) lies outside the drawing rectangle [0, 300] x [0, 200]"},
        LinkRow{"other", "foo=1",
                "link: 'foo=1' names no scene; a link to a scene ends in #seed=N or #scene=..."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Links, CarryTheSceneExactlyWithItsRectangle) {
  const std::optional<Scene> edited =
      ReadScene("100.1 120.30000000000001 260 200\n480 330 300.7 400\n", 500, 400).scene;
  ASSERT_TRUE(edited);
  const std::string link = SceneLink(std::nullopt, *edited, 788, 565);
  EXPECT_EQ(link, "scene=500x400;100.1,120.30000000000001,260,200;480,330,300.7,400");
  const LinkedScene back = ReadLink(link, 788, 565);
  ASSERT_TRUE(back.scene);
  EXPECT_TRUE(SameSegments(*back.scene, *edited));
  EXPECT_EQ(back.scene->Width(), 500);
  EXPECT_EQ(SceneLink(4, *edited, 788, 565), "seed=4");
}

}  // namespace
}  // namespace kaldra
