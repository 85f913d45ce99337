#pragma once

#include <cstdint>
#include <random>

namespace kaldra {

// Where the scene's random numbers come from. Generation is not a hot path, so
// a virtual call per number costs nothing, and tests can script the sequence.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // The next number, a float in [0, 1).
  virtual float Rnd() = 0;
};

// A Mersenne Twister seeded with a 32-bit value; each number is the top 24
// bits of one draw divided by 2^24, so a seed reproduces a scene exactly on
// every platform.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
  float Rnd() override;

 private:
  std::mt19937 engine_;
};

// A seed from the clock, different for every run.
std::uint32_t ClockSeed();

}  // namespace kaldra
