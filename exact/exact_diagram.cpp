#include "exact/exact_diagram.h"

#include <cassert>
#include <cmath>
#include <limits>

#include <boost/polygon/voronoi_builder.hpp>
#include <boost/polygon/voronoi_diagram.hpp>

#include "exact/clip_to_canvas.h"
#include "exact/integer_sites.h"
#include "exact/parabola_frame.h"
#include "exact/wide_coordinates.h"

namespace kaldra {

namespace {

namespace bp = boost::polygon;
using Diagram = bp::voronoi_diagram<double>;
using Cell = Diagram::cell_type;
using Edge = Diagram::edge_type;
using Vertex = Diagram::vertex_type;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Turns the builder's diagram, in its integer coordinates, into the scene's
// edges and vertices in canvas coordinates.
class Conversion {
 public:
  Conversion(const IntegerSites& sites, ExactDiagram& out) : sites_(sites), out_(out) {}

  // The vertices where two or more of the diagram's edges meet. The builder's
  // other vertices are the segments' ends, and the points where the edges
  // between a segment and its own ends (the builder's "secondary" edges,
  // which are not part of the diagram of whole segments) leave the diagram.
  void AddVertices(const Diagram& vd) {
    for (const Vertex& v : vd.vertices()) {
      int edges = 0;
      const Edge* e = v.incident_edge();
      do {
        edges += e->is_primary() ? 1 : 0;
        e = e->rot_next();
      } while (e != v.incident_edge());
      const CanvasPoint at = ToCanvas(v);
      if (edges < 2 || !out_.Area().Contains(at)) continue;
      v.color(out_.vertices.size() + 1);  // the builder keeps a number per vertex for us
      out_.vertices.push_back({at, edges});
    }
  }

  void AddEdge(const Edge& e) {
    const Site a = SiteOf(*e.cell());
    const Site b = SiteOf(*e.twin()->cell());
    if (e.is_curved()) {
      AddArc(e, a, b);
    } else {
      AddLine(e, a, b);
    }
  }

 private:
  CanvasPoint ToCanvas(const Vertex& v) const {
    return {v.x() / sites_.scale, v.y() / sites_.scale};
  }

  CanvasPoint End(int segment, bool left) const {
    const auto& s = sites_.segments[static_cast<std::size_t>(segment)];
    return left ? CanvasPoint{static_cast<double>(s[0]) / sites_.scale,
                              static_cast<double>(s[1]) / sites_.scale}
                : CanvasPoint{static_cast<double>(s[2]) / sites_.scale,
                              static_cast<double>(s[3]) / sites_.scale};
  }

  CanvasPoint PointOf(Site site) const {
    return End(site.segment, site.part == SitePart::kLeftEnd);
  }

  static Site SiteOf(const Cell& cell) {
    const int segment = static_cast<int>(cell.source_index());
    switch (cell.source_category()) {
      case bp::SOURCE_CATEGORY_SEGMENT_START_POINT:  // the end inserted first, the left one
        return {segment, SitePart::kLeftEnd};
      case bp::SOURCE_CATEGORY_SEGMENT_END_POINT:
        return {segment, SitePart::kRightEnd};
      default:
        return {segment, SitePart::kInterior};
    }
  }

  static int VertexIndex(const Vertex* v) { return static_cast<int>(v->color()) - 1; }

  // An end kept where the canvas does not cut the edge: the builder's vertex
  // itself, so that the edges meeting there share the point exactly.
  void SetEnds(ExactEdge& edge, const Edge& e, bool from_kept, bool to_kept) const {
    if (from_kept && e.vertex0() != nullptr) {
      edge.from = ToCanvas(*e.vertex0());
      edge.from_vertex = VertexIndex(e.vertex0());
    }
    if (to_kept && e.vertex1() != nullptr) {
      edge.to = ToCanvas(*e.vertex1());
      edge.to_vertex = VertexIndex(e.vertex1());
    }
  }

