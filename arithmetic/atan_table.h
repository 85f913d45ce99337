#pragma once

#include "arithmetic/double_double.h"

namespace kaldra::arithmetic {

// atan(i/128) for i = 0 ... 128, each the double nearest it plus the double
// nearest the rest: within 2^-106 |atan(i/128)|.
inline constexpr int kAtanTableSize = 129;
extern const DoubleDouble kAtanTable[kAtanTableSize];

}  // namespace kaldra::arithmetic
