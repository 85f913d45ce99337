#include "scene/segment_table.h"

#include <string>

namespace kaldra {

void TableColumn::ThrowSubscriptError(int i) {
  throw RunTimeError("Run-time error: subscript " + std::to_string(i) +
                     " out of range 0 to 100 in the segment table");
}

}  // namespace kaldra
