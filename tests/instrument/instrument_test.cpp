// The instrument without a window: edits and their history, the drawing's
// pace and pause, the traces of edits and what becomes of them, and the names
// a front end shows. The test sets every moment; no clock is read.
#include "instrument/instrument.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/generate_scene.h"
#include "scene/random_source.h"
#include "scene/scene_file.h"
#include "tests/support/plain_distance.h"

namespace kaldra {
namespace {

using namespace std::chrono_literals;
using Kind = Proceed::Kind;

// Three segments; segment 2 has its right end generated first.
const std::string s0 = "100 120 260 200\n", s1 = "420 90 560 230\n", s2 = "480 330 300 400\n";

std::string Segments(const Instrument& m) { return WriteScene(*m.CurrentScene()); }

// The three segments read from a file and drawn.
Instrument ThreeSegments() {
  Instrument m(788, 565);
  m.ShowFile("three.scene", *ReadScene(s0 + s1 + s2, 788, 565).scene);
  EXPECT_TRUE(m.TakeDrawing());
  m.DrawingEnded(Outcome::kFinished);
  return m;
}

// What the front end asks for besides the drawing and the traces: the status
// line in brackets, the left ends' x of the highlighted pair, the probe's text
// line by line and the left ends of the segments it highlights, the legend's
// last row, and "tracing" while the latest edit is still to be traced.
std::string Shown(const Instrument& m) {
  const Overlay o = m.OverCanvas();
  std::ostringstream out;
  out << "[" << o.status << "]";
  if (o.highlight) out << "{" << o.highlight->first.x1 << " " << o.highlight->second.x1 << "}";
  for (const std::string& line : o.probe_text) out << " / " << line;
  for (const SegmentEnds& e : o.probe_highlight) out << " {" << e.x1 << "," << e.y1 << "}";
  if (!o.legend.empty()) out << " legend: " << o.legend.back().name;
  return out.str() + (m.Retracing() ? " tracing" : "");
}

std::string Said(Proceed p) {
  if (p.kind != Kind::kWait) return p.kind == Kind::kGoOn ? "go" : "stop";
  return "wait" + (p.until ? std::to_string(p.until->count()) : "");
}

struct Script {
  const char* name;
  // Steps on the three segments, drawn: pX,Y mX,Y rX,Y press, move and
  // release the left button; @T sets the time to T ms; D d u - + P R E are
  // edit mode, delete (at the pointer), undo, slower, faster, pause, redraw
  // and end; T takes the drawing to run ("draw" or "none"), bI,J announces
  // the pair (I, J) and w asks again while waiting (go, stop, wait, or waitT
  // until T), f s x end it finished, stopped or by a run-time error; t takes
  // the next trace of an edit ("trace" or "none"), gT asks whether that one
  // goes on at T ("on" or "off"), F S X end it finished, stopped or by the
  // run-time error "fault" ("shown" or "not shown"); O I L toggle the exact
  // diagram, the probe and the legend; oX,Y points at X,Y and l leaves the
  // canvas; ? asks what is shown. While the exact diagram is shown, it is
  // the current scene's after every step.
  const char* steps;
  const char* log;    // what the steps gave, and each refusal newly told ("!reason")
  std::string after;  // the segments in the end
};

void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }

class Scripts : public ::testing::TestWithParam<Script> {};

// Each row's steps and what they gave; while a refusal is told, the scene is
// as it was before the step. Then the history: undo goes back through the
// scene before each change (a release that moved something, a deletion), one
// step a change, and redo forth again.
TEST_P(Scripts, GiveTheirLogAndHistory) {
  const std::map<char, WindowAction> actions = {
      {'D', WindowAction::kEditMode}, {'d', WindowAction::kDeleteSegment},
      {'u', WindowAction::kUndo},     {'-', WindowAction::kSlower},
      {'+', WindowAction::kFaster},   {'P', WindowAction::kPause},
      {'R', WindowAction::kRedraw},   {'O', WindowAction::kExactDiagram},
      {'I', WindowAction::kProbe},    {'L', WindowAction::kLegend}};
  const std::map<char, Outcome> ends = {{'f', Outcome::kFinished}, {'s', Outcome::kStopped},
                                        {'x', Outcome::kFailed},   {'F', Outcome::kFinished},
                                        {'S', Outcome::kStopped},  {'X', Outcome::kFailed}};
  Instrument m = ThreeSegments();
  const auto follows = [&m] { return !m.Exact() || m.Exact()->scene == m.CurrentScene(); };
  std::vector<std::string> changes = {Segments(m)};  // the scene before and after each change
  std::string log;
  const auto say = [&log](const std::string& what) { log += (log.empty() ? "" : "; ") + what; };
  std::optional<TraceJob> job;
  std::istringstream steps(GetParam().steps);
  for (std::string step; steps >> step;) {
    const std::string was = Segments(m), told = m.Refusal();
    const char op = step[0];
    double x = 0, y = 0;
    char comma = 0;
    std::istringstream(step.substr(1)) >> x >> comma >> y;
    if (op == 'p') m.Press(x, y);
    if (op == 'm') m.MoveTo(x, y);
    if (op == 'r') m.Release(x, y);
    if (op == '@') m.AdvanceTo(Time(static_cast<int>(x)));
    if (op == 'E') m.End();
    if (op == 'o') m.PointAt(x, y);
    if (op == 'l') m.PointerLeft();
    if (op == 'T') say(m.TakeDrawing() ? "draw" : "none");
    if (op == 'b') say(Said(m.BeforePair(static_cast<int>(x), static_cast<int>(y))));
    if (op == 'w') say(Said(m.Waited()));
    if (op == 'f' || op == 's' || op == 'x') m.DrawingEnded(ends.at(op));
    const std::optional<TraceJob> next = op == 't' ? m.TakeTrace() : std::nullopt;
    if (op == 't') say(next ? "trace" : "none");
    if (next) job = next;
    if (op == 'g') say(job->GoesOn(m.WantedTrace(), Time(static_cast<int>(x))) ? "on" : "off");
    if (op == 'F' || op == 'S' || op == 'X')
      say(m.TraceEnded(ends.at(op), "fault") ? "shown" : "not shown");
    if (op == '?') say(Shown(m));
    if (actions.contains(op)) m.Do(actions.at(op));
    EXPECT_TRUE(follows()) << step;
    if (!m.Refusal().empty() && m.Refusal() != told) say("!" + m.Refusal());
    if (!m.Refusal().empty() && op != 'X') {
      EXPECT_EQ(Segments(m), was) << step;
    }
    if (Segments(m) != changes.back() && (op == 'r' || op == 'd')) changes.push_back(Segments(m));
  }
  EXPECT_EQ(log, GetParam().log);
  EXPECT_EQ(Segments(m), GetParam().after);
  if (!m.Editing()) m.Do(WindowAction::kEditMode);
  for (std::size_t k = changes.size() - 1; k > 0; --k) {
    m.Do(WindowAction::kUndo);
    EXPECT_EQ(Segments(m), changes[k - 1]) << "undone back to change " << k - 1;
    EXPECT_TRUE(follows());
  }
  for (std::size_t k = 1; k < changes.size(); ++k) {
    m.Do(WindowAction::kRedo);
    EXPECT_EQ(Segments(m), changes[k]) << "redone up to change " << k;
    EXPECT_TRUE(follows());
  }
  EXPECT_EQ(m.CanUndo(), changes.size() > 1);
  EXPECT_FALSE(m.CanRedo());
}

const std::string moved = "100 120 270 235\n" + s1 + s2;  // segment 0's second end moved

INSTANTIATE_TEST_SUITE_P(
    Rows, Scripts,
    ::testing::Values(
        // Edits.
        Script{"DragAnEndAcrossRefusalsAndBack",
               "D p260,200 m265,215 m-10,200 m420,250 m100,300 m500,100 m270,235 r270,235",
               "!the end (-10, 200) lies outside the drawing rectangle [0, 788] x [0, 565]; "
               "!an end shares its x or its y with an end of segment 1; "
               "!the segment is vertical (x1 = x2); !the segment crosses segment 1",
               moved},
        Script{"MoveWholeSegments", "D p490,160 m495,170 r500,180 p480,330 r500,350", "",
               s0 + "430 110 570 250\n500 350 300 400\n"},
        Script{"AddASegment", "D p600,450 m110,300 m650,470 r700,520",
               "!the segment crosses segment 2", s0 + s1 + s2 + "600 450 700 520\n"},
        Script{"DeleteSegmentsButNeverTheLast", "D m490,160 d m180,160 d m390,365 d d m391,365 d",
               "!a scene needs at least one segment; !a scene needs at least one segment", s2},
        Script{"ClicksWithoutAMove", "D p260,200 r260,200 p700,500 r700,500", "", s0 + s1 + s2},
        Script{"NothingOutsideEditMode", "D p260,200 r270,235 D u d p100,120 r150,150", "", moved},
        // The drawing: a slow pace waits before each pair, the pace read
        // afresh while it waits; a pause holds it; full speed never waits.
        // The paces, slower and slower up to 1 s, and faster back to full speed.
        Script{"PaceAndPause",
               "R T b0,1 ? - - @1000 b0,2 ? + @1019 w @1020 w P b1,2 @9000 w ? P w b0,1 ? f ? "
               "- - - ? - ? - - ? + + + + + + ?",
               "draw; go; []; wait1050; [sweep 1, pair (0, 2) \u00b7 50 ms per pair]{100 "
               "300}; wait1020; go; wait; wait; [sweep 1, pair (1, 2) \u00b7 20 ms per pair "
               "\u00b7 paused (P resumes)]{420 300}; go; wait9020; [sweep 2, pair (0, 1) "
               "\u00b7 20 ms per pair]{100 420}; [20 ms per pair \u00b7 R redraws]; [250 ms "
               "per pair \u00b7 R redraws]; [500 ms per pair \u00b7 R redraws]; [1000 ms per pair "
               "\u00b7 R redraws]; []",
               s0 + s1 + s2},
        // A drawing gives way at its next yield or wait to another, or to an
        // edit, whose diagram is traced instead; it stops for good when the
        // program ends, and after a run-time error nothing more is drawn.
        Script{"GivesWayToARedraw", "R T P b0,1 R w s T", "draw; wait; stop; draw", s0 + s1 + s2},
        Script{"GivesWayToAnEdit", "R T P b0,1 D p260,200 m270,235 w s T t",
               "draw; wait; stop; none; trace", moved},
        Script{"StopsForGoodAtTheEnd", "R T P b0,1 E w s T", "draw; wait; stop; none",
               s0 + s1 + s2},
        Script{"NothingMoreAfterARunTimeError", "R T P b0,1 R w x T", "draw; wait; stop; none",
               s0 + s1 + s2},
        // The traces of edits, one at a time: a newer position makes the
        // trace in flight obsolete unless the picture shown is 100 ms out of
        // date, and the newest is traced next; the newest failing counts as
        // a refusal and takes the scene back to the one on the canvas; a new
        // drawing cancels them all.
        Script{
            "TracesTheNewestPosition",
            "D @1000 p260,200 m265,215 t t @1050 m270,235 g1099 g1100 F ? t r272,236 g1100 S t F ?",
            "trace; none; off; on; shown; [edit mode (D leaves)] tracing; trace; off; not shown; "
            "trace; shown; [edit mode (D leaves)]",
            "100 120 272 236\n" + s1 + s2},
        Script{"AFailedTraceTakesTheSceneBack", "O D p260,200 r270,235 t F p490,160 m500,180 t X D",
               "trace; shown; trace; not shown; !fault", moved},
        Script{"ANewDrawingCancelsTheTraces", "D p260,200 m270,235 t R g9000 F t",
               "trace; off; not shown; none", moved},
        // The exact diagram follows every change of the scene (checked at
        // every step), and the legend names it while it is shown.
        Script{"ExactDiagramFollowsEdits",
               "L ? O ? D p260,200 m500,100 r270,235 p490,160 r500,180 m390,365 d O ?",
               "[] legend: Parabolas; [] legend: Exact diagram; !the segment crosses segment 1; "
               "[edit mode (D leaves)] legend: Parabolas tracing",
               "100 120 270 235\n430 110 570 250\n"},
        // The probe reads the current scene at the pointer, whatever else
        // goes on: on the diagram of segments 0 and 1 (equally far from
        // their ends (260, 200) and (420, 90)), near segment 0, off the
        // canvas, during a paused drawing and a drag (the end moved with the
        // pointer).
        Script{"ProbeAtThePointer",
               "I ? o340,145 ? o180,170 ? l ? o-1,100 ? R T P D p260,200 m270,235 ?",
               "[]; [] / on the diagram of segments 0 and 1 / segment 0 at 97.08 px / segment 1 at "
               "97.08 px / largest empty circle: radius 97.08 px {100,120} {420,90}; [] / nearest: "
               "segment 0 at 8.94 px / next: segment 1 at 252.98 px / largest empty circle: radius "
               "8.94 px; []; []; draw; [full speed \u00b7 paused (P resumes) \u00b7 edit mode (D "
               "leaves)] / nearest: segment 0 at 0.00 px / next: segment 2 at 164.65 px / largest "
               "empty circle: radius 0.00 px tracing",
               moved}),
    [](const auto& row) { return row.param.name; });

// What a front end names of the scene: a seed's, and once edited (saved
// without the seed), a file's.
TEST(SceneNames, FollowTheSceneItsOriginAndEdits) {
  Instrument m(788, 565);
  const auto names = [&m] {
    const std::string text = *m.SceneFileText();
    return m.SceneLabel() + ", " + m.SceneName() + ", " + m.CopyText() + ", " +
           text.substr(0, text.find('\n'));
  };
  m.ShowSeed(3);
  EXPECT_EQ(names(), "Seed 3, 3, 3, # Kaldra scene, 788x565, seed 3");
  EXPECT_EQ(m.PaceLabel(), "Pace: full speed");
  m.Do(WindowAction::kEditMode);
  m.Press((*m.CurrentScene())[0].x1, (*m.CurrentScene())[0].y1);
  m.Release((*m.CurrentScene())[0].x1 + 1, (*m.CurrentScene())[0].y1 + 1);
  EXPECT_EQ(names(), "Scene 3-edited, 3-edited, 3-edited, # Kaldra scene, 788x565");
  m.ShowFile("/tmp/two.parts.scene", *ReadScene(s0, 788, 565).scene);
  EXPECT_EQ(names(),
            "Scene two.parts.scene, two.parts, /tmp/two.parts.scene, # Kaldra scene, 788x565");
}

// The exact diagram as the front ends draw it: every curve runs along its
// edge, each point equally far from the edge's two segments; a diagram that
// cannot be built is told on the status line instead.
TEST(ExactLayer, CurvesRunAlongTheirEdges) {
  SeededRandom random(3);
  const auto layer = MakeExactLayer(std::make_shared<const Scene>(GenerateScene(random, 788, 565)));
  ASSERT_EQ(layer->curves.size(), layer->diagram->edges.size());
  for (std::size_t k = 0; k < layer->curves.size(); ++k) {
    const auto& [from, control, to] = layer->curves[k];
    const auto& [a, b] = layer->diagram->edges[k].sites;
    for (const double t : {0.25, 0.5, 0.75}) {
      const double x = (1 - t) * (1 - t) * from.x + 2 * t * (1 - t) * control.x + t * t * to.x;
      const double y = (1 - t) * (1 - t) * from.y + 2 * t * (1 - t) * control.y + t * t * to.y;
      EXPECT_NEAR(testing::AwayFrom((*layer->scene)[a.segment], x, y).distance,
                  testing::AwayFrom((*layer->scene)[b.segment], x, y).distance, 1e-6);
    }
  }
  Instrument m(788, 565);
  m.ShowFile("touch",
             *ReadScene("100 100 300 200\n300.0000000001 200.0000000002 400 150", 788, 565).scene);
  m.Do(WindowAction::kExactDiagram);
  EXPECT_EQ(m.OverCanvas().status,
            "no exact diagram: segments 0 and 1 touch once rounded to the "
            "exact diagram's grid of 2^-30 px");
}

}  // namespace
}  // namespace kaldra