  void AddLine(const Edge& e, Site a, Site b) {
    // The edge is origin + t d over the range: from vertex0 (t = 0) to
    // vertex1 (t = 1), or infinite at a missing vertex. Only the bisector of
    // two ends runs to infinity; its direction turns the line from the
    // edge's own cell's point to the twin's by a quarter, which keeps the
    // edge's cell on its left as the builder orders it.
    CanvasPoint origin{};
    CanvasPoint d{};
    ParameterRange range{0, 1};
    if (e.is_finite()) {
      origin = ToCanvas(*e.vertex0());
      const CanvasPoint end = ToCanvas(*e.vertex1());
      d = {end.x - origin.x, end.y - origin.y};
    } else {
      assert(a.part != SitePart::kInterior && b.part != SitePart::kInterior);
      const CanvasPoint p = PointOf(a);
      const CanvasPoint q = PointOf(b);
      d = {p.y - q.y, q.x - p.x};
      origin = {(p.x + q.x) / 2, (p.y + q.y) / 2};
      range = {-kInfinity, kInfinity};
      auto parameter = [&](const Vertex& v) {
        const CanvasPoint at = ToCanvas(v);
        return ((at.x - origin.x) * d.x + (at.y - origin.y) * d.y) / (d.x * d.x + d.y * d.y);
      };
      if (e.vertex0() != nullptr) range.from = parameter(*e.vertex0());
      if (e.vertex1() != nullptr) range.to = parameter(*e.vertex1());
    }
    const std::optional<ParameterRange> inside = ClipLine(origin, d, range, out_.Area());
    if (!inside) return;
    ExactEdge edge;
    edge.sites = {a, b};
    edge.from = {origin.x + inside->from * d.x, origin.y + inside->from * d.y};
    edge.to = {origin.x + inside->to * d.x, origin.y + inside->to * d.y};
    SetEnds(edge, e, inside->from == range.from, inside->to == range.to);
    out_.edges.push_back(edge);
  }

  void AddArc(const Edge& e, Site a, Site b) {
    // Arcs are always finite: a segment's interior is nearest only within
    // the strip between the perpendiculars at its ends.
    if (a.part == SitePart::kInterior) std::swap(a, b);
    ExactEdge edge;
    edge.shape = EdgeShape::kParabola;
    edge.sites = {a, b};
    edge.focus = PointOf(a);
    edge.directrix_from = End(b.segment, true);
    edge.directrix_to = End(b.segment, false);
    const ParabolaFrame frame = FrameOf(edge);
    const ParameterRange range{ParameterOf(frame, ToCanvas(*e.vertex0())),
                               ParameterOf(frame, ToCanvas(*e.vertex1()))};
    for (const ParameterRange& part : ClipArc(frame, range, out_.Area())) {
      edge.from = PointAt(frame, part.from);
      edge.to = PointAt(frame, part.to);
      edge.from_vertex = edge.to_vertex = -1;
      SetEnds(edge, e, part.from == range.from, part.to == range.to);
      out_.edges.push_back(edge);
    }
  }

  const IntegerSites& sites_;
  ExactDiagram& out_;
};

}  // namespace

std::optional<ExactDiagram> BuildExactDiagram(const Scene& scene, std::string& problem) {
  const std::optional<IntegerSites> sites = RoundSites(scene, problem);
  if (!sites) return std::nullopt;
  bp::voronoi_builder<std::int64_t, WideCoordinateTraits> builder;
  for (const auto& [x1, y1, x2, y2] : sites->segments) builder.insert_segment(x1, y1, x2, y2);
  Diagram vd;
  builder.construct(&vd);

  ExactDiagram diagram;
  diagram.width = static_cast<int>(std::lround(scene.Width()));
  diagram.height = static_cast<int>(std::lround(scene.Height()));
  Conversion conversion(*sites, diagram);
  conversion.AddVertices(vd);
  for (const Edge& e : vd.edges()) {
    // Each edge once, of the two halves the builder keeps for it.
    if (e.is_primary() && &e < e.twin()) conversion.AddEdge(e);
  }
  return diagram;
}

}  // namespace kaldra
