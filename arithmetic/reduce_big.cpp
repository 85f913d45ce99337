#include "arithmetic/reduce_big.h"

#include <array>
#include <cassert>
#include <cstdint>

#include "arithmetic/double_bits.h"
#include "arithmetic/pi_constants.h"

namespace kaldra::arithmetic {
namespace {

__extension__ typedef unsigned __int128 Wide;

// The product m 2/pi-window: up to kMaxFractionLimbs + 2 words times m, plus
// the carry limb.
using WindowProduct = std::array<std::uint64_t, kMaxFractionLimbs + 3>;

// The 64 bits of p from bit `position` up (bits beyond the array are zero).
std::uint64_t BitsFrom(const WindowProduct& p, int position) {
  const int index = position / 64;
  const int shift = position % 64;
  const int size = static_cast<int>(p.size());
  std::uint64_t bits = index < size ? p[index] >> shift : 0;
  if (shift != 0 && index + 1 < size) bits |= p[index + 1] << (64 - shift);
  return bits;
}

}  // namespace

BigReduction ReduceBig(double x, int n) {
  assert(x >= 0 && n >= 1 && n <= kMaxFractionLimbs);
  BigReduction out;
  if (x < kQuarterPi) {
    out.r = BigFromDouble(x, n);
    out.error_units = 1;  // truncation, for x below 2^-64n's bits
    return out;
  }

  // x = m 2^e, and x 2/pi = sum over i of m w_i 2^(e - 64 (i + 1)). The words
  // with e - 64 (i + 1) >= 2 add multiples of 4, which do not change the
  // quadrant or the fraction: skip them. Of the rest, n + 2 words give the
  // integer P with x 2/pi = P 2^-s + (multiples of 4) + tail, where
  // s = 64 (skipped + n + 2) - e >= 64 n + 63 and the tail, from the words not
  // used, is below m 2^-s < 2^(53 - s) <= 2^-10 units.
  const IntegerTimesPowerOfTwo d = Decompose(x);
  const int skipped = d.e >= 2 ? (d.e - 2) / 64 : 0;
  const int used = n + 2;
  assert(skipped + used <= kTwoOverPiWordCount);
  WindowProduct product{};
  std::uint64_t carry = 0;
  for (int k = 0; k < used; ++k) {
    const Wide t = Wide{d.m} * kTwoOverPiWords[skipped + used - 1 - k] + carry;
    product[k] = static_cast<std::uint64_t>(t);
    carry = static_cast<std::uint64_t>(t >> 64);
  }
  product[used] = carry;
  const int s = 64 * (skipped + used) - d.e;

  // The quadrant is the integer part mod 4; the fraction, truncated to n
  // limbs, errs by less than 1 + 2^-10 units.
  out.quadrant = static_cast<int>(BitsFrom(product, s) & 3);
  BigFixed f = BigZero(n);
  for (int j = 0; j < n; ++j) f.limb[j] = BitsFrom(product, s - 64 * (n - j));

  // The nearest multiple: a fraction of 1/2 or more counts from the next
  // quadrant, as f - 1 (the two's complement of the fraction limbs).
  if ((f.limb[n - 1] >> 63) != 0) {
    std::uint64_t carry_in = 1;
    for (int j = 0; j < n; ++j) {
      f.limb[j] = ~f.limb[j] + carry_in;
      carry_in = (carry_in != 0 && f.limb[j] == 0) ? 1 : 0;
    }
    f.negative = true;
    out.quadrant = (out.quadrant + 1) & 3;
  }

  // r = f pi/2: f's error times pi/2 (1.58 units), pi/2's truncation times
  // |f| <= 1/2, and the product's truncation: within 3.1 units.
  out.r = Mul(f, BigFromWords(1, kHalfPiFractionWords, n));
  out.error_units = 4;
  return out;
}

}  // namespace kaldra::arithmetic
