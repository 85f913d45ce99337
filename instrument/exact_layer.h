#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exact/exact_diagram.h"
#include "instrument/scene_origin.h"
#include "tracing/curve_families.h"

namespace kaldra {

// A quadratic Bezier curve in canvas coordinates, which both front ends'
// painters draw as it is (QPainterPath::quadTo, the HTML canvas's
// quadraticCurveTo).
struct QuadCurve {
  CanvasPoint from, control, to;
};

// The exact diagram of one scene as the front ends draw it over the canvas.
// Its edges are ready to paint: a parabolic arc is a quadratic Bezier curve
// exactly, and so is a line, with its control point at its midpoint, so one
// kind of curve draws them all.
struct ExactLayer {
  SceneRef scene;                       // the scene whose diagram it is
  std::optional<ExactDiagram> diagram;  // none when it cannot be built
  std::string problem;                  // why not
  std::vector<QuadCurve> curves;        // the diagram's edges, in its order
};

// The exact diagram of the scene, cut to the scene's canvas. Precondition:
// scene is not null.
std::shared_ptr<const ExactLayer> MakeExactLayer(SceneRef scene);

// The legend's row for the exact diagram, below the families of curves.
inline constexpr std::array<Color, 1> kExactDiagramColors = {kExactDiagramColor};
inline constexpr CurveFamily kExactDiagramRow = {"Exact diagram", kExactDiagramColors};

}  // namespace kaldra
