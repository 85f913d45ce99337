#pragma once

#include "arithmetic/double_double.h"

namespace kaldra::arithmetic {

// sin(j/128) and cos(j/128), each the double nearest it plus the double
// nearest the rest: within 2^-106 of the value.
struct SinCosEntry {
  DoubleDouble sin;
  DoubleDouble cos;
};

// j = 0 ... 101: every point of 1/128 steps up to just past pi/4 = 100.5/128.
inline constexpr int kSinCosTableSize = 102;
extern const SinCosEntry kSinCosTable[kSinCosTableSize];

}  // namespace kaldra::arithmetic
