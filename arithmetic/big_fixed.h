#pragma once

#include <array>
#include <cstdint>
#include <optional>

// Multi-precision fixed-point numbers for the slow path of the correctly
// rounded functions, where a rounding decision needs more than the 106 bits of
// a double-double. Plain integer limbs: the same answer on every machine.

namespace kaldra::arithmetic {

// The most fraction limbs a number may have: 2048 bits after the point.
inline constexpr int kMaxFractionLimbs = 32;

// A fixed-point number with n fraction limbs of 64 bits: a sign and the
// magnitude limb[n] + limb[n-1] 2^-64 + ... + limb[0] 2^-64n (little-endian,
// limb[n] is the integer part). One unit is 2^-64n, the weight of limb[0].
// Every operation below is exact or truncates toward zero, erring by less than
// one unit; the callers count the units.
struct BigFixed {
  int n = 1;
  bool negative = false;
  std::array<std::uint64_t, kMaxFractionLimbs + 1> limb{};
};

// Zero with n fraction limbs. 1 <= n <= kMaxFractionLimbs.
BigFixed BigZero(int n);

// x, truncated to n fraction limbs (exact when x is a multiple of 2^-64n).
// x finite, |x| < 2^64.
BigFixed BigFromDouble(double x, int n);

// ceil(units) units: an error bound counted in units. 0 <= units < 2^100.
BigFixed BigFromUnits(double units, int n);

// integer + the fraction whose 64-bit words, most significant first, are
// words[0], words[1], ..., truncated to n limbs (so within one unit).
// words holds at least n words.
BigFixed BigFromWords(std::uint64_t integer, const std::uint64_t* words, int n);

// -a.
BigFixed Negated(BigFixed a);

// a + b and a - b, exact. Same n; the result's magnitude below 2^64.
BigFixed Add(const BigFixed& a, const BigFixed& b);
BigFixed Sub(const BigFixed& a, const BigFixed& b);

// a * b, truncated: within one unit. Same n; |a * b| < 2^64.
BigFixed Mul(const BigFixed& a, const BigFixed& b);

// a * k, exact. |a * k| < 2^64.
BigFixed MulSmall(const BigFixed& a, std::uint64_t k);

// a / d, truncated: within one unit. d > 0.
BigFixed DivSmall(const BigFixed& a, std::uint64_t d);

// a * 2^bits, exact. 0 <= bits, |a| 2^bits < 2^64.
BigFixed ShiftLeft(const BigFixed& a, int bits);

bool IsZero(const BigFixed& a);

// e with 2^e <= |a| < 2^(e+1). a != 0.
int TopBitExponent(const BigFixed& a);

// a rounded to the nearest double, ties to even; +-0 for zero and for
// magnitudes below 2^-1000, which no result of the slow path comes near.
double ToNearestDouble(const BigFixed& a);

// The slow path's rounding test: the double nearest every number within
// error_units of v, if there is one. Rounding to nearest is monotonic, so the
// nearest doubles to v - error and v + error bound that of every number
// between them; when they agree (and are not the zero that stands for tiny
// magnitudes), that is the answer.
std::optional<double> RoundedWithin(const BigFixed& v, double error_units);

}  // namespace kaldra::arithmetic
