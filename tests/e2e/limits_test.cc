// Input beyond the sizes of the handheld's tables, through the command line: more checks a day
// than the import takes, more circles than the export's circle table was sized for, card files
// with absurd counts, and catalogs with more blocks or maps than a byte or the map files hold.
// Each either works or ends with a clear message and exit status 1, keeping the old files.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "support/checklist_fixtures.h"
#include "common/table_builder.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::Words;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

size_t CountOf(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

constexpr const char* kDayLimitText =
    "一日あたりの最大チェック数(1000件)を超えています。\n"
    "チェック数を減らしてから再度変換を行ってください。\n作業を中止します。\n";

TEST(ImportLimits, ThousandChecksADayAtMostCountingEveryColour) {
  test::TempDir dir;
  test::WriteWorkspace(dir / "WS", {2, 100, 200}, {{0, 1500}, {1500, 1500}, {3000, 10}});
  const fs::path out = dir / "OUT" / "CheckList";
  auto import = [&](const std::string& records) {
    test::WriteFile(dir / "in.csv", std::string(test::kCsvHeader) + records);
    return test::RunCli(
        Words({"import", (dir / "in.csv").string(), (dir / "OUT").string(), "--workspace", (dir / "WS").string()}),
        dir);
  };
  std::string day1;
  for (int i = 0; i < 10; ++i) day1 += test::CsvRecord(std::to_string(i), "1", "2");
  // Day 2: records of every colour, empty and 0 included (they count, though they store no slot),
  // and records of circle -1 (they are no records of any day).
  std::string day2;
  for (int i = 0; i < 1000; ++i) {
    const char* colours[] = {"", "0", "1", "5", "9"};
    day2 += test::CsvRecord(std::to_string(1500 + i), colours[i % 5], "150", "m");
  }
  for (int i = 0; i < 30; ++i) day2 += test::CsvRecord("-1", "3", "150");

  test::CliResult r = import(day1 + day2);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::CheckSlotsOf(out / "Check2.dat").size(), 600u);
  EXPECT_EQ(fs::file_size(out / "Check2.dat"), 4098u);
  EXPECT_EQ(fs::file_size(out / "C_Memo2.dat"), 2u + 162u * 1500u);

  // One more record on day 2, of colour 0: the limit message. Day 1 is written again, days 2 and
  // 3 keep their old files.
  for (const char* name : {"Check1.dat", "C_Memo1.dat", "Check2.dat", "C_Memo2.dat", "Check3.dat", "C_Memo3.dat"}) {
    test::WriteFile(out / name, std::string("old ") + name);
  }
  r = import(day1 + day2 + test::CsvRecord("2600", "0", "199"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kDayLimitText);
  EXPECT_EQ(test::CheckSlotsOf(out / "Check1.dat").size(), 10u);
  for (const char* name : {"Check2.dat", "C_Memo2.dat", "Check3.dat", "C_Memo3.dat"}) {
    EXPECT_EQ(test::ReadFile(out / name), std::string("old ") + name);
  }
  for (const auto& e : fs::directory_iterator(out)) EXPECT_FALSE(e.path().extension() == ".partial");
}

// A card folder with two days of D_Full records: circles 0 .. first_day - 1 and
// first_day .. total - 1.
class ExportLimits : public ::testing::Test {
 protected:
  void WriteCard(int first_day, int total) {
    std::string def(62, '\0');
    def[0] = 77;
    test::WriteFile(card() / "CDATA" / "DEF.dat", def);
    test::WriteFile(card() / "CDATA" / "L_DayTop.dat",
                    test::DayTopBytes({{0, static_cast<uint16_t>(first_day)},
                                       {static_cast<uint16_t>(first_day), static_cast<uint16_t>(total - first_day)}}));
    std::string d1, d2;
    for (int c = 0; c < total; ++c) {
      (c < first_day ? d1 : d2) +=
          std::to_string(c) + "\tn" + std::to_string(c) + "\tk\t2\t1\t1\tE\tA\t01\t\t\t\t\t\t\t\t\r\n";
    }
    test::WriteFile(card() / "DataFull" / "D_Full1.dat", d1);
    test::WriteFile(card() / "DataFull" / "D_Full2.dat", d2);
    test::WriteFile(card() / "CheckList" / "Check1.dat", test::HandheldCheckFile({}));
    test::WriteFile(card() / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(static_cast<uint16_t>(first_day), {}));
    test::WriteFile(card() / "CheckList" / "D_Buy2.dat",
                    test::PurchaseFileBytes(static_cast<uint16_t>(total - first_day), {}));
  }
  fs::path card() const { return dir_ / "ZAVO_DS"; }
  test::CliResult Export() {
    return test::RunCli(Words({"export", card().string(), (dir_ / "PC").string(), "--colour", "4"}), dir_);
  }
  std::string Csv() const { return test::ReadFile(dir_ / "PC" / "ZAVO_DS_Check.csv"); }

  test::TempDir dir_;
};

TEST_F(ExportLimits, MoreThan65536CirclesAreAllLoaded) {
  WriteCard(40000, 70000);
  // Check slots hold 16-bit circle numbers: 65535 is the last circle a slot can name, and slot
  // 4464 names circle 4464 of day 1, never circle 69999 (= 4464 + 65536).
  test::WriteFile(card() / "CheckList" / "Check2.dat",
                  test::HandheldCheckFile({{65535, 8, 1}, {4464, 0, 0}, {40000, 0, 12}}));
  const test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string csv = Csv();
  EXPECT_EQ(CountOf(csv, "\r\n"), 4u);
  EXPECT_TRUE(Contains(csv, "\r\n65535,1,2,1,1,E,A,01,")) << csv;
  EXPECT_TRUE(Contains(csv, "\r\n4464,4,2,")) << csv;
  EXPECT_TRUE(Contains(csv, "\r\n40000,4,2,")) << csv;
  EXPECT_FALSE(Contains(csv, "69999"));
}

TEST_F(ExportLimits, CardFilesWithAbsurdCounts) {
  WriteCard(3, 5);
  // Every one of 65535 used slots names circle 1, which the card lists once: one line each.
  {
    TableBuilder check;
    for (int k = 0; k < 65535; ++k) check.U16(1).U8(1).U8(2);
    check.SetCount(65535);
    test::WriteFile(card() / "CheckList" / "Check1.dat", check.bytes());
  }
  test::WriteFile(card() / "CheckList" / "Check2.dat", test::HandheldCheckFile({{3, 0, 0}}));
  // A purchase file of 65535 records with every slot at its largest values.
  std::string buy = test::PurchaseFileBytes(65535, {});
  for (size_t at = 2; at < buy.size(); ++at) buy[at] = '\xFF';
  test::WriteFile(card() / "CheckList" / "D_Buy2.dat", buy);
  // A day index of 65535 days, of which the export reads the two it has D_Full files for.
  {
    TableBuilder day_top;
    day_top.U16(0).U16(3).U16(3).U16(2);
    for (int d = 2; d < 65535; ++d) day_top.U16(0xFFFF).U16(0xFFFF);
    day_top.SetCount(65535);
    test::WriteFile(card() / "CDATA" / "L_DayTop.dat", day_top.bytes());
  }
  test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  std::string csv = Csv();
  EXPECT_EQ(CountOf(csv, "\r\n1,2,2,"), 65535u);
  // Kind 255 has no name and is printed as its code; 10 slots of 655350 yen x 255 add up past
  // what 31 bits would hold.
  const std::string line = test::Sjis("255:655350円×255＝167114250円\\n");
  EXPECT_EQ(CountOf(csv, line), 10u);
  EXPECT_TRUE(Contains(csv, test::Sjis("合計：1671142500円\\n"))) << csv.substr(csv.size() - 400);

  // Counts larger than the files: refused, naming the file, and the CSV of the last run stays.
  const std::string good_csv = csv;
  const struct {
    const char* file;
    std::string bytes;
  } damaged[] = {
      {"CheckList/Check1.dat", std::string("\xFF\xFF", 2) + test::HandheldCheckFile({}).substr(2)},
      {"CheckList/D_Buy1.dat", std::string("\xFF\xFF", 2) + std::string(400, '\0')},
      {"CDATA/L_DayTop.dat", std::string("\xFF\xFF", 2) + test::DayTopBytes({{0, 3}, {3, 2}}).substr(2)},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.file);
    const std::string before = test::ReadFile(card() / d.file);
    test::WriteFile(card() / d.file, d.bytes);
    r = Export();
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, (card() / d.file).string() + "\" が壊れています")) << r.err;
    EXPECT_EQ(Csv(), good_csv);
    test::WriteFile(card() / d.file, before);
  }
}

