#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "scene/float_fault.h"

namespace kaldra {

// An error the drawing cannot go on from: a floating-point fault, a walk that
// no longer advances, an Integer overflow or a table subscript outside 0 to
// 100. Nothing inside the core handles it; the window reports it to the user
// and the program ends.
class RunTimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Integers of the drawing are 16-bit; every addition and subtraction on them
// is checked, and an overflow is a run-time error rather than a wrap.
std::int16_t CheckedAdd(std::int16_t a, std::int16_t b);
std::int16_t CheckedSub(std::int16_t a, std::int16_t b);

// The run-time error of a fault in `where`: "Run-time error: division by zero
// in sweep 1, pair (0, 1), endpoint bisector 1 (left ends)".
RunTimeError FaultError(FloatFault fault, const std::string& where);

// Runs `work`, whose checked steps throw FloatFaultError at their first fault,
// and reports such a fault as the run-time error naming `where()`, which is
// only asked then.
template <typename Work, typename Describe>
auto ReportingFaults(Work&& work, Describe&& where) {
  try {
    return work();
  } catch (const FloatFaultError& e) {
    throw FaultError(e.fault, where());
  }
}

}  // namespace kaldra
