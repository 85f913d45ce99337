// A colour, named blue-green-red in one number, as SVG and CSS write it and
// as 32-bit image memory holds it.
#include "scene/color.h"

#include <gtest/gtest.h>

namespace kaldra {
namespace {

TEST(Colors, AreWrittenRedGreenBlue) {
  struct Row {
    Color color;
    const char* hex;
    std::uint32_t argb;
  };
  for (const Row& row :
       {Row{kRed, "#FF0000", 0xFFFF0000u}, Row{kBlue, "#0000FF", 0xFF0000FFu},
        Row{kOrange, "#FF8000", 0xFFFF8000u}, Row{0x563412, "#123456", 0xFF123456u},
        Row{0xA0B0C0, "#C0B0A0", 0xFFC0B0A0u}}) {
    EXPECT_EQ(HexText(row.color), row.hex);
    EXPECT_EQ(ToArgbPixel(row.color), row.argb) << row.hex;
  }
}

}  // namespace
}  // namespace kaldra