TEST(ImportLimits, DayTablesWithAbsurdCounts) {
  test::TempDir dir;
  test::WriteFile(dir / "in.csv", std::string(test::kCsvHeader) + test::CsvRecord("65534", "1", "2", "last"));
  auto import = [&] {
    return test::RunCli(
        Words({"import", (dir / "in.csv").string(), (dir / "OUT").string(), "--workspace", (dir / "WS").string()}),
        dir);
  };
  // A day of 65535 circles: the memo file holds them all.
  test::WriteWorkspace(dir / "WS", {2}, {{0, 65535}});
  test::CliResult r = import();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string memo = test::ReadFile(dir / "OUT" / "CheckList" / "C_Memo1.dat");
  ASSERT_EQ(memo.size(), 2u + 162u * 65535u);
  EXPECT_EQ(memo.substr(2 + 160u * 65534u, 5), std::string("last\0", 5));
  // Counts beyond the files' ends.
  test::WriteFile(dir / "WS" / "CDATA" / "L_Date.dat", std::string("\xFF\xFF", 2) + test::DayListBytes({2}).substr(2));
  r = import();
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, (dir / "WS" / "CDATA" / "L_Date.dat").string() + "\" が壊れています")) << r.err;
  test::WriteWorkspace(dir / "WS", {2}, {{0, 10}});
  test::WriteFile(dir / "WS" / "CDATA" / "L_DayTop.dat",
                  std::string("\xFF\xFF", 2) + test::DayTopBytes({{0, 10}}).substr(2));
  r = import();
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, (dir / "WS" / "CDATA" / "L_DayTop.dat").string() + "\" が壊れています")) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "OUT" / "CheckList" / "C_Memo1.dat"), memo);
}

