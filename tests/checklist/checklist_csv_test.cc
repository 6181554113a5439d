// Reading check-list CSV lines and writing record lines.
#include "checklist/checklist_csv.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using Fields = std::vector<std::string>;

// The fields before the ten appended empty ones.
Fields Own(const std::string& line, size_t padding = 10) {
  Fields f = SplitCsvLine(line);
  EXPECT_GE(f.size(), padding);
  for (size_t i = f.size() - padding; i < f.size(); ++i) EXPECT_EQ(f[i], "") << line;
  f.resize(f.size() - padding);
  return f;
}

TEST(CsvSplit, PlainFieldsShortLinesAndCommas) {
  EXPECT_EQ(Own("a,b,,c"), (Fields{"a", "b", "", "c"}));
  EXPECT_EQ(SplitCsvLine("a").size(), 11u);
  EXPECT_EQ(SplitCsvLine("").size(), 11u);
  // A record as the export writes it: 20 fields, the last one empty, then the padding.
  EXPECT_EQ(SplitCsvLine("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,").size(), 30u);
}

TEST(CsvSplit, QuotedFields) {
  EXPECT_EQ(Own("\"a,b\",c"), (Fields{"a,b", "c"}));
  EXPECT_EQ(Own("\"say \"\"hi\"\"\",x"), (Fields{"say \"hi\"", "x"}));
  EXPECT_EQ(Own("\"\",x"), (Fields{"", "x"}));
  EXPECT_EQ(Own("1,\"\"\"\",2"), (Fields{"1", "\"", "2"}));
  // Exactly one character after the closing quote is skipped, whatever it is.
  EXPECT_EQ(Own("\"ab\"x,c"), (Fields{"ab", "", "c"}));
  // A quote inside an unquoted field is an ordinary character.
  EXPECT_EQ(Own("a\"b,c"), (Fields{"a\"b", "c"}));
}

TEST(CsvSplit, DoubleByteCharactersAreSteppedOverWhole) {
  // 0x81 0x22 is not a quote followed by text: the quote is the second byte of the pair.
  const std::string line = "\"\x81\x22,x\",y";
  EXPECT_EQ(Own(line), (Fields{"\x81\x22,x", "y"}));
  // ソ (83 5C) and 表 (95 5C) inside quotes.
  EXPECT_EQ(Own("\"\x83\x5C\x95\x5C\",z"), (Fields{"\x83\x5C\x95\x5C", "z"}));
}

TEST(CsvSplit, UnclosedQuoteRunsToTheEnd) {
  const Fields f = SplitCsvLine("\"abc,d");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0], "abc,d,,,,,,,,,,");
  EXPECT_EQ(f[1], "");
}

TEST(CsvRead, KeepsOnlyLinesWithField0) {
  const std::string text =
      "PELORIN,100,Quorvatelle77,Windows\r\n"
      "\r\n"
      "   \r\n"
      ",,,,,\r\n"
      "\"\",x\r\n"
      " 5,1\r\n"
      "6,2";
  int calls = 0;
  const CsvLines lines = ReadCsvLines(text, [&] { ++calls; });
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0][0], "PELORIN");
  EXPECT_EQ(lines[1][0], " 5");
  EXPECT_EQ(lines[2][1], "2");
  EXPECT_EQ(calls, 3);
}

TEST(CsvRead, LineEnds) {
  for (const std::string sep : {"\r\n", "\n", "\r"}) {
    const CsvLines lines = ReadCsvLines("PELORIN,1" + sep + "1,2" + sep + sep + "3,4" + sep);
    ASSERT_EQ(lines.size(), 3u) << test::Hex(sep);
    EXPECT_EQ(lines[1][1], "2");
    EXPECT_EQ(lines[2][0], "3");
    EXPECT_EQ(lines[2][1], "4");
  }
  // Mixed ends and the end-of-file byte.
  const CsvLines mixed = ReadCsvLines("PELORIN\r1\n2\r\n3\x1A" "4\r\n");
  ASSERT_EQ(mixed.size(), 4u);
  EXPECT_EQ(mixed[3][0], "3");
}

TEST(CsvRead, Ver1IsTheTagOfTheFirstKeptLine) {
  test::TempDir dir;
  const std::pair<std::string, bool> cases[] = {
      {"\r\n ,x\r\nPELORIN,100\r\n1,2\r\n", true}, {"pelorin,100\r\n", false}, {"1,2\r\nPELORIN\r\n", false},
      {"\x89PNG\r\n\x1A\n", false},                     {"", false}};
  for (const auto& [text, ver1] : cases) {
    test::WriteFile(dir / "list.csv", text);
    EXPECT_EQ(IsVer1CheckListFile(dir / "list.csv"), ver1) << test::Hex(text);
  }
}

TEST(CsvRead, MissingFileIsAnError) {
  test::TempDir dir;
  const test::ThrownError e = test::Thrown([&] { ReadCsvFile(dir / "none.csv"); });
  EXPECT_TRUE(e.Contains("ファイルが見つかりません")) << e.what();
}

TEST(CsvMemo, TrimThenReplaceLineBreaks) {
  EXPECT_EQ(MemoFromCsv("a\\nb"), "a b");
  EXPECT_EQ(MemoFromCsv("a\\Nb\\n"), "a b ");
  EXPECT_EQ(MemoFromCsv("a\\n  \t"), "a ");  // trimmed first, so the break's space stays
  EXPECT_EQ(MemoFromCsv(test::Sjis("訪問済\\n")), test::Sjis("訪問済 "));
  // ソ\n is 83 5C 5C 6E: only the second backslash starts a match.
  EXPECT_EQ(test::Hex(MemoFromCsv("\x83\x5C\x5C\x6E")), "83 5C 20");
  // A trail byte 0x5C followed by n is part of its character.
  EXPECT_EQ(MemoFromCsv("\x83\x5Cn"), "\x83\x5Cn");
  EXPECT_EQ(MemoFromCsv("\\\\n"), "\\ ");
  EXPECT_EQ(MemoFromCsv("\\x"), "\\x");
}

}  // namespace
}  // namespace dw
