#pragma once

#include <optional>

#include "arithmetic/double_double.h"

// The two stages of each correctly rounded function (Ziv's strategy): a fast
// double-double evaluation that returns the result only when its error bound
// proves the rounding, and a slow multi-precision evaluation that decides
// every remaining case. The public functions of elementary.h handle the
// special and tiny arguments and then call these; the tests call each stage
// on its own.

namespace kaldra::arithmetic {

// atan x for 2^-27 <= |x| < 2^53.
std::optional<double> AtanFast(double x);
double AtanSlow(double x);

// atan x as a normalised double-double within 2^-67.5 atan x, relatively,
// for 2^-27 <= x < 2^53.
DoubleDouble AtanEstimate(double x);

// sin x for finite x with |x| >= 2^-26; cos x and tan x for finite x with
// |x| >= 2^-27.
std::optional<double> SinFast(double x);
std::optional<double> CosFast(double x);
std::optional<double> TanFast(double x);
double SinSlow(double x);
double CosSlow(double x);
double TanSlow(double x);

}  // namespace kaldra::arithmetic
