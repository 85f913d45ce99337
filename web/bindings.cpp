// The page's script calls these, on the page's thread (kaldra_page_*) and in
// its workers (kaldra_tracer_*). Strings go in as UTF-8 and come back as
// UTF-8 that stays valid until the next call on the same object.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <emscripten/emscripten.h>

#include "instrument/run_time_message.h"
#include "web/json_text.h"
#include "web/page_json.h"
#include "web/scene_link.h"
#include "web/traced_index.h"
#include "web/web_page.h"

namespace kaldra {
namespace {

// The page and what its answers are kept in.
struct Page {
  Page(int width, int height) : page(width, height) {}
  WebPage page;
  std::string answer;
  std::vector<std::uint8_t> rgba;
  std::vector<double> numbers;
  const ExactLayer* exact = nullptr;  // the exact diagram the script last read
  int exact_version = 0;
  std::pair<int, int> runs{0, 0};  // the drawing's and the trace's, as the script last read them
  // The link to the scene, kept while the scene and its seed stay.
  SceneRef link_scene;
  std::optional<std::uint32_t> link_seed;
  std::string link;
};

int Id(const PictureRun* run) { return run != nullptr ? run->Id() : 0; }

// The worker's scene, and the last index it traced.
struct Tracer {
  Scene scene;
  int width, height;
  std::string traced;
};

Instrument& Model(Page* p, double now) { return p->page.At(now); }

void ExactVersion(Page* p) {
  const ExactLayer* shown = p->page.Model().Exact();
  if (shown != p->exact) {
    p->exact = shown;
    ++p->exact_version;
  }
}

}  // namespace
}  // namespace kaldra

using kaldra::Page;
using kaldra::Tracer;

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* kaldra_actions() {
  static const std::string actions = kaldra::ActionsJson();
  return actions.c_str();
}

EMSCRIPTEN_KEEPALIVE Page* kaldra_page_new(int width, int height) {
  return new Page(width, height);
}

// A random scene, or a seed's scene asked for by name (`chosen`).
EMSCRIPTEN_KEEPALIVE void kaldra_page_show_seed(Page* p, double now, std::uint32_t seed,
                                                bool chosen) {
  if (chosen) {
    Model(p, now).ShowSeed(seed);
  } else {
    Model(p, now).ShowNewScene(seed);
  }
}

// A scene file opened: "" when it is drawn, else why it is refused.
EMSCRIPTEN_KEEPALIVE const char* kaldra_page_open(Page* p, double now, const char* name,
                                                  const char* text) {
  const kaldra::WebPage& page = p->page;
  kaldra::WindowSceneRead read = kaldra::ReadWindowScene(name, text, page.Width(), page.Height());
  p->answer = read.problem;
  if (read.scene) Model(p, now).ShowFile(name, std::move(*read.scene));
  return p->answer.c_str();
}

// The address's fragment: "" when the scene it names is drawn, else why not.
EMSCRIPTEN_KEEPALIVE const char* kaldra_page_open_link(Page* p, double now, const char* fragment) {
  kaldra::LinkedScene linked = kaldra::ReadLink(fragment, p->page.Width(), p->page.Height());
  p->answer = linked.problem;
  if (linked.seed) Model(p, now).ShowSeed(*linked.seed);
  if (linked.scene)
    Model(p, now).ShowFile(std::string(kaldra::kLinkName), std::move(*linked.scene));
  return p->answer.c_str();
}

EMSCRIPTEN_KEEPALIVE void kaldra_page_do(Page* p, double now, int action) {
  Model(p, now).Do(static_cast<kaldra::WindowAction>(action));
}

EMSCRIPTEN_KEEPALIVE void kaldra_page_end(Page* p, double now) { Model(p, now).End(); }

// The view, the canvas element, is now width x height pixels.
EMSCRIPTEN_KEEPALIVE void kaldra_page_resize(Page* p, double now, int width, int height) {
  Model(p, now).ResizeView(width, height);
}

// Escape: whether it took back a drag, which is all it then does.
EMSCRIPTEN_KEEPALIVE bool kaldra_page_cancel_drag(Page* p, double now) {
  return Model(p, now).CancelDrag();
}

// The scene was saved as `name`: it is no longer modified.
EMSCRIPTEN_KEEPALIVE void kaldra_page_scene_saved(Page* p, double now, const char* name) {
  Model(p, now).SceneSaved(name);
}

// The pointer over the canvas: 0 there, 1 moved, 2 pressed, 3 released (the
// left button), 4 gone.
EMSCRIPTEN_KEEPALIVE void kaldra_page_pointer(Page* p, double now, int what, double x, double y) {
  kaldra::Instrument& m = Model(p, now);
  switch (what) {
    case 0:
      m.PointAt(x, y);
      break;
    case 1:
      m.MoveTo(x, y);
      break;
    case 2:
      m.Press(x, y);
      break;
    case 3:
      m.Release(x, y);
      break;
    default:
      m.PointerLeft();
      break;
  }
}

