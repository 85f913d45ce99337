#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

// The bits of a double, read and written through std::memcpy (the WebAssembly
// build's standard library has no std::bit_cast), and exact scaling by powers
// of two without the C library.

namespace kaldra::arithmetic {

inline std::uint64_t BitsOf(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

inline double DoubleFromBits(std::uint64_t bits) {
  double x = 0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// 2^e. -1022 <= e <= 1023.
inline double PowerOfTwo(int e) {
  return DoubleFromBits(static_cast<std::uint64_t>(e + 1023) << 52);
}

// A finite nonzero x as m 2^e with m an integer below 2^53 (2^52 <= m for
// normal x).
struct IntegerTimesPowerOfTwo {
  std::uint64_t m = 0;
  int e = 0;
};

inline IntegerTimesPowerOfTwo Decompose(double x) {
  const std::uint64_t bits = BitsOf(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) return {fraction, -1074};
  return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

// v 2^e, exact while the result is a normal double. |e| may exceed the
// exponent range as long as the result does not.
inline double ScaleByPowerOfTwo(double v, int e) {
  while (e > 1000) {
    v *= 0x1p1000;
    e -= 1000;
  }
  while (e < -1000) {
    v *= 0x1p-1000;
    e += 1000;
  }
  return v * PowerOfTwo(e);
}

// The power of two at the bottom of |x|'s binade (0 for zero and subnormals,
// infinity for infinities).
inline double BinadeOf(double x) { return DoubleFromBits(BitsOf(x) & 0x7FF0000000000000ull); }

// The next double above a finite x, as nextafter(x, +infinity) gives it.
inline double NextUp(double x) {
  if (x == 0) return std::numeric_limits<double>::denorm_min();
  const std::uint64_t bits = BitsOf(x);
  return DoubleFromBits(x > 0 ? bits + 1 : bits - 1);
}

}  // namespace kaldra::arithmetic
