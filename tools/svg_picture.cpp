#include "tools/svg_picture.h"

#include <array>
#include <charconv>
#include <cmath>

#include "exact/parabola_frame.h"
#include "scene/color.h"
#include "scene/draw_scene.h"
#include "scene/label_glyphs.h"

namespace kaldra {

namespace {

// A number with at most six decimals and no trailing zeros, in the C
// locale's form whatever the process's locale.
std::string Number(double value) {
  std::array<char, 48> buffer{};
  char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                            std::chars_format::fixed, 6)
                  .ptr;
  while (end[-1] == '0') --end;
  if (end[-1] == '.') --end;
  std::string text(buffer.data(), end);
  return text == "-0" ? "0" : text;
}

std::string Point(CanvasPoint p) { return Number(p.x) + " " + Number(p.y); }

// A canvas that writes what DrawScene draws as SVG elements.
class SvgCanvas : public Canvas {
 public:
  explicit SvgCanvas(std::string& out) : out_(out) {}

  void BackColor(Color /*color*/) override {}
  void Line(float x1, float y1, float x2, float y2) override {
    out_ += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) +
            "\" y2=\"" + Number(y2) + "\" stroke=\"" + HexText(ForeColor()) + "\"/>\n";
    SetCurrentPosition(x2, y2);
  }
  // The text's top-left corner at the current position, as on the canvas;
  // SVG places the baseline, one ascent lower.
  void Print(std::string_view text) override {
    out_ += "<text x=\"" + Number(CurrentX()) + "\" y=\"" + Number(CurrentY() + kLabelAscent) +
            "\" fill=\"" + HexText(ForeColor()) + "\">" + std::string(text) + "</text>\n";
  }

 private:
  std::string& out_;
};

void AppendPlotted(std::string& svg, const std::vector<PlotPoint>& plots) {
  svg += "<g id=\"plotted\" shape-rendering=\"crispEdges\">\n";
  // Runs of one colour share a group.
  for (std::size_t k = 0; k < plots.size(); ++k) {
    if (k == 0 || plots[k].color != plots[k - 1].color) {
      if (k > 0) svg += "</g>\n";
      svg += "<g fill=\"" + HexText(plots[k].color) + "\">\n";
    }
    const long column = std::lround(plots[k].x);
    const long row = std::lround(plots[k].y);
    svg += "<rect x=\"" + Number(static_cast<double>(column) - 0.5) + "\" y=\"" +
           Number(static_cast<double>(row) - 0.5) + "\" width=\"1\" height=\"1\"/>\n";
  }
  if (!plots.empty()) svg += "</g>\n";
  svg += "</g>\n";
}

void AppendExact(std::string& svg, const ExactDiagram& exact) {
  svg += "<g id=\"exact\" fill=\"none\" stroke=\"" + HexText(kExactDiagramColor) +
         "\" stroke-width=\"0.5\" stroke-linecap=\"round\">\n";
  for (const ExactEdge& edge : exact.edges) {
    svg += "<path d=\"M " + Point(edge.from);
    if (edge.shape == EdgeShape::kLine) {
      svg += " L ";
    } else {
      svg += " Q " + Point(ControlPoint(edge)) + " ";
    }
    svg += Point(edge.to) + "\"/>\n";
  }
  svg += "</g>\n";
}

}  // namespace

std::string SvgPicture(const Scene& scene, const ExactDiagram& exact,
                       const std::vector<PlotPoint>& plots, int width, int height) {
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"-0.5 -0.5 " + w + " " + h + "\">\n";
  svg += "<title>Kaldra: the Voronoi diagram of " + std::to_string(scene.Count()) +
         " segments, exact and approximated</title>\n";
  svg += "<rect x=\"-0.5\" y=\"-0.5\" width=\"" + w + "\" height=\"" + h + "\" fill=\"" +
         HexText(kBlack) + "\"/>\n";
  AppendPlotted(svg, plots);
  AppendExact(svg, exact);
  svg +=
      "<g id=\"scene\" font-family=\"DejaVu Sans\" font-size=\"12px\" xml:space=\"preserve\" "
      "shape-rendering=\"crispEdges\">\n";
  SvgCanvas canvas(svg);
  DrawScene(scene, canvas);
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace kaldra
