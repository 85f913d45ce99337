#include "scene/draw_scene.h"

namespace kaldra {

void DrawScene(const Scene& scene, Canvas& canvas) {
  canvas.ForeColor(kSceneColor);
  canvas.BackColor(kBlack);
  canvas.PSet(kCountLabelX, kCountLabelY);
  canvas.Print("N=" + FormatNumber(scene.SegCount()));
  for (int n = 0; n < scene.Count(); ++n) {
    const Segment& s = scene[n];
    canvas.Line(static_cast<float>(s.x1), static_cast<float>(s.y1), static_cast<float>(s.x2),
                static_cast<float>(s.y2));
    // The label's text starts at the midpoint; PSet puts the current position
    // there, and marks it.
    const double mid_x = (s.x2 + s.x1) / 2;
    const double mid_y = (s.y2 + s.y1) / 2;
    canvas.PSet(static_cast<float>(mid_x), static_cast<float>(mid_y));
    canvas.Print(FormatNumber(n));
  }
}

}  // namespace kaldra
