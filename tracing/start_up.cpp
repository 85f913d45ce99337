#include "tracing/start_up.h"

#include "tracing/sweeps.h"

namespace kaldra {

void PrepareCanvas(mdlKaldra& mdl, Canvas& canvas, double view_w, double view_h) {
  mdl.Pi = kKaldraPi;
  mdl.ViewH = view_h;
  mdl.ViewW = view_w;
  canvas.ForeColor(kWhite);
  canvas.BackColor(kBlack);
  canvas.PSet(kCountLabelX, kCountLabelY);
  canvas.Print("N=" + FormatNumber(mdl.SegCount));
}

void SetUpRandomScene(mdlKaldra& mdl, Canvas& canvas, RandomSource& random, double view_w,
                      double view_h) {
  // The first number after seeding fixes the count; the segments take the
  // numbers after it.
  mdl.SegCount = SegCountFromRandom(random.Rnd());
  PrepareCanvas(mdl, canvas, view_w, view_h);
  GenerateSegments(mdl, canvas, random, view_w, view_h);
}

void SetUpGivenScene(mdlKaldra& mdl, Canvas& canvas, const std::vector<Candidate>& segments,
                     double view_w, double view_h) {
  mdl.SegCount = static_cast<std::int16_t>(segments.size());
  PrepareCanvas(mdl, canvas, view_w, view_h);
  mdl.SegPlaced = 0;
  for (const Candidate& c : segments) PlaceSegment(mdl, canvas, c);
}

void TraceDiagram(mdlKaldra& mdl, Canvas& canvas) {
  canvas.AutoRedraw(false);
  SweepOne(mdl, canvas);
  SweepTwo(mdl, canvas);
}

}  // namespace kaldra
