#include "tools/exact_outputs.h"

#include "exact/approximation_score.h"
#include "exact/exact_diagram.h"
#ifndef KALDRA_WITHOUT_PICTURES
#include "tools/svg_picture.h"
#endif

namespace kaldra {

bool WantsExactDiagram(const RenderOptions& options) {
  return !options.svg_path.empty() || options.score;
}

std::optional<std::string> AddExactOutputs(const RenderOptions& options, Rendering& rendering,
                                           [[maybe_unused]] std::vector<OutputFile>& outputs) {
  if (!WantsExactDiagram(options)) return std::nullopt;
  std::string problem;
  const std::optional<ExactDiagram> exact = BuildExactDiagram(*rendering.scene, problem);
  if (!exact) return "cannot build the exact diagram: " + problem;
  if (options.score) rendering.stats.score = ScoreApproximation(*exact, rendering.plots);
#ifndef KALDRA_WITHOUT_PICTURES
  if (!options.svg_path.empty()) {
    outputs.push_back({options.svg_path, SvgPicture(*rendering.scene, *exact, rendering.plots,
                                                    rendering.width, rendering.height)});
  }
#endif
  return std::nullopt;
}

}  // namespace kaldra
