// The day tables: exact bytes of the writers, read back through the readers.
#include "dataset/day_tables.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::Hex;
using test::ReadFile;
using test::Thrown;

TEST(DayTables, DayListWrittenAndReadBack) {
  test::TempDir dir;
  const auto file = dir / "L_Date.dat";
  WriteDayList(file, {{10, 8, 13, 4, 2}, {11, 1, 2, 5, 0xFFFF}});
  EXPECT_EQ(Hex(ReadFile(file)), "02 00 0A 08 0D 04 02 00 0B 01 02 05 FF FF");
  EXPECT_EQ(ReadDayStartNumbers(file), (std::vector<uint16_t>{2, 0xFFFF}));

  WriteDayList(file, {});
  EXPECT_EQ(Hex(ReadFile(file)), "00 00");
  EXPECT_TRUE(ReadDayStartNumbers(file).empty());
}

TEST(DayTables, DayIndexWrittenAndReadBack) {
  test::TempDir dir;
  const auto file = dir / "L_DayTop.dat";
  WriteDayIndex(file, {0, 3000, 5800}, {3000, 2800, 3100});
  EXPECT_EQ(Hex(ReadFile(file)), "03 00 00 00 B8 0B B8 0B F0 0A A8 16 1C 0C");
  const std::vector<DayRange> index = ReadDayIndex(file);
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[1].first, 3000);
  EXPECT_EQ(index[2].count, 3100);
  EXPECT_EQ(DayRangeOf(index, 3, file).first, 5800);
  EXPECT_EQ(Thrown([&] { DayRangeOf(index, 4, file); }).kind, ErrorKind::kDamaged);
  EXPECT_EQ(Thrown([&] { DayRangeOf(index, 0, file); }).kind, ErrorKind::kDamaged);

  // Numbers above 65535 keep their low 16 bits.
  WriteDayIndex(file, {65536}, {1});
  EXPECT_EQ(Hex(ReadFile(file)), "01 00 00 00 01 00");
  WriteDayIndex(file, {}, {});
  EXPECT_EQ(Hex(ReadFile(file)), "00 00");
}

}  // namespace
}  // namespace dw
