#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kaldra {

// An error the drawing cannot go on from: a floating-point fault, an Integer
// overflow or a table subscript outside 0 to 100. Nothing inside the core
// handles it; the window reports it to the user and the program ends.
class RunTimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Integers of the drawing are 16-bit; every addition and subtraction on them
// is checked, and an overflow is a run-time error rather than a wrap.
std::int16_t CheckedAdd(std::int16_t a, std::int16_t b);
std::int16_t CheckedSub(std::int16_t a, std::int16_t b);

// The floating-point faults that end a run: invalid operation, division by
// zero and overflow. Underflow and inexact results are ordinary.
void ClearFloatingPointFaults();
// The fault raised since the last clear, or nullptr when there was none.
const char* RaisedFloatingPointFault();
// Throws RunTimeError naming the fault and `where` when one was raised since
// the last clear.
void CheckFloatingPointFaults(const std::string& where);
// The same with the place described only when a fault was raised, for checks
// that run once per trace.
template <typename Describe>
void CheckFloatingPointFaultsAt(Describe&& describe) {
  if (RaisedFloatingPointFault() != nullptr) [[unlikely]]
    CheckFloatingPointFaults(describe());
}

}  // namespace kaldra
