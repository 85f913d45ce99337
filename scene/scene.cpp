#include "scene/scene.h"

#include <string>

#include "scene/run_time_error.h"

namespace kaldra {

const Segment& Scene::operator[](int k) const {
  // A subscript outside the table is a run-time error, never a stray read.
  if (k < 0 || k >= Count()) [[unlikely]] {
    throw RunTimeError("Run-time error: subscript " + std::to_string(k) + " out of range 0 to " +
                       std::to_string(Count() - 1) + " in the segment table");
  }
  return segments_[static_cast<std::size_t>(k)];
}

}  // namespace kaldra
