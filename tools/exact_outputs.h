#pragma once

#include <optional>
#include <string>
#include <vector>

#include "output_files/output_files.h"
#include "tools/render_options.h"
#include "tools/renderer.h"

namespace kaldra {

// Whether the options ask for an output of the exact diagram (--svg, --score);
// the rendering must then keep its plotted points.
bool WantsExactDiagram(const RenderOptions& options);

// Builds the exact diagram of the rendering's scene, once, when the options
// ask for it: adds the SVG picture to `outputs` and the score to the
// rendering's figures. Returns the reason when the diagram cannot be built.
std::optional<std::string> AddExactOutputs(const RenderOptions& options, Rendering& rendering,
                                           std::vector<OutputFile>& outputs);

}  // namespace kaldra
