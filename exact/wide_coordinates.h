#pragma once

// The Voronoi builder's arithmetic for 64-bit integer input. Out of the box
// the builder takes 32-bit coordinates; its coordinate traits let it take
// wider ones, given an integer type twice as wide for the products of two
// coordinates and a big integer for the exact fallback of its predicates.

#include <cstdint>

#include <boost/polygon/detail/voronoi_ctypes.hpp>

namespace kaldra {

__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

// The builder's big integer: Boost's fixed-size one, which takes 32- and
// 64-bit values but not 128-bit ones, wrapped so that the predicates can
// build it from the products they compute in Int128. The library sizes its
// own, 2048 bits, for coordinates of 32 bits, whose differences take 33; ours
// take up to 42 (coordinates of at most 2^40), so the same products need at
// most 42/33 of that, 2607 bits (20000 random scenes needed up to 2496).
// 128 chunks of 32 bits hold 4096.
class WideInt {
 public:
  using Chunks = boost::polygon::detail::extended_int<128>;

  WideInt() = default;
  WideInt(int value) : value_(value) {}
  WideInt(std::int64_t value) : value_(value) {}
  WideInt(Int128 value);
  WideInt(const Chunks& value) : value_(value) {}

  const Chunks& Value() const { return value_; }

  // Each result is made in place, without a copy of the fixed-size chunks.
  friend WideInt operator+(const WideInt& a, const WideInt& b) {
    WideInt sum;
    sum.value_.add(a.value_, b.value_);
    return sum;
  }
  friend WideInt operator-(const WideInt& a, const WideInt& b) {
    WideInt difference;
    difference.value_.dif(a.value_, b.value_);
    return difference;
  }
  friend WideInt operator*(const WideInt& a, const WideInt& b) {
    WideInt product;
    product.value_.mul(a.value_, b.value_);
    return product;
  }
  WideInt operator-() const {
    WideInt negated = *this;
    negated.value_.neg();
    return negated;
  }
  friend bool operator==(const WideInt& a, const WideInt& b) { return a.value_ == b.value_; }
  friend bool operator<(const WideInt& a, const WideInt& b) { return a.value_ < b.value_; }
  friend bool operator>(const WideInt& a, const WideInt& b) { return a.value_ > b.value_; }

 private:
  Chunks value_;
};

inline WideInt::WideInt(Int128 value) {
  // Mostly a difference or a sum of two coordinates, which 64 bits hold.
  const auto low = static_cast<std::int64_t>(value);
  if (low == value) {
    value_ = Chunks(low);
    return;
  }
  // Otherwise two pieces of 32 bits and what lies above them, each taken by
  // the 64-bit constructor: the predicates' products stay far below 2^95.
  const UInt128 magnitude = value < 0 ? -static_cast<UInt128>(value) : static_cast<UInt128>(value);
  const Chunks shift(std::int64_t{1} << 32);
  value_ = Chunks(static_cast<std::int64_t>(magnitude >> 64));
  value_ = value_ * shift + Chunks(static_cast<std::int64_t>((magnitude >> 32) & 0xFFFFFFFFu));
  value_ = value_ * shift + Chunks(static_cast<std::int64_t>(magnitude & 0xFFFFFFFFu));
  if (value < 0) value_ = -value_;
}

inline bool is_pos(const WideInt& v) { return v.Value().is_pos(); }
inline bool is_neg(const WideInt& v) { return v.Value().is_neg(); }
inline bool is_zero(const WideInt& v) { return v.Value().is_zero(); }

using ExtendedDouble = boost::polygon::detail::extended_exponent_fpt<double>;

// Every value the predicates compute with, to a double: the integers and the
// extended-exponent values they round, the doubles they pass through.
struct ToDouble {
  template <typename T>
  double operator()(const T& value) const {
    return static_cast<double>(value);
  }
  double operator()(const WideInt& value) const { return value.Value().d(); }
  double operator()(const ExtendedDouble& value) const { return value.d(); }
};

// A big integer to a double with an exponent of its own, which its square
// roots and products cannot overflow.
struct ToExtendedDouble {
  ExtendedDouble operator()(const WideInt& value) const {
    const auto [mantissa, exponent] = value.Value().p();
    return {mantissa, exponent};
  }
};

// The builder's coordinate traits for 64-bit input. Every site coordinate
// must be at most 2^40 in magnitude (the big integer's size depends on it).
struct WideCoordinateTraits {
  using int_type = std::int64_t;
  using int_x2_type = Int128;
  using uint_x2_type = UInt128;
  using big_int_type = WideInt;
  using fpt_type = double;
  using efpt_type = ExtendedDouble;
  using ulp_cmp_type = boost::polygon::detail::ulp_comparison<double>;
  using to_fpt_converter_type = ToDouble;
  using to_efpt_converter_type = ToExtendedDouble;
};

}  // namespace kaldra
