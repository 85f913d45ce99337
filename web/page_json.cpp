#include "web/page_json.h"

#include <utility>

#include "instrument/window_actions.h"
#include "scene/color.h"
#include "scene/decimal_text.h"
#include "web/json_text.h"

namespace kaldra {

namespace {

const char* PointerName(PointerShape shape) {
  switch (shape) {
    case PointerShape::kEnd:
      return "end";
    case PointerShape::kMiddle:
      return "middle";
    case PointerShape::kEmpty:
      return "empty";
    case PointerShape::kArrow:
      break;
  }
  return "arrow";
}

void Point(JsonText& json, CanvasPoint p) { json.Open('[').Number(p.x).Number(p.y).Close(']'); }

void Ends(JsonText& json, const SegmentEnds& e) {
  json.Open('[').Number(e.x1).Number(e.y1).Number(e.x2).Number(e.y2).Close(']');
}

void OverlayJson(JsonText& json, const Overlay& o) {
  json.Open('{').Key("view").Open('[').Number(o.view.scale).Number(o.view.zoom);
  json.Number(o.view.left).Number(o.view.top).Close(']').Key("highlight");
  if (o.highlight) {
    json.Open('[');
    Ends(json, o.highlight->first);
    Ends(json, o.highlight->second);
    json.Close(']');
  } else {
    json.Null();
  }
  json.Key("preview");
  if (o.preview) {
    Ends(json, *o.preview);
  } else {
    json.Null();
  }
  json.Key("probe");
  if (o.probe) {
    json.Open('{').Key("at");
    Point(json, o.probe->at);
    json.Key("radius").Number(o.probe->circle.radius).Key("nearest").Open('[');
    for (const SegmentDistance& s : o.probe->nearest) Point(json, s.nearest);
    json.Close(']').Key("highlight").Open('[');
    for (const SegmentEnds& e : o.probe_highlight) Ends(json, e);
    json.Close(']').Key("text").Open('[');
    for (const std::string& line : o.probe_text) json.String(line);
    json.Close(']').Close('}');
  } else {
    json.Null();
  }
  json.Key("legend").Open('[');
  for (const CurveFamily& family : o.legend) {
    json.Open('{').Key("name").String(family.name).Key("colors").Open('[');
    for (const Color c : family.colors)
      json.Open('[').String(HexText(c)).String(ColorName(c)).Close(']');
    json.Close(']').Close('}');
  }
  json.Close(']');
  json.Key("note").String(o.note).Key("note_at").Open('[').Number(o.note_x).Number(o.note_y);
  json.Close(']').Key("status").String(o.status).Key("hint").String(o.hint);
  json.Key("large").Bool(o.large).Close('}');
}

}  // namespace

std::string ActionsJson() {
  JsonText json;
  json.Open('[');
  for (const WindowActionInfo& info : kWindowActions) {
    json.Open('{').Key("id").Number(static_cast<int>(info.action)).Key("name").String(info.name);
    json.Key("front_end").Bool(LeftToFrontEnd(info.action));
    json.Key("text").String(info.menu_text).Key("keys").String(info.keys);
    json.Key("help").String(info.help).Key("edit_mode_only").Bool(EditModeOnly(info.action));
    json.Close('}');
  }
  return json.Close(']').Text();
}

std::string StateJson(const WebPage& page, int exact_version, const std::string& link) {
  const Instrument& m = page.Model();
  JsonText json;
  json.Open('{').Key("busy").Bool(m.Drawing() || m.Retracing()).Key("link").String(link);
  const SceneRef& scene = m.CurrentScene();
  json.Key("segments").Number(scene ? scene->Count() : 0);
  json.Key("caption").String(m.Caption()).Key("modified").Bool(m.Modified());
  // As the window's menu names it: by the seed until the scene has a file.
  json.Key("scene_label").String(m.SceneLabel()).Key("scene_name").String(m.SceneName());
  json.Key("copy_text").String(m.CopyText()).Key("pace_label").String(m.PaceLabel());
  json.Key("pointer").String(PointerName(m.Pointer()));
  const std::optional<Time> changes = m.OverlayChangesAt();
  json.Key("overlay_changes_at");
  if (changes) {
    json.Number(static_cast<double>(changes->count()));
  } else {
    json.Null();
  }
  json.Key("actions").Open('[');
  for (const WindowActionInfo& info : kWindowActions) {
    const ActionState state = m.StateOf(info.action);
    json.Open('{').Key("checked");
    if (state.checked) {
      json.Bool(*state.checked);
    } else {
      json.Null();
    }
    json.Key("text").String(state.text).Key("shown").Bool(state.shown);
    json.Key("enabled").Bool(state.enabled).Close('}');
  }
  json.Close(']').Key("overlay");
  OverlayJson(json, m.OverCanvas());
  json.Key("exact_version").Number(exact_version).Key("trace_ms").Number(page.LastTraceMs());
  return json.Close('}').Text();
}

std::string ExactJson(const ExactLayer* layer) {
  JsonText json;
  json.Open('[');
  if (layer != nullptr) {
    for (const QuadCurve& c : layer->curves) {
      json.Open('[').Number(c.from.x).Number(c.from.y).Number(c.control.x).Number(c.control.y);
      json.Number(c.to.x).Number(c.to.y).Close(']');
    }
  }
  return json.Close(']').Text();
}

std::string RunsJson(const WebPage& page) {
  JsonText json;
  json.Open('[');
  const PictureRun* runs[] = {page.Drawing(), page.Trace()};
  if (runs[0] != nullptr && runs[1] != nullptr && runs[1]->Id() < runs[0]->Id()) {
    std::swap(runs[0], runs[1]);
  }
  for (const PictureRun* run : runs) {
    if (run == nullptr) continue;
    json.Open('{').Key("id").Number(run->Id()).Key("indices").Number(run->Indices());
    json.Key("width").Number(run->Canvas()->Width()).Key("height").Number(run->Canvas()->Height());
    json.Close('}');
  }
  return json.Close(']').Text();
}

}  // namespace kaldra
