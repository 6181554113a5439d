#include "catalog/table_loader.h"

#include <gtest/gtest.h>

#include "dataset/field_splitter.h"
#include "common/sjis.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using Fields = std::vector<std::string>;
using test::Sjis;

TEST(SplitFields, AlwaysThreeEmptyFieldsAfterTheLine) {
  EXPECT_EQ(SplitFields("a"), (Fields{"a", "", "", ""}));
  EXPECT_EQ(SplitFields("a\t\tb"), (Fields{"a", "", "b", "", "", ""}));
  EXPECT_EQ(SplitFields(""), (Fields{"", "", "", ""}));
  EXPECT_EQ(SplitFields("a\t"), (Fields{"a", "", "", "", ""}));
  EXPECT_EQ(SplitFields("\"a\tb\""), (Fields{"\"a", "b\"", "", "", ""}));
}

TEST(SplitFields, TabAfterLeadByteBelongsToTheCharacter) {
  // 0x81 0x09 is one (invalid) double-byte character: the TAB does not split.
  EXPECT_EQ(SplitFields("x\x81\ty"), (Fields{"x\x81\ty", "", "", ""}));
  // A lead byte at the very end swallows the first appended TAB.
  EXPECT_EQ(SplitFields("a\x81"), (Fields{"a\x81\t", "", ""}));
  // Trail bytes in the ASCII range (0x5C, 0x74) do not confuse the splitter.
  std::string so = "\x83\x5C";  // ソ
  EXPECT_EQ(SplitFields(so + "\t" + so), (Fields{so, so, "", "", ""}));
}

TEST(TextLoader, SectionsRowsAndSkippedLines) {
  RowTable rows;
  std::vector<std::string> lines = {
      "# comment", "*VandrelGenre", "3\t" + Sjis("創作") + "\t", "   \tignored", "", "#x\t1", "4\tb",
      "*VandrelMap\tnote", "E\t1"};
  ASSERT_EQ(LoadTextTableLines(lines, rows), 3u);
  EXPECT_EQ(rows[0].number, 0);
  EXPECT_EQ(rows[0].cells, (Fields{"*VandrelGenre", "3", Sjis("創作"), "", "", "", ""}));
  EXPECT_EQ(rows[1].number, 1);
  EXPECT_EQ(rows[1].cells[1], "4");
  EXPECT_EQ(rows[2].cells[0], "*VandrelMap");  // the note after the section name is dropped
  EXPECT_TRUE(rows[2].InSection("*vandrelmap"));
  EXPECT_FALSE(rows[2].InSection("*VandrelMa"));
}

TEST(TextLoader, RowsBeforeAnySectionHaveNoSectionCell) {
  RowTable rows;
  LoadTextTableLines({"*x", "a\tb"}, rows);
  EXPECT_TRUE(rows[0].has_section);
  LoadTextTableLines({"a\tb", "*Vandrel ", "c"}, rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_FALSE(rows[0].has_section);
  EXPECT_EQ(rows[0].cells, (Fields{"a", "b", "", "", ""}));
  EXPECT_FALSE(rows[0].InSection("a"));
  EXPECT_FALSE(rows[1].InSection("*Vandrel"));  // a blank after the name does not match
  EXPECT_TRUE(rows[1].InSection("*VANDREL "));
  EXPECT_EQ(LastRowOf(rows, "*Vandrel "), &rows[1]);
  EXPECT_THROW(rows[0].Cell(5), Error);
  const test::ThrownError e = test::Thrown([&] { rows[0].Cell(7); });
  EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (7)");
}

TEST(CircleLoader, BlankFirstFieldsBecomeZeroAndProgressMoves) {
  test::RecordingStatusLog log;
  RowTable rows;
  std::vector<std::string> lines = {"", "  \t\tx", "#c", "*S", "5\t6"};
  ASSERT_EQ(LoadCircleTableLines(lines, rows, log), 3u);
  EXPECT_EQ(rows[0].cells, (Fields{"0", "0", "", ""}));
  EXPECT_EQ(rows[1].cells, (Fields{"0", "0", "x", "", "", ""}));
  EXPECT_EQ(rows[2].cells, (Fields{"*S", "5", "6", "", "", ""}));
  EXPECT_EQ(rows[2].number, 2);
  EXPECT_EQ(log.calls[0], "min: 0");
  EXPECT_EQ(log.calls[1], "max: 12800");
  EXPECT_EQ(log.calls[2], "position: 0");
}

TEST(CircleLoader, ProgressEveryHundredRows) {
  test::RecordingStatusLog log;
  RowTable rows;
  std::vector<std::string> lines(250, "1\t2");
  LoadCircleTableLines(lines, rows, log);
  std::vector<std::string> positions;
  for (auto& c : log.calls)
    if (c.rfind("position", 0) == 0) positions.push_back(c);
  EXPECT_EQ(positions, (Fields{"position: 0", "position: 0", "position: 100", "position: 200"}));
  EXPECT_EQ(log.process_events, 3);
}

TEST(Loaders, MissingFileIsFileNotFound) {
  test::TempDir dir;
  RowTable rows;
  const test::ThrownError e = test::Thrown([&] { LoadTextTable(dir / "C76MAP.TXT", rows); });
  EXPECT_EQ(std::string(e.what()).rfind("ファイルが見つかりません", 0), 0u);
}

}  // namespace
}  // namespace dw
