#include <gtest/gtest.h>

#include "catalog/table_writers.h"
#include "dataset/day_tables.h"
#include "support/writer_fixture.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::Hex;
using test::Sjis;

class EventTables : public test::WriterTest {};

std::string Zeros(size_t n) { return std::string(n, '\0'); }

TEST_F(EventTables, HeaderTakesTheLastRowOfEachSectionAndHalvesTheCutSizes) {
  RowTable rows = TextRows({"*Vandrel", "76\tOld", "*vandrel", "77\tTitle  ", "*cutInfo", "1\t1\t1\t1\t1\t1",
                            "*CUTINFO", "75\t-3\t10\t11\t0\t-1", "*mapTableInfo", "21\t15\t50\t-2 "});
  WriteEventHeader(rows, dir / "DEF.dat", st);
  const std::string def = Read("DEF.dat");
  ASSERT_EQ(def.size(), 62u);
  EXPECT_EQ(Hex(def.substr(0, 2)), "4D 00");
  EXPECT_EQ(def.substr(2, 40), "Title  " + Zeros(33));  // not trimmed
  EXPECT_EQ(Hex(def.substr(42)), "25 00 FF FF 05 00 05 00 00 00 00 00 15 00 0F 00 32 00 FE FF");
  EXPECT_EQ(st.map_cell_width, 21);
  EXPECT_EQ(st.map_cell_height, 15);
}

TEST_F(EventTables, HeaderWithoutARequiredSectionStopsNamingIt) {
  const std::vector<std::string> all = {"*Vandrel", "77\tT", "*cutInfo", "1\t2\t3\t4\t5\t6", "*mapTableInfo",
                                        "1\t2\t3\t4"};
  for (const std::string section : {"*Vandrel", "*cutInfo", "*mapTableInfo"}) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < all.size(); i += 2) {
      if (all[i] != section) lines.insert(lines.end(), {all[i], all[i + 1]});
    }
    const test::ThrownError e = test::Thrown([&] { WriteEventHeader(TextRows(lines), dir / "DEF.dat", st); });
    EXPECT_EQ(std::string(e.what()), "定義ファイルに \"" + section + "\" セクションがありません");
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "DEF.dat"));
  // A section line with a blank after the name is another section.
  EXPECT_THROW(WriteEventHeader(TextRows({"*Vandrel ", "77\tT", "*cutInfo", "1\t2\t3\t4\t5\t6", "*mapTableInfo",
                                          "1\t2\t3\t4"}),
                                dir / "DEF.dat", st),
               Error);
}

TEST_F(EventTables, HeaderNumberErrorsNameTheCell) {
  const test::ThrownError e = test::Thrown([&] {
    WriteEventHeader(TextRows({"*Vandrel", "x7\tT"}), dir / "DEF.dat", st);
  });
  EXPECT_STREQ(e.what(), "'x7' は整数ではありません");
}

TEST_F(EventTables, GenreListStartsWithGenreNotSetAndCutsNamesAt39Bytes) {
  const std::string name39(39, 'a'), name40(40, 'b');
  RowTable rows = TextRows({"*VandrelGenre", "100\t" + name39, "*VandrelMap", "E\tx", "*vandrelgenre",
                            "65537\t" + name40 + "c", "-1\tx  "});
  WriteGenreList(rows, dir / "L_Genre.dat", st);
  const std::string g = Read("L_Genre.dat");
  ASSERT_EQ(g.size(), 2u + 4 * 42);
  EXPECT_EQ(Hex(g.substr(0, 4)), "04 00 00 00");
  EXPECT_EQ(g.substr(4, 40), Sjis("ジャンル未設定") + Zeros(26));
  EXPECT_EQ(Hex(g.substr(44, 2)), "64 00");
  EXPECT_EQ(g.substr(46, 40), name39 + '\0');
  EXPECT_EQ(Hex(g.substr(86, 2)), "01 00");  // 65537: the low 16 bits
  EXPECT_EQ(g.substr(88, 40), std::string(39, 'b') + '\0');
  EXPECT_EQ(Hex(g.substr(128, 2)), "FF FF");
  EXPECT_EQ(g.substr(130, 40), "x  " + Zeros(37));
}

