#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

namespace kaldra {

// A double's bits and back, through memcpy: some standard libraries we build
// with have no std::bit_cast.
inline std::uint64_t BitsOf(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

inline double DoubleOf(std::uint64_t bits) {
  double x = 0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// The power of two at the bottom of |x|'s binade (0 for zero and subnormals,
// infinity for infinities).
inline double BinadeOf(double x) { return DoubleOf(BitsOf(x) & 0x7FF0000000000000ull); }

// The next double above a finite x, as nextafter(x, +infinity) gives it.
inline double NextUp(double x) {
  if (x == 0) return std::numeric_limits<double>::denorm_min();
  const std::uint64_t bits = BitsOf(x);
  return DoubleOf(x > 0 ? bits + 1 : bits - 1);
}

}  // namespace kaldra
