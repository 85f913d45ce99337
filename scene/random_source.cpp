#include "scene/random_source.h"

#include <chrono>

namespace kaldra {

float SeededRandom::Rnd() {
  // 24 bits fill a float's significand, so every value is exact and below 1.
  return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

std::uint32_t ClockSeed() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  const auto bits = static_cast<std::uint64_t>(ticks);
  return static_cast<std::uint32_t>(bits ^ (bits >> 32));
}

}  // namespace kaldra
