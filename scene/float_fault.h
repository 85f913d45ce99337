#pragma once

#include <cmath>

namespace kaldra {

// What stops the arithmetic of a drawing: the three floating-point faults (an
// invalid operation such as 0 / 0 or the root of a negative, a division of a
// non-zero number by zero, an overflow to infinity) and a walk whose step no
// longer moves it, which would otherwise never end. Underflow and inexact
// results are ordinary.
//
// The arithmetic finds its faults itself, from the values each step produces,
// never from the processor's floating-point flags: not every machine has them
// (WebAssembly has none), and any library call between two steps may leave
// flags behind. IEEE 754 makes the values tell: an invalid operation returns a
// NaN, a division by zero or an overflow an infinity.
enum class FloatFault { kNone, kDivisionByZero, kInvalid, kOverflow, kStalledWalk };

// The fault as messages name it: "division by zero", "invalid floating-point
// operation", "floating-point overflow", ...
const char* FaultName(FloatFault fault);

// Thrown by a checked step at the first fault of a computation; the trace or
// the routine that started the computation names itself and reports it.
struct FloatFaultError {
  FloatFault fault;
};

[[noreturn]] void ThrowFloatFault(FloatFault fault);

// A step that stops at its fault. Every operand of a checked step is finite,
// since the steps before it were checked, so a result that is not finite
// tells the fault on its own: a NaN is an invalid operation, an infinity from
// a sum, a difference, a product or a root an overflow.
inline double Checked(double result) {
  if (!std::isfinite(result)) [[unlikely]] {
    ThrowFloatFault(std::isnan(result) ? FloatFault::kInvalid : FloatFault::kOverflow);
  }
  return result;
}

// a / b as a checked step: 0 / 0 is invalid, a non-zero a over zero a
// division by zero, an infinite quotient of a non-zero b an overflow.
inline double CheckedDiv(double a, double b) {
  const double q = a / b;
  if (!std::isfinite(q)) [[unlikely]] {
    if (b != 0) ThrowFloatFault(FloatFault::kOverflow);
    ThrowFloatFault(a == 0 ? FloatFault::kInvalid : FloatFault::kDivisionByZero);
  }
  return q;
}

// The faults of a computation that goes on past them, kept as the processor's
// sticky flags keep them, for the scene builder, whose judgement of a
// candidate runs to its end and is only then looked at. Operands may be
// infinite or NaN here, so each step is judged as IEEE 754 judges it: a NaN
// or an infinity passed on raises nothing; a NaN from non-NaN operands is an
// invalid operation; an infinity from finite operands is a division by zero
// when a non-zero number was divided by zero, else an overflow.
class FaultRecord {
 public:
  double Add(double a, double b) { return Note(a + b, a, b, false); }
  double Sub(double a, double b) { return Note(a - b, a, b, false); }
  double Mul(double a, double b) { return Note(a * b, a, b, false); }
  double Div(double a, double b) { return Note(a / b, a, b, true); }

  // The fault a flag test names when several were raised: a division by zero
  // before an invalid operation before an overflow.
  FloatFault Worst() const;

 private:
  double Note(double r, double a, double b, bool division);

  unsigned raised_ = 0;  // bit k for FloatFault value k
};

}  // namespace kaldra