// {"frame": the drawing waits for an animation frame, "wake": until when it
// waits (null: no time), "failure": the run-time error's report that ended
// the drawing, "tracing": an edit's trace is under way, "busy": the picture
// is not complete yet (a drawing or the latest edit's trace), "runs": the
// runs whose indices are to be traced}.
EMSCRIPTEN_KEEPALIVE const char* kaldra_page_pump(Page* p, double now) {
  Model(p, now);
  const kaldra::WebPage::Next next = p->page.Pump();
  kaldra::JsonText json;
  json.Open('{').Key("frame").Bool(next.frame).Key("wake");
  if (next.wake) {
    json.Number(static_cast<double>(next.wake->count()));
  } else {
    json.Null();
  }
  json.Key("failure").String(next.failure.empty() ? "" : kaldra::RunTimeErrorText(next.failure));
  json.Key("tracing").Bool(p->page.Trace() != nullptr);
  json.Key("busy").Bool(p->page.Model().Drawing() || p->page.Model().Retracing());
  // The runs only when they changed: their scenes take a while to write.
  const std::pair runs{kaldra::Id(p->page.Drawing()), kaldra::Id(p->page.Trace())};
  const bool same = runs == p->runs;
  p->runs = runs;
  p->answer = json.Text() + ",\"runs\":" + (same ? "null" : kaldra::RunsJson(p->page)) + "}";
  return p->answer.c_str();
}

EMSCRIPTEN_KEEPALIVE void kaldra_page_frame(Page* p) { p->page.FrameCame(); }

// The scene of run `run` as SceneNumbers gives it, for its workers: as many
// doubles as kaldra_page_numbers_count says, none if the run has ended.
// Numbers, not text, since writing doubles as text that reads back exactly
// would keep a drag's every position waiting for a millisecond.
EMSCRIPTEN_KEEPALIVE const double* kaldra_page_run_numbers(Page* p, int run) {
  p->numbers.clear();
  for (const kaldra::PictureRun* r : {p->page.Drawing(), p->page.Trace()}) {
    if (r != nullptr && r->Id() == run) p->numbers = kaldra::SceneNumbers(*r->TracedScene());
  }
  return p->numbers.data();
}

EMSCRIPTEN_KEEPALIVE int kaldra_page_numbers_count(Page* p) {
  return static_cast<int>(p->numbers.size());
}

EMSCRIPTEN_KEEPALIVE void kaldra_page_deliver(Page* p, int run, int k, const char* bytes,
                                              int size) {
  p->page.Deliver(run, k, std::string_view(bytes, static_cast<std::size_t>(size)));
}

EMSCRIPTEN_KEEPALIVE void kaldra_page_trace_here(Page* p, int run, int k) {
  p->page.TraceHere(run, k);
}

EMSCRIPTEN_KEEPALIVE const char* kaldra_page_state(Page* p) {
  kaldra::ExactVersion(p);
  const kaldra::Instrument& m = p->page.Model();
  const std::optional<std::uint32_t> seed = m.ReproducingSeed();
  if (m.CurrentScene() != p->link_scene || seed != p->link_seed) {
    p->link_scene = m.CurrentScene();
    p->link_seed = seed;
    p->link = p->link_scene
                  ? kaldra::SceneLink(seed, *p->link_scene, p->page.Width(), p->page.Height())
                  : "";
  }
  p->answer = kaldra::StateJson(p->page, p->exact_version, p->link);
  return p->answer.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* kaldra_page_exact(Page* p) {
  kaldra::ExactVersion(p);
  p->answer = kaldra::ExactJson(p->exact);
  return p->answer.c_str();
}

// The canvas on screen as RGBA bytes when it changed since the last call,
// else null.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* kaldra_page_repaint(Page* p) {
  if (!p->page.TakeRepaint()) return nullptr;
  const kaldra::RasterCanvas& shown = p->page.Shown();
  const std::size_t pixels = static_cast<std::size_t>(shown.Width()) * shown.Height();
  p->rgba.resize(4 * pixels);
  const std::uint32_t* argb = shown.Pixels().get();
  for (std::size_t k = 0; k < pixels; ++k) {
    p->rgba[4 * k] = static_cast<std::uint8_t>(argb[k] >> 16);
    p->rgba[4 * k + 1] = static_cast<std::uint8_t>(argb[k] >> 8);
    p->rgba[4 * k + 2] = static_cast<std::uint8_t>(argb[k]);
    p->rgba[4 * k + 3] = static_cast<std::uint8_t>(argb[k] >> 24);
  }
  return p->rgba.data();
}

EMSCRIPTEN_KEEPALIVE int kaldra_page_width(Page* p) { return p->page.Shown().Width(); }
EMSCRIPTEN_KEEPALIVE int kaldra_page_height(Page* p) { return p->page.Shown().Height(); }

// The scene as a scene file, or "" when it cannot be saved.
EMSCRIPTEN_KEEPALIVE const char* kaldra_page_scene_file(Page* p) {
  p->answer = p->page.Model().SceneFileText().value_or("");
  return p->answer.c_str();
}

// A worker's copy of a run's scene, from SceneNumbers as the page gives them,
// traced for a width x height canvas. Null if the numbers make no scene.
EMSCRIPTEN_KEEPALIVE Tracer* kaldra_tracer_new(const double* numbers, int count, int width,
                                               int height) {
  std::optional<kaldra::Scene> scene = kaldra::SceneFromNumbers(
      {numbers, static_cast<std::size_t>(count)});
  if (!scene) return nullptr;
  return new Tracer{std::move(*scene), width, height, {}};
}

// Traces outer index k (TraceIndex) and returns its record; its size is
// kaldra_tracer_size's.
EMSCRIPTEN_KEEPALIVE const char* kaldra_tracer_trace(Tracer* t, int k) {
  t->traced = kaldra::ToBytes(kaldra::TraceIndex(t->scene, t->width, t->height, k));
  return t->traced.data();
}

EMSCRIPTEN_KEEPALIVE int kaldra_tracer_size(Tracer* t) {
  return static_cast<int>(t->traced.size());
}

EMSCRIPTEN_KEEPALIVE void kaldra_tracer_delete(Tracer* t) { delete t; }

}  // extern "C"
