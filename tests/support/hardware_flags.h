#pragma once

#include <cfenv>

#include "scene/float_fault.h"

namespace kaldra::testing {

// The processor's floating-point flags, which the drawing no longer reads: the
// tests keep them as the reference that the explicit checks must agree with,
// on this machine, where the flags exist.
inline void ClearFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

// The fault the flags raised since the last clear, named as a flag test names
// it when several were raised: a division by zero before an invalid operation
// before an overflow.
inline FloatFault FlaggedFault() {
  const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if ((raised & FE_DIVBYZERO) != 0) return FloatFault::kDivisionByZero;
  if ((raised & FE_INVALID) != 0) return FloatFault::kInvalid;
  if ((raised & FE_OVERFLOW) != 0) return FloatFault::kOverflow;
  return FloatFault::kNone;
}

}  // namespace kaldra::testing
