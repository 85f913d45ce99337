#pragma once

#include <cmath>
#include <optional>

#include "arithmetic/double_double.h"

namespace kaldra::arithmetic {

// Ziv's rounding test for the fast paths. The exact value v of a function is
// known only to lie within `bound` of r.hi + r.lo; if every number of that
// interval rounds to the same double, that double is RN(v), otherwise the slow
// path has to decide. r.hi != 0, |r.lo| <= |r.hi|, bound >= 0.
//
// Why it is safe. After (h, l) = FastTwoSum(r.hi, r.lo), h = RN(h + l) and
// |l| <= u |h| (u = 2^-53). The widened bound e below is computed with two
// roundings of relative u each, so e >= bound (1 + 2^-51) + 2^-105 |h|. Then
//   RN(l + e) >= l + e - u (|l| + e) >= l + bound + (2^-105 - 2^-106) |h|
// and hence h + RN(l + e) >= h + l + bound >= v; symmetrically
// h + RN(l - e) <= v. Rounding to nearest is monotonic, so
//   RN(h + RN(l - e)) <= RN(v) <= RN(h + RN(l + e)),
// and when both outer terms equal h, so does RN(v).
inline std::optional<double> RoundedIfDecided(const DoubleDouble& r, double bound) {
  const DoubleDouble n = FastTwoSum(r.hi, r.lo);
  const double e = bound * (1 + 0x1p-50) + std::fabs(n.hi) * 0x1p-104;
  if (n.hi + (n.lo + e) == n.hi && n.hi + (n.lo - e) == n.hi) return n.hi;
  return std::nullopt;
}

}  // namespace kaldra::arithmetic
