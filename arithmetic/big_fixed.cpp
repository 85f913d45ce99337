#include "arithmetic/big_fixed.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "arithmetic/double_bits.h"

namespace kaldra::arithmetic {
namespace {

// 64 x 64 -> 128-bit products and 128 / 64-bit divisions; both gcc on x86-64
// and clang on wasm32 provide the type.
__extension__ typedef unsigned __int128 Wide;

int CompareMagnitudes(const BigFixed& a, const BigFixed& b) {
  for (int i = a.n; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  }
  return 0;
}

// |out| = |a| + |b|.
void AddMagnitudes(const BigFixed& a, const BigFixed& b, BigFixed& out) {
  std::uint64_t carry = 0;
  for (int i = 0; i <= a.n; ++i) {
    const Wide sum = Wide{a.limb[i]} + b.limb[i] + carry;
    out.limb[i] = static_cast<std::uint64_t>(sum);
    carry = static_cast<std::uint64_t>(sum >> 64);
  }
  assert(carry == 0);
}

// |out| = |a| - |b|, with |a| >= |b|.
void SubtractMagnitudes(const BigFixed& a, const BigFixed& b, BigFixed& out) {
  std::uint64_t borrow = 0;
  for (int i = 0; i <= a.n; ++i) {
    const std::uint64_t ai = a.limb[i];
    const std::uint64_t bi = b.limb[i];
    out.limb[i] = ai - bi - borrow;
    borrow = (ai < bi || (ai == bi && borrow != 0)) ? 1 : 0;
  }
  assert(borrow == 0);
}

// Ors m * 2^position into the magnitude; bits below limb[0] are dropped.
void PlaceBits(BigFixed& out, std::uint64_t m, int position) {
  if (position < 0) {
    m = position <= -64 ? 0 : m >> -position;
    position = 0;
  }
  const int index = position / 64;
  const int shift = position % 64;
  assert(index <= out.n);
  out.limb[index] |= m << shift;
  if (shift != 0 && index < out.n) out.limb[index + 1] |= m >> (64 - shift);
  assert(shift == 0 || index < out.n || (m >> (64 - shift)) == 0);
}

// Zero is never negative.
void SetSign(BigFixed& a, bool negative) { a.negative = negative && !IsZero(a); }

// a + b when b_negative is b's sign, a - b when it is the opposite.
BigFixed AddWithSign(const BigFixed& a, const BigFixed& b, bool b_negative) {
  assert(a.n == b.n);
  BigFixed out = BigZero(a.n);
  if (a.negative == b_negative) {
    AddMagnitudes(a, b, out);
    SetSign(out, a.negative);
  } else if (CompareMagnitudes(a, b) >= 0) {
    SubtractMagnitudes(a, b, out);
    SetSign(out, a.negative);
  } else {
    SubtractMagnitudes(b, a, out);
    SetSign(out, b_negative);
  }
  return out;
}

}  // namespace

BigFixed BigZero(int n) {
  assert(1 <= n && n <= kMaxFractionLimbs);
  BigFixed out;
  out.n = n;
  return out;
}

BigFixed BigFromDouble(double x, int n) {
  BigFixed out = BigZero(n);
  if (x == 0) return out;
  const IntegerTimesPowerOfTwo d = Decompose(x);
  PlaceBits(out, d.m, d.e + 64 * n);
  SetSign(out, x < 0);
  return out;
}

BigFixed BigFromUnits(double units, int n) {
  assert(units >= 0 && units < 0x1p100);
  BigFixed out = BigZero(n);
  if (units == 0) return out;
  const IntegerTimesPowerOfTwo d = Decompose(units);
  if (d.e >= 0) {
    PlaceBits(out, d.m, d.e);
  } else {
    const std::uint64_t whole = -d.e >= 64 ? 0 : d.m >> -d.e;
    const bool exact = -d.e < 64 && (whole << -d.e) == d.m;
    PlaceBits(out, exact ? whole : whole + 1, 0);
  }
  return out;
}

BigFixed BigFromWords(std::uint64_t integer, const std::uint64_t* words, int n) {
  BigFixed out = BigZero(n);
  out.limb[n] = integer;
  for (int i = 0; i < n; ++i) out.limb[n - 1 - i] = words[i];
  return out;
}

BigFixed Negated(BigFixed a) {
  SetSign(a, !a.negative);
  return a;
}

BigFixed Add(const BigFixed& a, const BigFixed& b) { return AddWithSign(a, b, b.negative); }

BigFixed Sub(const BigFixed& a, const BigFixed& b) { return AddWithSign(a, b, !b.negative); }

BigFixed Mul(const BigFixed& a, const BigFixed& b) {
  assert(a.n == b.n);
  const int n = a.n;
  // The whole product has 2n fraction limbs; the upper n + 1 of them and the
  // integer limb are kept.
  // Only the 2n + 2 limbs in use are cleared: at the slow path's first
  // precision that is 6 of 66.
  std::array<std::uint64_t, 2 * std::size_t{kMaxFractionLimbs + 1}> product;
  std::fill_n(product.begin(), 2 * n + 2, 0);
  for (int i = 0; i <= n; ++i) {
    if (a.limb[i] == 0) continue;
    std::uint64_t carry = 0;
    for (int j = 0; j <= n; ++j) {
      const Wide t = Wide{a.limb[i]} * b.limb[j] + product[i + j] + carry;
      product[i + j] = static_cast<std::uint64_t>(t);
      carry = static_cast<std::uint64_t>(t >> 64);
    }
    product[i + n + 1] = carry;
  }
  assert(product[2 * n + 1] == 0);
  BigFixed out = BigZero(n);
  for (int k = 0; k <= n; ++k) out.limb[k] = product[k + n];
  SetSign(out, a.negative != b.negative);
  return out;
}

BigFixed MulSmall(const BigFixed& a, std::uint64_t k) {
  BigFixed out = BigZero(a.n);
  std::uint64_t carry = 0;
  for (int i = 0; i <= a.n; ++i) {
    const Wide t = Wide{a.limb[i]} * k + carry;
    out.limb[i] = static_cast<std::uint64_t>(t);
    carry = static_cast<std::uint64_t>(t >> 64);
  }
  assert(carry == 0);
  SetSign(out, a.negative);
  return out;
}

BigFixed DivSmall(const BigFixed& a, std::uint64_t d) {
  assert(d > 0);
  BigFixed out = BigZero(a.n);
  std::uint64_t remainder = 0;
  for (int i = a.n; i >= 0; --i) {
    const Wide current = (Wide{remainder} << 64) | a.limb[i];
    out.limb[i] = static_cast<std::uint64_t>(current / d);
    remainder = static_cast<std::uint64_t>(current % d);
  }
  SetSign(out, a.negative);
  return out;
}

BigFixed ShiftLeft(const BigFixed& a, int bits) {
  assert(bits >= 0);
  BigFixed out = BigZero(a.n);
  const int words = bits / 64;
  const int shift = bits % 64;
  for (int i = a.n; i >= words; --i) {
    std::uint64_t v = a.limb[i - words] << shift;
    if (shift != 0 && i - words > 0) v |= a.limb[i - words - 1] >> (64 - shift);
    out.limb[i] = v;
  }
  assert(IsZero(a) || TopBitExponent(a) + bits < 64);
  SetSign(out, a.negative);
  return out;
}

bool IsZero(const BigFixed& a) {
  for (int i = 0; i <= a.n; ++i) {
    if (a.limb[i] != 0) return false;
  }
  return true;
}

int TopBitExponent(const BigFixed& a) {
  for (int i = a.n; i >= 0; --i) {
    if (a.limb[i] != 0) return 64 * (i - a.n) + 63 - std::countl_zero(a.limb[i]);
  }
  assert(false && "TopBitExponent of zero");
  return 0;
}

double ToNearestDouble(const BigFixed& a) {
  int top = a.n;
  while (top >= 0 && a.limb[top] == 0) --top;
  const double zero = a.negative ? -0.0 : 0.0;
  if (top < 0) return zero;
  const int bit = 63 - std::countl_zero(a.limb[top]);
  const int exponent = 64 * (top - a.n) + bit;
  if (exponent < -1000) return zero;
  // The 64 bits from the leading one down, and whether any bit below them is
  // set: enough to round to 53 bits, to nearest with ties to even.
  std::uint64_t window = a.limb[top] << (63 - bit);
  bool sticky = false;
  if (top > 0) {
    if (bit < 63) window |= a.limb[top - 1] >> (bit + 1);
    sticky = (a.limb[top - 1] << (63 - bit)) != 0;
    for (int i = top - 2; i >= 0 && !sticky; --i) sticky = a.limb[i] != 0;
  }
  std::uint64_t mantissa = window >> 11;
  const bool round_bit = ((window >> 10) & 1) != 0;
  sticky = sticky || (window & 0x3ff) != 0;
  if (round_bit && (sticky || (mantissa & 1) != 0)) ++mantissa;  // 2^53 at most: still exact
  const double magnitude = ScaleByPowerOfTwo(static_cast<double>(mantissa), exponent - 52);
  return a.negative ? -magnitude : magnitude;
}

std::optional<double> RoundedWithin(const BigFixed& v, double error_units) {
  if (!(error_units < 0x1p100)) return std::nullopt;
  const BigFixed e = BigFromUnits(error_units, v.n);
  const double below = ToNearestDouble(Sub(v, e));
  const double above = ToNearestDouble(Add(v, e));
  if (below == above && below != 0) return below;
  return std::nullopt;
}

}  // namespace kaldra::arithmetic
