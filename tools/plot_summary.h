#pragma once

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace kaldra {

// What the pinned table and the builds' comparison keep of a diagram: the
// segment count, the samples walked, the points that land on a pixel of the
// width x height canvas, and FNV-1a over those points' float coordinates, bit
// for bit, and colours, in plotting order.
template <typename Points>
std::string PlotSummary(int segments, std::uint64_t samples, const Points& points, int width,
                        int height) {
  std::uint64_t plotted = 0;
  std::uint64_t hash = 0xCBF29CE484222325ull;
  const auto mix = [&hash](std::uint32_t word) {
    for (int b = 0; b < 4; ++b) hash = (hash ^ ((word >> (8 * b)) & 0xFF)) * 0x100000001B3ull;
  };
  const float right = static_cast<float>(width) - 0.5f;
  const float bottom = static_cast<float>(height) - 0.5f;
  for (const auto& point : points) {
    if (!(point.x > -0.5f && right > point.x && point.y > -0.5f && bottom > point.y)) continue;
    ++plotted;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &point.x, sizeof bits);
    mix(bits);
    std::memcpy(&bits, &point.y, sizeof bits);
    mix(bits);
    mix(static_cast<std::uint32_t>(point.color));
  }
  std::ostringstream out;
  out << segments << " " << samples << " " << plotted << " " << std::hex << hash;
  return out.str();
}

}  // namespace kaldra