TEST_F(EventTables, MapListTrimsBothNamesAndKeepsTheWholeNames) {
  RowTable rows = TextRows({"*VandrelMap", "E123 \t" + Sjis("東123") + " ", "LongMapName1\tB"});
  WriteMapList(rows, dir / "L_Map.dat", st);
  const std::string m = Read("L_Map.dat");
  ASSERT_EQ(m.size(), 2u + 2 * 20);
  EXPECT_EQ(Hex(m.substr(0, 2)), "02 00");
  EXPECT_EQ(m.substr(2, 20), "E123" + Zeros(6) + Sjis("東123") + Zeros(5));
  EXPECT_EQ(m.substr(22, 20), "LongMapNa" + Zeros(1) + "B" + Zeros(9));
  EXPECT_EQ(st.map_names, (std::vector<std::string>{"E123", "LongMapName1"}));
}

TEST_F(EventTables, AreaListsHoldTheNameAsItIsAndInFullWidth) {
  RowTable rows = TextRows({"*VandrelArea", "A1 \tE\tx", "ABCDEFGH\tE\tx", Sjis("東ｱ") + "\tE\tx"});
  WriteAreaList(rows, dir / "L_Area.dat", st);
  WriteFullWidthAreaList(rows, dir / "L_KArea.dat", st);
  const std::string a = Read("L_Area.dat");
  ASSERT_EQ(a.size(), 2u + 3 * 10);
  EXPECT_EQ(Hex(a.substr(0, 2)), "03 00");
  EXPECT_EQ(a.substr(2, 10), "A1" + Zeros(8));
  EXPECT_EQ(a.substr(12, 10), "ABCDEFGH" + Zeros(2));
  const std::string k = Read("L_KArea.dat");
  ASSERT_EQ(k.size(), 2u + 3 * 16);
  EXPECT_EQ(Hex(k.substr(0, 2)), "03 00");
  EXPECT_EQ(Hex(k.substr(2, 16)), "82 60 82 50 00 00 00 00 00 00 00 00 00 00 00 00");
  // Seven full-width characters fit whole; the eighth keeps its first byte only.
  EXPECT_EQ(k.substr(18, 16), Sjis("ＡＢＣＤＥＦＧ") + "\x82" + '\0');
  EXPECT_EQ(k.substr(34, 16), Sjis("東ア") + Zeros(12));
}

TEST_F(EventTables, DayListRecordsAndWeekdays) {
  RowTable rows = TextRows({"*VandrelDate", "2010\t8\t13\t" + Sjis("金") + "\t2",
                            "2010\t8\t14\t" + Sjis("土") + " \t8", "2011\t1\t2\tSat\t300",
                            "2010\t8\t15\t" + Sjis("日") + "\t-1"});
  WriteDayList(rows, dir / "L_Date.dat", st);
  EXPECT_EQ(Hex(Read("L_Date.dat")),
            "04 00 0A 08 0D 04 02 00 0A 08 0E 05 08 00 0B 01 02 00 2C 01 0A 08 0F 06 FF FF");
  // The readers of the image job and the check lists see the same start pages.
  EXPECT_EQ(ReadDayStartNumbers(dir / "L_Date.dat"), (std::vector<uint16_t>{2, 8, 300, 0xFFFF}));
}

TEST_F(EventTables, EmptySectionsGiveEmptyLists) {
  RowTable rows = TextRows({"*Other", "1\t2"});
  WriteGenreList(rows, dir / "L_Genre.dat", st);
  WriteMapList(rows, dir / "L_Map.dat", st);
  WriteAreaList(rows, dir / "L_Area.dat", st);
  WriteFullWidthAreaList(rows, dir / "L_KArea.dat", st);
  WriteDayList(rows, dir / "L_Date.dat", st);
  EXPECT_EQ(Read("L_Genre.dat").size(), 44u);
  EXPECT_EQ(Hex(Read("L_Genre.dat").substr(0, 2)), "01 00");
  for (const char* name : {"L_Map.dat", "L_Area.dat", "L_KArea.dat", "L_Date.dat"}) {
    EXPECT_EQ(Hex(Read(name)), "00 00") << name;
  }
  EXPECT_TRUE(st.map_names.empty());
}

}  // namespace
}  // namespace dw
