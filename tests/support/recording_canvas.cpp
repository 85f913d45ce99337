#include "tests/support/recording_canvas.h"

#include <stdexcept>

namespace kaldra::testing {

float ScriptedRandom::Rnd() {
  if (next_ >= numbers_.size()) throw std::logic_error("the scripted random numbers ran out");
  return numbers_[next_++];
}

}  // namespace kaldra::testing
