#include "scene/segment_table.h"

#include <string>

#include <gtest/gtest.h>

namespace kaldra {
namespace {

TEST(TableColumn, SubscriptsZeroAndHundredAreTheEnds) {
  TableColumn column;
  column[0] = 1.5;
  column[100] = -2.5;
  const TableColumn& read = column;
  EXPECT_EQ(read[0], 1.5);
  EXPECT_EQ(read[100], -2.5);
  EXPECT_EQ(read[50], 0.0);
}

TEST(TableColumn, SubscriptOutsideZeroToHundredIsARunTimeError) {
  TableColumn column;
  const TableColumn& read = column;
  for (int i : {-1, 101, -32768, 32767}) {
    SCOPED_TRACE(i);
    EXPECT_THROW(column[i] = 1, RunTimeError);
    EXPECT_THROW(static_cast<void>(read[i]), RunTimeError);
    try {
      static_cast<void>(read[i]);
    } catch (const RunTimeError& e) {
      EXPECT_NE(std::string(e.what()).find(std::to_string(i)), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace kaldra
