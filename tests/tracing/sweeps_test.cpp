// Facts about the two sweeps: the order of pairs and yields, the colours, and
// the worked examples of each kind of trace.
#include "tracing/sweeps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tests/tracing/scene_builders.h"
#include "tracing/traces.h"

namespace kaldra {
namespace {

using testing::GivenScene;
using testing::RecordingCanvas;
using testing::Seg;

// Three segments that meet every rule of a generated scene.
std::vector<Candidate> ThreeSegments() {
  return {Seg(100, 120, 260, 200), Seg(420, 90, 560, 230), Seg(300, 400, 480, 330)};
}

// A canvas that remembers the endpoint bisector in PtBis at each colour
// change, which tells the pair each trace belongs to.
class PairWatchingCanvas : public RecordingCanvas {
 public:
  explicit PairWatchingCanvas(const mdlKaldra& mdl) : mdl_(mdl) {}
  void ForeColor(Color color) override {
    RecordingCanvas::ForeColor(color);
    bisectors.push_back(mdl_.PtBis);
    do_events_before.push_back(do_events);
  }
  using RecordingCanvas::ForeColor;
  void BeforePair(int i, int j) override {
    announced.push_back({i, j, static_cast<int>(fore_colors.size())});
  }

  std::vector<ClippedLine> bisectors;
  std::vector<int> do_events_before;
  std::vector<std::array<int, 3>> announced;  // i, j, traces before it

