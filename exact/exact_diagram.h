#pragma once

// The Voronoi diagram of a scene's segments, exactly: every curve on which two
// segments are equally far and no third is nearer, as straight lines and
// parabolic arcs in canvas coordinates, cut to the area the canvas shows. The sampler of the
// sweeps approximates this diagram; the exact one shows what it gets right.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "scene/color.h"
#include "scene/scene.h"

namespace kaldra {

// The colour of the exact diagram wherever it is drawn beside the
// approximation, in the SVG picture and over the window's canvas: one that no
// family of curves has.
inline constexpr Color kExactDiagramColor = kOrange;

// A point in canvas coordinates: pixels, origin at the top left, y downwards.
struct CanvasPoint {
  double x, y;
};

// The part of the plane the canvas shows: its pixels, whose centres lie at
// whole numbers, cover [-0.5, width - 0.5] x [-0.5, height - 0.5], and a
// point plotted anywhere in there lands on one of them.
struct CanvasArea {
  double left, top, right, bottom;

  static CanvasArea Of(double width, double height) {
    return {-0.5, -0.5, width - 0.5, height - 0.5};
  }
  bool Contains(CanvasPoint p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
};

// The part of a segment that is nearest to the points of an edge: one of its
// ends, or its interior, where the nearest point is the foot of the
// perpendicular. Ends and interior together make one site, the segment.
enum class SitePart { kLeftEnd, kRightEnd, kInterior };

struct Site {
  int segment;  // the index in the scene
  SitePart part;
};

enum class EdgeShape {
  kLine,      // between two ends, or two interiors
  kParabola,  // between an end (the focus) and an interior (the directrix)
};

// One edge of the diagram, or a part of one inside the canvas's area. Every point
// of it is equally far from the two sites and no other segment is nearer.
struct ExactEdge {
  EdgeShape shape = EdgeShape::kLine;
  CanvasPoint from{}, to{};
  // A parabola's focus's end first, then the segment of its directrix.
  std::array<Site, 2> sites{};
  // A parabola only: the focus, and the segment whose line is the directrix.
  CanvasPoint focus{}, directrix_from{}, directrix_to{};
  // The diagram's vertex at each end, -1 where the canvas's edge cuts the
  // edge off.
  int from_vertex = -1;
  int to_vertex = -1;
};

// A point where edges meet, inside the canvas's area. With three or more edges it is
// equally far from three or more segments; with two, one edge turns into the
// next (a line into a parabola) where the nearest point of a segment moves
// from its interior to an end.
struct ExactVertex {
  CanvasPoint at;
  int edges;
};

struct ExactDiagram {
  int width = 0;  // the canvas's size in pixels; the edges are cut to its area
  int height = 0;
  CanvasArea Area() const { return CanvasArea::Of(width, height); }
  std::vector<ExactEdge> edges;
  std::vector<ExactVertex> vertices;
};

// The exact diagram of the scene, cut to the area of a canvas of the scene's
// size. None, with
// the reason in `problem`, when two segments come so close that they would
// touch in the builder's integer coordinates (see integer_sites.h).
std::optional<ExactDiagram> BuildExactDiagram(const Scene& scene, std::string& problem);

}  // namespace kaldra
