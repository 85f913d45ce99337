#pragma once

// The scene's segments as the Voronoi builder takes them: integer coordinates.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace kaldra {

// The builder's coordinates are the canvas's times 2^exponent, rounded to the
// nearest integer. The exponent is the largest that keeps every coordinate of
// the canvas at most 2^40 (see wide_coordinates.h): 30 on the window's canvas,
// 27 on the largest.
//
// How far the rounding moves the diagram: each end of a segment moves by at
// most 2^-(exponent + 1) * sqrt(2) px (6.6e-10 px on the window's canvas), so
// every distance to a segment changes by at most that much, and the difference
// of the distances to an edge's two sites by twice that. Where the edge's
// point sees its sites at distance r, at points a and b, that difference
// grows by |a - b| / r per pixel across the edge, so the edge moves by at most
// 2^-exponent * sqrt(2) * r / |a - b|. On the window's canvas (r below 970 px)
// and for segments at least 0.1 px apart that is below 2e-5 px; only segments
// closer than 1.3e-4 px could see an edge move by 0.01 px.
struct IntegerSites {
  int exponent = 0;
  double scale = 1;  // 2^exponent
  // Each segment's ends, left end first, in the scene's order.
  std::vector<std::array<std::int64_t, 4>> segments;
};

// The scene's sites in integer coordinates. None, with the reason in
// `problem`, when two segments touch or cross once rounded (the builder
// takes no such input) or a segment shrinks to a point; the scene's rules
// keep segments apart, but not necessarily 2^-exponent px apart.
std::optional<IntegerSites> RoundSites(const Scene& scene, std::string& problem);

}  // namespace kaldra
