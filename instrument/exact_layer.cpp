#include "instrument/exact_layer.h"

#include <utility>

#include "exact/parabola_frame.h"

namespace kaldra {

std::shared_ptr<const ExactLayer> MakeExactLayer(SceneRef scene) {
  auto layer = std::make_shared<ExactLayer>();
  layer->diagram = BuildExactDiagram(*scene, layer->problem);
  layer->scene = std::move(scene);
  if (!layer->diagram) return layer;
  for (const ExactEdge& edge : layer->diagram->edges) {
    const CanvasPoint control = edge.shape == EdgeShape::kParabola
                                    ? ControlPoint(edge)
                                    : CanvasPoint{(edge.from.x + edge.to.x) / 2,
                                                  (edge.from.y + edge.to.y) / 2};
    layer->curves.push_back({edge.from, control, edge.to});
  }
  return layer;
}

}  // namespace kaldra
