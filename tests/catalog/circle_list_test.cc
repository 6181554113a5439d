#include <gtest/gtest.h>

#include "catalog/sjis_search.h"
#include "catalog/table_writers.h"
#include "support/writer_fixture.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::CircleLine;
using test::Hex;
using test::Sjis;

class CircleList : public test::WriterTest {
 protected:
  CircleList() {
    st.map_cell_width = 21;
    st.map_cell_height = 15;
  }
  uint32_t Write(const std::vector<std::string>& lines, uint32_t offset = 0) {
    return WriteCircleList(CircleRows(lines), offset, "M1", "C_List1.dat", dir.path(), dir / "L_Block.dat", st);
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
};

TEST_F(CircleList, RecordAndMapRecordOfOneCircle) {
  const std::string a = Sjis("Ａ"), b = Sjis("Ｂ");
  BlockFile({a, b});
  st.map_positions = {{1, 7, 100, 200, 1}};
  st.areas = {{a + b, 2}};
  const std::string east = Sjis("東");
  ASSERT_EQ(Write({CircleLine({"0", "1", "12", "3", "1", east, b + " ", "07", "100", "Circle", "Kana"})}, 10), 1u);
  const std::string list = Read("C_List1.dat");
  ASSERT_EQ(list.size(), 2u + 66);
  EXPECT_EQ(Hex(list.substr(0, 16)), "01 00 0A 00 0C 00 03 01 01 07 02 01 64 00 C8 00");
  EXPECT_EQ(list.substr(16, 16), "Kana" + std::string(12, '\0'));
  EXPECT_EQ(list.substr(32, 34), "Circle" + std::string(28, '\0'));
  EXPECT_EQ(Hex(list.substr(66)), "00 00");
  // The map record carries the day-relative index, not the circle number.
  EXPECT_EQ(Hex(Read("M1Map2.dat")), "01 00 00 00 01 07 64 00 C8 00 0A 0F 01 00");
  for (const char* other : {"M1Map0.dat", "M1Map1.dat", "M1Map3.dat", "M1Map4.dat"}) EXPECT_FALSE(Exists(other));
  EXPECT_EQ(st.largest_map_file_count, 1u);
}

TEST_F(CircleList, EvenPositionsTakeTheOtherHalfOfTheCell) {
  BlockFile({"AA"});
  st.map_positions = {{0, 1, 100, 200, 1}, {0, 2, 100, 200, 2}, {0, 3, 100, 200, 3}, {0, 4, 100, 200, 4},
                      {0, 5, 100, 200, 7}};
  std::vector<std::string> lines;
  for (int space = 1; space <= 6; ++space) {
    for (int position : {1, 2}) {
      lines.push_back(CircleLine({"0", "0", "1", std::to_string(position), "", "", "AA", std::to_string(space)}));
    }
  }
  Write(lines);
  const std::string map = Read("M1Map0.dat");
  ASSERT_EQ(map.size(), 2u + 12 * 12);
  // x, y, width, height, left-half flag, top-half flag of each record (W = 21, H = 15).
  const char* expected[] = {
      "64 00 C8 00 0A 0F 01 00", "6E 00 C8 00 0A 0F 00 00",  // code 1; even: 3
      "64 00 CF 00 15 07 00 00", "64 00 C8 00 15 07 00 01",  // code 2; even: 4
      "6E 00 C8 00 0A 0F 00 00", "64 00 C8 00 0A 0F 01 00",  // code 3; even: 1
      "64 00 C8 00 15 07 00 01", "64 00 CF 00 15 07 00 00",  // code 4; even: 2
      "64 00 C8 00 00 00 00 00", "64 00 C8 00 00 00 00 00",  // code 7: nothing marked
      "00 00 00 00 00 00 00 00", "00 00 00 00 00 00 00 00",  // no map position
  };
  for (size_t j = 0; j < 12; ++j) EXPECT_EQ(Hex(map.substr(2 + 12 * j + 4, 8)), expected[j]) << "record " << j;
  // The circle list keeps the stored code.
  const std::string list = Read("C_List1.dat");
  EXPECT_EQ(Hex(list.substr(2 + 66 * 1 + 9, 1)), "01");
  EXPECT_EQ(Hex(list.substr(2 + 66 * 9 + 9, 1)), "07");
}

TEST_F(CircleList, CircleNumbersWrapAt65536) {
  BlockFile({"AA"});
  std::vector<std::string> lines(600, CircleLine({"0", "0", "1", "1", "", "", "AA", "1"}));
  ASSERT_EQ(Write(lines, 65000), 600u);
  const std::string list = Read("C_List1.dat");
  ASSERT_EQ(list.size(), 2u + 600 * 66);
  EXPECT_EQ(Hex(list.substr(0, 2)), "58 02");
  EXPECT_EQ(Hex(list.substr(2 + 66 * 535, 2)), "FF FF");
  EXPECT_EQ(Hex(list.substr(2 + 66 * 536, 2)), "00 00");
  EXPECT_EQ(Hex(Read("M1Map0.dat").substr(0, 2)), "58 02");
}

TEST_F(CircleList, EmptyDayWritesTheCountOnly) {
  BlockFile({"AA"});
  st.largest_map_file_count = 4;
  EXPECT_EQ(Write({}), 0u);
  EXPECT_EQ(Hex(Read("C_List1.dat")), "00 00");
  EXPECT_FALSE(Exists("M1Map0.dat"));
  EXPECT_EQ(st.largest_map_file_count, 4u);
}

TEST_F(CircleList, LookupsFallBackToZero) {
  BlockFile({"AA", "BB", "AA"});
  st.map_positions = {{1, 2, 5, 6, 1}, {1, 2, 7, 8, 3}, {0, 258, 9, 9, 1}};
  st.areas = {{"AA", 3}, {"BB", 1}};
  Write({CircleLine({"0", "0", "1", "1", Sjis("西"), Sjis("東") + " ", "BB", "2"}),
         CircleLine({"0", "0", "1", "1", Sjis("北"), Sjis("西"), "CC", "2"}),
         CircleLine({"0", "0", "1", "1", "", "", "AA", "2"})});
  const std::string list = Read("C_List1.dat");
  // Hall 東 with a blank; the first of two equal map positions; map 1 of the area holding BB.
  EXPECT_EQ(Hex(list.substr(2 + 5, 9)), "01 01 02 01 01 05 00 06 00");
  // Another hall; a block not in the list (index 0) and in no area; no position for space 2.
  EXPECT_EQ(Hex(list.substr(2 + 66 + 5, 9)), "02 00 02 00 00 00 00 00 00");
  // An empty hall; the first slot of AA; space 2 is not space 258.
  EXPECT_EQ(Hex(list.substr(2 + 132 + 5, 9)), "00 00 02 03 00 00 00 00 00");
  EXPECT_EQ(Hex(Read("M1Map1.dat").substr(0, 4)), "01 00 00 00");
  EXPECT_EQ(Hex(Read("M1Map0.dat").substr(0, 4)), "01 00 01 00");
  EXPECT_EQ(Hex(Read("M1Map3.dat").substr(0, 4)), "01 00 02 00");
}

TEST_F(CircleList, NameFieldsAreCutByBytes) {
  BlockFile({"AA"});
  const std::string kana = std::string(14, 'k') + Sjis("あ") + "kkkk";
  Write({CircleLine({"0", "0", "1", "1", "", "", "AA", "1", "", std::string(40, 'n'), kana})});
  const std::string list = Read("C_List1.dat");
  EXPECT_EQ(list.substr(16, 16), std::string(14, 'k') + "\x82" + '\0');
  EXPECT_EQ(list.substr(32, 34), std::string(33, 'n') + '\0');
}

TEST_F(CircleList, MapIndexAboveFourStopsTheDay) {
  BlockFile({"AA"});
  st.areas = {{"AA", 5}};
  const test::ThrownError e = test::Thrown([&] {
    Write({CircleLine({"0", "0", "1", "1", "", "", "AA", "1"})});
  });
  EXPECT_STREQ(e.what(), "マップ番号が上限の 4 を超えています (ブロック 'AA' のマップ番号 5)");
  EXPECT_FALSE(Exists("C_List1.dat"));
}

TEST_F(CircleList, NumberErrorsNameTheCell) {
  BlockFile({"AA"});
  const test::ThrownError e = test::Thrown([&] {
    Write({CircleLine({"0", "0", "1", "1", "", "", "AA", "x"})});
  });
  EXPECT_STREQ(e.what(), "'x' は整数ではありません");
  EXPECT_THROW(Write({CircleLine({"0", "0", ""})}), Error);
}

TEST_F(CircleList, MapIndexSearchIsCharacterAware) {
  BlockFile({"A\xB1"});
  st.areas = {{Sjis("アｱ"), 1}};  // 83 41 B1: the bytes 41 B1 straddle two characters
  Write({CircleLine({"0", "0", "1", "1", "", "", "A\xB1", "1"})});
  EXPECT_TRUE(Exists("M1Map0.dat"));
  EXPECT_FALSE(Exists("M1Map1.dat"));

  EXPECT_TRUE(ContainsSjisText(Sjis("ＡＢＣ"), Sjis("Ｂ")));
  EXPECT_TRUE(ContainsSjisText("x" + Sjis("ア") + "A\xB1", "A\xB1"));
  EXPECT_FALSE(ContainsSjisText("A\x83\x41", "A\x83"));  // would end inside a character
  EXPECT_FALSE(ContainsSjisText("AB", ""));
  EXPECT_FALSE(ContainsSjisText("A", "AB"));
}

TEST_F(CircleList, LargestMapFileCountGrowsOverDays) {
  BlockFile({"AA", "BB"});
  st.areas = {{"BB", 1}};
  const std::string aa = CircleLine({"0", "0", "1", "1", "", "", "AA", "1"});
  const std::string bb = CircleLine({"0", "0", "1", "1", "", "", "BB", "1"});
  Write({aa, bb, bb, bb});
  EXPECT_EQ(st.largest_map_file_count, 3u);
  Write({aa, aa});
  EXPECT_EQ(st.largest_map_file_count, 3u);
  EXPECT_EQ(Hex(Read("M1Map0.dat").substr(0, 2)), "02 00");
}

}  // namespace
}  // namespace dw
