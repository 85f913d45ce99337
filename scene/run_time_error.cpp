#include "scene/run_time_error.h"

#include <cfenv>
#include <limits>
#include <string>

namespace kaldra {

namespace {

std::int16_t NarrowChecked(int value, const char* operation) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw RunTimeError(std::string("Integer overflow in ") + operation);
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

std::int16_t CheckedAdd(std::int16_t a, std::int16_t b) {
  return NarrowChecked(int{a} + int{b}, "an addition");
}

std::int16_t CheckedSub(std::int16_t a, std::int16_t b) {
  return NarrowChecked(int{a} - int{b}, "a subtraction");
}

void ClearFloatingPointFaults() { std::feclearexcept(FE_ALL_EXCEPT); }

const char* RaisedFloatingPointFault() {
  const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if ((raised & FE_DIVBYZERO) != 0) return "division by zero";
  if ((raised & FE_INVALID) != 0) return "invalid floating-point operation";
  if ((raised & FE_OVERFLOW) != 0) return "floating-point overflow";
  return nullptr;
}

void CheckFloatingPointFaults(const std::string& where) {
  const char* fault = RaisedFloatingPointFault();
  if (fault == nullptr) return;
  throw RunTimeError(std::string("Run-time error: ") + fault + " in " + where);
}

}  // namespace kaldra