// A copy of the sample catalog whose tables the test rewrites.
class CatalogLimits : public ::testing::Test {
 protected:
  void SetUp() override { fs::copy(test::SampleCatalog(), catalog(), fs::copy_options::recursive); }
  fs::path catalog() const { return dir_ / "catalog"; }
  fs::path Table(const std::string& name) const { return catalog() / "CDATA" / name; }
  void Replace(const std::string& name, const std::string& from_utf8, const std::string& to_utf8) {
    std::string text = test::ReadFile(Table(name));
    const std::string from = test::Sjis(from_utf8);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from_utf8;
    text.replace(at, from.size(), test::Sjis(to_utf8));
    test::WriteFile(Table(name), text);
  }
  test::CliResult Convert() {
    fs::create_directories(dir_ / "DEST");
    return test::RunCli(Words({"convert", catalog().string(), (dir_ / "DEST").string(), "--mode", "data", "--workspace",
                               (dir_ / "WS").string()}),
                        dir_);
  }
  // Old content in the files the failing writer would write; none may change.
  void WriteOld(std::initializer_list<const char*> names) {
    for (const char* n : names) test::WriteFile(dir_ / "WS" / "CDATA" / n, std::string("old ") + n);
  }
  void ExpectOld(std::initializer_list<const char*> names) {
    for (const char* n : names) EXPECT_EQ(test::ReadFile(dir_ / "WS" / "CDATA" / n), std::string("old ") + n) << n;
    EXPECT_FALSE(fs::exists(dir_ / "DEST" / "ZAVO_DS"));
  }

  test::TempDir dir_;
};

// A map table of n blocks with two-byte names "Aa", "Ab", ... .
std::string MapTableOfBlocks(int n) {
  std::string text;
  for (int b = 0; b < n; ++b) {
    const std::string name{static_cast<char>('A' + b / 26), static_cast<char>('a' + b % 26)};
    text += name + "\t1\t" + std::to_string(10 + b) + "\t20\t1\r\n";
  }
  return text;
}

TEST_F(CatalogLimits, MoreThan256BlocksStopWithAMessage) {
  test::WriteFile(Table("C77MAP.TXT"), MapTableOfBlocks(256));
  test::CliResult r = Convert();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fs::file_size(dir_ / "WS" / "CDATA" / "L_Block.dat"), 2u + 2u * 256u);

  test::WriteFile(Table("C77MAP.TXT"), MapTableOfBlocks(257));
  fs::remove_all(dir_ / "DEST");
  WriteOld({"L_Block.dat", "L_MapPos.dat"});
  r = Convert();
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "ブロック数が上限の 256 を超えています (257 番目のブロック 'Jw')")) << r.err;
  ExpectOld({"L_Block.dat", "L_MapPos.dat"});
}

TEST_F(CatalogLimits, CircleOnASixthMapStopsWithAMessage) {
  // Five maps, the last one holding the blocks ＡＢＣ of day 1: fine.
  Replace("C77DEF.TXT", "W12\t西12\r\n", "W12\t西12\r\nM4\tm4\r\nM5\tm5\r\n");
  Replace("C77DEF.TXT", "東A\tE123\t", "東A\tM5\t");
  test::CliResult r = Convert();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir_ / "WS" / "CDATA" / "M1Map4.dat"));

  // A sixth map: day 1's circles in block Ａ would need a sixth day map file.
  Replace("C77DEF.TXT", "M5\tm5\r\n", "M5\tm5\r\nM6\tm6\r\n");
  Replace("C77DEF.TXT", "東A\tM5\t", "東A\tM6\t");
  fs::remove_all(dir_ / "DEST");
  WriteOld({"C_List1.dat", "M1Map0.dat", "M1Map4.dat", "L_DayTop.dat"});
  r = Convert();
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "マップ番号が上限の 4 を超えています (ブロック 'Ａ' のマップ番号 5)")) << r.err;
  ExpectOld({"C_List1.dat", "M1Map0.dat", "M1Map4.dat", "L_DayTop.dat"});
}

}  // namespace
}  // namespace dw
