#include "scene/run_time_error.h"

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

RunTimeError FaultError(FloatFault fault, const std::string& where) {
  return RunTimeError(std::string("Run-time error: ") + FaultName(fault) + " in " + where);
}

}  // namespace kaldra
