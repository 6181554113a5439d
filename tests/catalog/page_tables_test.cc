#include <gtest/gtest.h>

#include "catalog/table_writers.h"
#include "common/table_builder.h"
#include "support/writer_fixture.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::CircleLine;
using test::Hex;
using test::Sjis;

class PageTables : public test::WriterTest {
 protected:
  // A circle on `page` at `position` in block `block`.
  static std::string Circle(int page, int position, const std::string& block) {
    return CircleLine({"0", "0", std::to_string(page), std::to_string(position), "", "", block, "1"});
  }
  void WritePagesAndTops(const RowTable& rows) {
    WritePageIndex(rows, dir / "L_Page1.dat", st);
    WriteBlockTops(rows, dir / "L_BlkTop1.dat", dir / "L_Block.dat", dir / "L_Page1.dat", st);
  }
  // An L_Genre.dat with the genre-not-set entry and the given codes.
  void GenreFile(const std::vector<int>& codes) {
    std::vector<std::string> lines = {"*VandrelGenre"};
    for (int code : codes) lines.push_back(std::to_string(code) + "\tg");
    WriteGenreList(TextRows(lines), dir / "L_Genre.dat", st);
  }
  void WriteInfo(const std::vector<std::string>& lines) {
    WriteCircleInfo(CircleRows(lines), dir / "C_Info1.dat", dir / "L_Genre.dat", st);
  }
};

TEST_F(PageTables, PageThatComesBackGetsASecondEntryAndBlockTopsTakeItsLastEntry) {
  BlockFile({"AA", "BB", "CC"});
  WritePagesAndTops(CircleRows({Circle(5, 1, "AA"), Circle(5, 2, "AA"), Circle(6, 3, "BB"), Circle(6, 4, "BB"),
                                Circle(5, 5, "AA")}));
  EXPECT_EQ(Hex(Read("L_Page1.dat")), "03 00 05 00 00 00 06 00 02 00 05 00 04 00");
  // AA: page 5 at position 1, entry 2 (the last for page 5); BB: page 6, entry 1; CC: none.
  EXPECT_EQ(Hex(Read("L_BlkTop1.dat")), "03 00 05 00 01 00 02 00 06 00 03 00 01 00 00 00 00 00 00 00");
}

TEST_F(PageTables, RowsOnPageZeroGetNoEntryAndLeaveTheBlockTopOpen) {
  BlockFile({"AA", "BB"});
  WritePagesAndTops(CircleRows({Circle(0, 1, "AA"), Circle(0, 2, "BB"), Circle(7, 3, "AA"), Circle(8, 4, "AA"),
                                Circle(0, 5, "BB")}));
  EXPECT_EQ(Hex(Read("L_Page1.dat")), "03 00 07 00 02 00 08 00 03 00 00 00 04 00");
  // BB never leaves page 0, so its last row fills its top, with the last entry for page 0.
  EXPECT_EQ(Hex(Read("L_BlkTop1.dat")), "02 00 07 00 03 00 00 00 00 00 05 00 02 00");
}

TEST_F(PageTables, BlockTopsCompareTheBlockNameUntrimmedAndFillEveryEqualSlot) {
  BlockFile({"AA", "BB", "AA"});
  WritePagesAndTops(CircleRows({Circle(3, 1, "BB "), Circle(4, 2, "AA"), Circle(5, 3, "BB")}));
  EXPECT_EQ(Hex(Read("L_BlkTop1.dat")), "03 00 04 00 02 00 01 00 05 00 03 00 02 00 04 00 02 00 01 00");
}

TEST_F(PageTables, EmptyDay) {
  BlockFile({"AA", "BB"});
  GenreFile({});
  WritePagesAndTops({});
  WriteInfo({});
  EXPECT_EQ(Hex(Read("L_Page1.dat")), "00 00");
  EXPECT_EQ(Hex(Read("L_BlkTop1.dat")), "02 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Hex(Read("C_Info1.dat")), "00 00");
}

TEST_F(PageTables, BlockTopsParseOnlyTheFirstRowOfABlock) {
  BlockFile({"AA"});
  WritePagesAndTops(CircleRows({Circle(2, 1, "AA"), CircleLine({"0", "0", "2", "x", "", "", "ZZ"}),
                                CircleLine({"0", "0", "2", "x", "", "", "AA"})}));
  EXPECT_EQ(Hex(Read("L_BlkTop1.dat")), "01 00 02 00 01 00 00 00");
  EXPECT_THROW(WritePagesAndTops(CircleRows({CircleLine({"0", "0", "2", "x", "", "", "AA"})})), Error);
}

TEST_F(PageTables, ProgressMovesEvery100Rows) {
  BlockFile({"AA"});
  std::vector<std::string> lines(201, Circle(1, 1, "AA"));
  WritePageIndex(CircleRows(lines), dir / "L_Page1.dat", st);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"min: 0", "max: 200", "position: 0", "position: 0", "events",
                                                 "position: 100", "events", "position: 200", "events"}));
}

TEST_F(PageTables, CircleInfoRecords) {
  GenreFile({100, 1234 + 65536, 100});
  const std::string text34(34, 'a');
  WriteInfo({CircleLine({"0", "0", "1", "1", "", "", "AA", "1", "100", "", "", text34, "url", "mail", "skip",
                         Sjis("説明")}),
             CircleLine({"0", "0", "1", "1", "", "", "AA", "1", "  "}), CircleLine({"0", "0", "1", "1", "", "", "AA", "1", "1234"}),
             CircleLine({"0", "0", "1", "1", "", "", "AA", "1", "77 "})});
  const std::string info = Read("C_Info1.dat");
  ASSERT_EQ(info.size(), 2u + 4 * 332);
  EXPECT_EQ(Hex(info.substr(0, 6)), "04 00 00 00 01 00");  // code 100: its first entry
  EXPECT_EQ(info.substr(6, 34), std::string(33, 'a') + '\0');
  EXPECT_EQ(info.substr(40, 54), "url" + std::string(51, '\0'));
  EXPECT_EQ(info.substr(94, 80), "mail" + std::string(76, '\0'));
  EXPECT_EQ(info.substr(174, 160), Sjis("説明") + std::string(156, '\0'));
  EXPECT_EQ(Hex(info.substr(334, 4)), "01 00 00 00");   // blank genre: genre not set
  EXPECT_EQ(Hex(info.substr(666, 4)), "02 00 02 00");   // 1234 equals 66770 in 16 bits
  EXPECT_EQ(Hex(info.substr(998, 4)), "03 00 4D 00");   // not listed: the code itself
  EXPECT_EQ(log.calls.back(), "position: 0");
}

TEST_F(PageTables, CircleInfoNeedsCell15) {
  GenreFile({});
  const std::string cells_to_14 = "0\t0\t1\t1" + std::string(8, '\t');
  const test::ThrownError e = test::Thrown([&] { WriteInfo({cells_to_14}); });
  EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (15)");
}

}  // namespace
}  // namespace dw
