#include <gtest/gtest.h>

#include "catalog/table_writers.h"
#include "dataset/table_reader.h"
#include "support/writer_fixture.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::Hex;
using test::Sjis;

class HallTables : public test::WriterTest {
 protected:
  void WriteBlocksAndPositions(const std::vector<std::string>& lines) {
    RowTable rows = TextRows(lines);
    WriteBlockList(rows, dir / "L_Block.dat", st);
    WriteMapPositions(rows, dir / "L_MapPos.dat", dir / "L_Block.dat", st);
  }
  // L_Map.dat and L_Area.dat as the definition writers leave them, then the block index.
  void WriteIndex(const std::vector<std::string>& definition_lines) {
    RowTable rows = TextRows(definition_lines);
    WriteMapList(rows, dir / "L_Map.dat", st);
    WriteAreaList(rows, dir / "L_Area.dat", st);
    WriteBlockAreaIndex(rows, dir / "I_Block.dat", dir / "L_Map.dat", dir / "L_Area.dat", dir / "L_Block.dat", st);
  }
};

TEST_F(HallTables, BlockListStartsAnEntryAtEveryChangeAndTheFirstSlotDecides) {
  const std::string a = Sjis("Ａ"), b = Sjis("Ｂ");
  WriteBlocksAndPositions({a + "\t1\t10\t20\t1", a + "\t300\t70000\t20\t7", b + "\t1\t30\t40 \t2",
                           b + "\t2\t-1\t0\t3", a + "\t5\t1\t2\t4"});
  EXPECT_EQ(Hex(Read("L_Block.dat")), "03 00 82 60 82 61 82 60");
  EXPECT_EQ(Hex(Read("L_MapPos.dat")),
            "05 00 "
            "00 01 0A 00 14 00 01 00 "
            "00 2C 70 11 14 00 07 00 "  // space 300 -> 44, x 70000 -> 4464
            "01 01 1E 00 28 00 02 00 "
            "01 02 FF FF 00 00 03 00 "
            "00 05 01 00 02 00 04 00");  // the second run of Ａ is block 0 as well
  ASSERT_EQ(st.map_positions.size(), 5u);
  EXPECT_EQ(st.map_positions[1].space, 300);
  EXPECT_EQ(st.map_positions[1].x, 4464);
  EXPECT_EQ(st.map_positions[1].layout, 7);
  EXPECT_EQ(st.map_positions[3].block, 1);
}

TEST_F(HallTables, BlockListReadsBackThroughTheBlockNameReader) {
  const std::string a = Sjis("Ａ"), b = Sjis("Ｂ");
  WriteBlocksAndPositions({a + "\t1\t1\t1\t1", b + "\t1\t1\t1\t1", "A \t1\t1\t1\t1"});
  // Names come back as stored, trailing blank included.
  EXPECT_EQ(ReadBlockNames(dir / "L_Block.dat"), (std::vector<std::string>{a, b, "A "}));
}

TEST_F(HallTables, MapPositionsMoveTheProgressBarEveryRow) {
  WriteBlocksAndPositions({"AA\t1\t1\t1\t1", "AA\t2\t1\t1\t1"});
  EXPECT_EQ(log.calls, (std::vector<std::string>{"min: 0", "max: 1", "position: 0", "position: 0", "events",
                                                 "position: 1", "events"}));
}

TEST_F(HallTables, EmptyMapTable) {
  st.map_positions.resize(3);
  WriteBlocksAndPositions({});
  EXPECT_EQ(Hex(Read("L_Block.dat")), "00 00");
  EXPECT_EQ(Hex(Read("L_MapPos.dat")), "00 00");
  EXPECT_TRUE(st.map_positions.empty());
}

TEST_F(HallTables, NamesMissingFromTheBlockListAreParsedAsNumbers) {
  BlockFile({"AA"});
  WriteMapPositions(TextRows({"07\t1\t1\t1\t1"}), dir / "L_MapPos.dat", dir / "L_Block.dat", st);
  EXPECT_EQ(st.map_positions[0].block, 7);
  const test::ThrownError e = test::Thrown([&] {
    WriteMapPositions(TextRows({"ZZ\t1\t1\t1\t1"}), dir / "L_MapPos.dat", dir / "L_Block.dat", st);
  });
  EXPECT_STREQ(e.what(), "'ZZ' は整数ではありません");
  // Fewer than five fields: the padding cell is empty.
  EXPECT_THROW(WriteMapPositions(TextRows({"AA\t1\t1"}), dir / "L_MapPos.dat", dir / "L_Block.dat", st), Error);
}