 private:
  const mdlKaldra& mdl_;
};

TEST(SweepOne, VisitsThePairsInOrderAndYieldsOncePerOuterIndex) {
  GivenScene scene(ThreeSegments(), 788, 565);
  PairWatchingCanvas canvas(scene.mdl);
  SweepOne(scene.mdl, canvas);
  // Six traces per pair, in the pair order (0, 1), (0, 2), (1, 2).
  ASSERT_EQ(canvas.fore_colors.size(), 18u);
  EXPECT_EQ(canvas.do_events, 2);
  const std::vector<Color> per_pair = {kCyan, kMagenta, kYellow, kRed, kBlue, kGreen};
  const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
  mdlKaldra& mdl = scene.mdl;
  for (int n = 0; n < 3; ++n) {
    const int i = pairs[n][0];
    const int j = pairs[n][1];
    for (int t = 0; t < 6; ++t) {
      EXPECT_EQ(canvas.fore_colors[static_cast<std::size_t>(n * 6 + t)],
                per_pair[static_cast<std::size_t>(t)]);
    }
    // The first trace of a pair is the bisector of the two left ends.
    mdl.PointBisector(mdl.X1[i], mdl.Y1[i], mdl.X1[j], mdl.Y1[j]);
    const ClippedLine seen = canvas.bisectors[static_cast<std::size_t>(n * 6)];
    EXPECT_EQ(seen.StartX, mdl.PtBis.StartX) << "pair " << n;
    EXPECT_EQ(seen.EndY, mdl.PtBis.EndY) << "pair " << n;
    // The pairs of i = 0 come after the first yield, the pair of i = 1 after
    // the second.
    EXPECT_EQ(canvas.do_events_before[static_cast<std::size_t>(n * 6)], i + 1);
    // Each pair is announced once, right before its first trace.
    EXPECT_EQ(canvas.announced.at(static_cast<std::size_t>(n)), (std::array<int, 3>{i, j, n * 6}));
  }
  EXPECT_EQ(canvas.announced.size(), 3u);
  EXPECT_EQ(canvas.ForeColor(), kGreen);
}

TEST(SweepTwo, FourArcsPerPairAndOneYieldPerOuterIndex) {
  GivenScene scene(ThreeSegments(), 788, 565);
  SweepTwo(scene.mdl, scene.canvas);
  const std::vector<Color> per_pair = {kMagenta, kCyan, kYellow, kGreen};
  ASSERT_EQ(scene.canvas.fore_colors.size(), 12u);
  for (std::size_t n = 0; n < 12; ++n) EXPECT_EQ(scene.canvas.fore_colors[n], per_pair[n % 4]);
  EXPECT_EQ(scene.canvas.do_events, 2);
  EXPECT_EQ(scene.canvas.ForeColor(), kGreen);
}

// Two segments mirrored about y = 150 in a 400 x 300 rectangle: their lines
// meet at (1400, 150), so the first angle bisector is the horizontal line
// y = 150 and the second is nearly vertical through x = 1400.
struct MirroredPair {
  GivenScene scene{{Seg(100, 20, 300, 40), Seg(100, 280, 300, 260)}, 400, 300};
  SceneConstants constants = ComputeSceneConstants(scene.mdl);
  PairContext pair{scene.mdl, constants, scene.canvas, CanvasBounds::Around(400, 300), 0, 1};
};

TEST(TraceLineBisector, PlotsWhereBothFeetFallOnTheSegments) {
  MirroredPair m;
  m.scene.mdl.LineBisectors(0, 1);
  const ClippedLine first = m.scene.mdl.LnBis1;
  const ClippedLine second = m.scene.mdl.LnBis2;
  // The second bisector misses the rectangle: two equal ends, one sample, at
  // about (1400, 0), whose feet are off both segments.
  EXPECT_EQ(second.StartX, second.EndX);
  EXPECT_EQ(second.StartY, second.EndY);
  EXPECT_EQ(TraceLineBisector(m.pair, second, kGreen), 1u);
  EXPECT_TRUE(m.scene.canvas.plots.empty());
  EXPECT_EQ(TraceLineBisector(m.pair, first, kBlue), 801u);
  const std::vector<PlotPoint>& plots = m.scene.canvas.plots;
  ASSERT_FALSE(plots.empty());
  for (const PlotPoint& p : plots) {
    EXPECT_EQ(p.color, kBlue);
    EXPECT_NEAR(p.y, 150, 1e-4);
  }
  // The feet on the tilted lines reach x = 100 and x = 300 a little before
  // and after the sample's own x.
  EXPECT_NEAR(plots.front().x, 87, 0.6);
  EXPECT_NEAR(plots.back().x, 289, 0.6);
}

// The worked arc: segment 0 from (100, 150) to (300, 250) is the directrix,
// the left end (200, 300) of segment 1 the focus.
struct WorkedArc {
  GivenScene scene{{Seg(100, 150, 300, 250), Seg(200, 300, 260, 420)}, 788, 565};
};

TEST(TraceArc, WorkedExample) {
  WorkedArc w;
  const ArcFrame arc = FrameArc(w.scene.mdl, 0, 1, FocusEnd::kFirst);
  EXPECT_NEAR(arc.vx, 220, 1e-6);
  EXPECT_NEAR(arc.vy, 260, 1e-6);
  EXPECT_NEAR(arc.h, 44.721360, 1e-6);
  // The focus's x, 200, is not right of the vertex: theta = Pi - alpha.
  EXPECT_NEAR(arc.theta, 4.248741, 1e-6);
  EXPECT_NEAR(arc.start, -67.082039, 1e-6);
  EXPECT_NEAR(arc.finish, 156.524758, 1e-6);
  EXPECT_NEAR(arc.finish - arc.start, 223.606798, 1e-6);  // the length of segment 0

  const double along = Square(40.0) / (arc.h * 4);
  EXPECT_NEAR(along, 8.944272, 1e-6);
  const double x = arc.XAt(along, 40);
  const double y = arc.YAt(along, 40);
  EXPECT_NEAR(x, 180.222912, 1e-6);
  EXPECT_NEAR(y, 250.111456, 1e-6);
  EXPECT_NEAR(PointDistance(x, y, arc.f.x, arc.f.y), 53.665631, 1e-6);
  EXPECT_NEAR(PointDistance(x, y, arc.o.x, arc.o.y), 187.687243, 1e-6);
  EXPECT_NEAR(PointDistance(x, y, arc.q.x, arc.q.y), 53.799298, 1e-6);

  // The range's ends map to the points of the parabola on the perpendiculars
  // through the directrix segment's ends.
  const double a0 = Square(arc.start) / (arc.h * 4);
  const double a1 = Square(arc.finish) / (arc.h * 4);
  EXPECT_NEAR(arc.XAt(a0, arc.start), 268.75, 1e-6);
  EXPECT_NEAR(arc.YAt(a0, arc.start), 312.5, 1e-6);
  EXPECT_NEAR(arc.XAt(a1, arc.finish), 18.75, 1e-6);
  EXPECT_NEAR(arc.YAt(a1, arc.finish), 312.5, 1e-6);

  const SceneConstants constants = ComputeSceneConstants(w.scene.mdl);
  PairContext pair{w.scene.mdl, constants, w.scene.canvas, CanvasBounds::Around(788, 565), 0, 1};
  EXPECT_EQ(TraceArc(pair, 0, 1, FocusEnd::kFirst, kMagenta), 2237u);
  ASSERT_FALSE(w.scene.canvas.plots.empty());
  for (const PlotPoint& p : w.scene.canvas.plots) EXPECT_EQ(p.color, kMagenta);
}

struct ProbeRow {
  const char* name;
  double x, y;
  bool interior_nearer;
};

class ProbeRows : public ::testing::TestWithParam<ProbeRow> {};

TEST_P(ProbeRows, TheEndIsNearestUnlessTheProbeIsStrictlyNearer) {
  const Point a{100, 100};
  const Point qa = Probe(a, {200, 200});
  EXPECT_NEAR(qa.x, 100.1, 1e-12);
  const ProbeRow& row = GetParam();
  const double s = SquaredDistance(row.x, row.y, a.x, a.y);
  const double d = PointDistance(row.x, row.y, a.x, a.y);
  EXPECT_EQ(ProbeNearer(row.x, row.y, qa, s, [d] { return d; }), row.interior_nearer);
  EXPECT_EQ(PointDistance(row.x, row.y, qa.x, qa.y) < d, row.interior_nearer);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProbeRows,
    ::testing::Values(ProbeRow{"BesideTheEnd", 60, 120, false},
                      ProbeRow{"OverTheInterior", 90, 130, true},
                      ProbeRow{"OnThePerpendicularThroughTheEnd", 50, 150, false}),
    [](const ::testing::TestParamInfo<ProbeRow>& row) { return row.param.name; });

}  // namespace
}  // namespace kaldra
