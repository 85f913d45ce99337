#pragma once

#include <string>
#include <vector>

#include "exact/exact_diagram.h"
#include "scene/canvas.h"
#include "scene/scene.h"

namespace kaldra {

// The picture as SVG, in canvas coordinates (a pixel's centre at whole
// numbers), in three layers from the bottom: "plotted", every point in
// `plots` as the pixel square it lands on, in its colour and in the order
// plotted; "exact", the exact diagram, each edge one path, a line or a
// parabolic arc as one quadratic Bezier curve, in the diagram's order; and
// "scene", the count label, the segments and their labels, as the canvas
// draws them, the labels as text. Needs a QGuiApplication for the label
// font's ascent.
std::string SvgPicture(const Scene& scene, const ExactDiagram& exact,
                       const std::vector<PlotPoint>& plots, int width, int height);

}  // namespace kaldra