TEST_F(HallTables, BlockListStopsBeyond256BlocksAndOnNamesOfAnotherLength) {
  std::vector<std::string> lines;
  for (int i = 0; i < 257; ++i) lines.push_back(std::string{char('A' + i / 26), char('a' + i % 26)} + "\t1\t1\t1\t1");
  RowTable rows = TextRows(lines);
  EXPECT_EQ(test::Thrown([&] { WriteBlockList(rows, dir / "L_Block.dat", st); }).message,
            "ブロック数が上限の 256 を超えています (257 番目のブロック 'Jw')");
  EXPECT_FALSE(std::filesystem::exists(dir / "L_Block.dat"));
  rows.pop_back();
  WriteBlockList(rows, dir / "L_Block.dat", st);
  EXPECT_EQ(Read("L_Block.dat").size(), 2u + 2 * 256);

  EXPECT_EQ(test::Thrown([&] { WriteBlockList(TextRows({"AA\t1", "ABC\t1"}), dir / "L_Block.dat", st); }).message,
            "ブロック名は 2 バイトでなければなりません (配置データ 2 件目: 'ABC')");
}

TEST_F(HallTables, BlockAreaIndexWritesOnePairPerContainingAreaRow) {
  const std::string a = Sjis("Ａ"), b = Sjis("Ｂ"), c = Sjis("Ｃ"), d = Sjis("Ｄ");
  BlockFile({a, b, c, d});
  WriteIndex({"*VandrelMap", "E1\tx", "W1\ty", "*vandrelarea", "East\tE1\t" + a + b, "West\tW1\t" + b + c,
              "*VandrelArea ", "Other\tW1\t" + d});
  // Ｂ lies in two areas and gets two pairs; Ｄ is only in a row of another section.
  EXPECT_EQ(Hex(Read("I_Block.dat")), "04 00 00 00 00 00 01 01 01 01");
  ASSERT_EQ(st.areas.size(), 2u);
  EXPECT_EQ(st.areas[0].block_set, a + b);
  EXPECT_EQ(st.areas[1].map_index, 1);
  EXPECT_EQ(st.area_rows.size(), 2u);
}

TEST_F(HallTables, BlockAreaIndexSearchesBytesAcrossCharacterBoundaries) {
  BlockFile({"A\xB1"});  // A and the half-width ｱ
  WriteIndex({"*VandrelMap", "E0\tx", "E1\ty", "*VandrelArea", "X\tE1\t" + Sjis("アｱ")});  // 83 41 B1
  EXPECT_EQ(Hex(Read("I_Block.dat")), "01 00 00 01");
}

TEST_F(HallTables, MapIndexOfTheAreaTableUsesTheLastNameTheFileTheFirst) {
  BlockFile({"AA"});
  WriteIndex({"*VandrelMap", "E1\tx", "E1\ty", "*VandrelArea", "X\tE1\tAA"});
  EXPECT_EQ(st.areas[0].map_index, 1);
  EXPECT_EQ(Hex(Read("I_Block.dat")), "01 00 00 00");
}

TEST_F(HallTables, BlockAreaIndexParsesUnknownNamesAsTheyStand) {
  BlockFile({"AA", "BB"});
  // A name with a trailing blank is stored trimmed, so the cell no longer equals it.
  const test::ThrownError e = test::Thrown([&] {
    WriteIndex({"*VandrelMap", "E1\tx", "*VandrelArea", "5 \tE1\tAA"});
  });
  EXPECT_STREQ(e.what(), "'5 ' は整数ではありません");
  EXPECT_FALSE(std::filesystem::exists(dir / "I_Block.dat"));
  // An area name longer than nine bytes is cut in L_Area.dat and found no more.
  EXPECT_THROW(WriteIndex({"*VandrelMap", "E1\tx", "*VandrelArea", "LongAreaName\tE1\tAA"}), Error);
  // A numeric map cell that names no map is taken as the index; rows without a block of the
  // list are never parsed.
  WriteIndex({"*VandrelMap", "E1\tx", "*VandrelArea", "A\t3\tAA", "Unknown\tNoMap\tZZ"});
  EXPECT_EQ(Hex(Read("I_Block.dat")), "02 00 00 03");
}

}  // namespace
}  // namespace dw
