#include "scene/float_fault.h"

#include <initializer_list>

namespace kaldra {

const char* FaultName(FloatFault fault) {
  switch (fault) {
    case FloatFault::kDivisionByZero:
      return "division by zero";
    case FloatFault::kInvalid:
      return "invalid floating-point operation";
    case FloatFault::kOverflow:
      return "floating-point overflow";
    case FloatFault::kStalledWalk:
      return "a walk whose step no longer moves it";
    case FloatFault::kNone:
      break;
  }
  return "no fault";
}

void ThrowFloatFault(FloatFault fault) { throw FloatFaultError{fault}; }

double FaultRecord::Note(double r, double a, double b, bool division) {
  FloatFault fault = FloatFault::kNone;
  if (std::isnan(r) && !std::isnan(a) && !std::isnan(b)) {
    fault = FloatFault::kInvalid;
  } else if (std::isinf(r) && std::isfinite(a) && std::isfinite(b)) {
    fault = division && b == 0 ? FloatFault::kDivisionByZero : FloatFault::kOverflow;
  }
  if (fault != FloatFault::kNone) raised_ |= 1u << static_cast<unsigned>(fault);
  return r;
}

FloatFault FaultRecord::Worst() const {
  for (const FloatFault f :
       {FloatFault::kDivisionByZero, FloatFault::kInvalid, FloatFault::kOverflow}) {
    if ((raised_ & (1u << static_cast<unsigned>(f))) != 0) return f;
  }
  return FloatFault::kNone;
}

}  // namespace kaldra
