// The check-list export: check and purchase files of a card folder -> ZAVO_DS_Check.csv.
#include "checklist/check_list_export.h"

#include <gtest/gtest.h>

#include "checklist/purchase_memo.h"
#include "support/checklist_fixtures.h"
#include "common/messages.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::Bytes;
using test::ReadFile;
using test::WriteFile;

// A D_Full line whose cells are named after their field: "f1" .. "f16".
std::string FullLine(const std::string& circle) {
  std::string line = circle;
  for (int k = 1; k <= 16; ++k) line += "\tf" + std::to_string(k);
  return line + "\r\n";
}

std::string FullFile(int first, int count) {
  std::string text;
  for (int c = first; c < first + count; ++c) text += FullLine(std::to_string(c));
  return text;
}

// The record line the export writes for FullLine(circle).
std::string Expected(const std::string& circle, int colour, const std::string& memo = "") {
  return circle + "," + std::to_string(colour) + ",f3,f4,f5,f6,f7,f8,f9,f10,f12,f13,f14,f15,f16,f1,f2," + memo +
         ",f11,\r\n";
}

const std::string kHeader77 = "PELORIN,100,Quorvatelle77,Windows\r\n";

// A card folder with one day of circles 0-9 unless a test changes it.
class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDef(77);
    WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 10}}));
    WriteFile(card() / "DataFull" / "D_Full1.dat", FullFile(0, 10));
    WriteChecks(1, {});
    WritePurchases(1, 10, {});
  }

  fs::path card() const { return dir_ / "ZAVO_DS"; }
  fs::path csv() const { return dir_ / "PC" / "ZAVO_DS_Check.csv"; }

  void WriteDef(uint16_t event) {
    std::string def(62, '\0');
    def[0] = static_cast<char>(event & 0xFF);
    def[1] = static_cast<char>(event >> 8);
    WriteFile(card() / "CDATA" / "DEF.dat", def);
  }
  void WriteChecks(int day, const std::vector<CheckSlot>& slots) {
    WriteFile(card() / "CheckList" / ("Check" + std::to_string(day) + ".dat"), test::HandheldCheckFile(slots));
  }
  void WritePurchases(int day, uint16_t count, const std::vector<test::PlacedPurchase>& filled) {
    WriteFile(card() / "CheckList" / ("D_Buy" + std::to_string(day) + ".dat"), test::PurchaseFileBytes(count, filled));
  }

  CheckListExportResult Run(int substitute = 0) {
    CheckListExport job;
    job.params = {card(), dir_ / "PC", substitute};
    CheckListExportResult r = job.Run();
    circle_lines_ = job.circle_lines().size();
    return r;
  }
  std::string Csv() const { return ReadFile(csv()); }

  // Runs an export that must fail: the message must name `file`, no CSV may appear and an
  // earlier one must stay.
  void ExpectFailureNaming(const std::string& file) {
    WriteFile(csv(), "earlier");
    const test::ThrownError e = test::Thrown([&] { Run(); });
    EXPECT_TRUE(e.Contains(file)) << e.what();
    EXPECT_EQ(ReadFile(csv()), "earlier");
    EXPECT_FALSE(fs::exists(csv().string() + ".partial"));
  }

  test::TempDir dir_;
  size_t circle_lines_ = 0;
};

TEST_F(ExportTest, HeaderCarriesTheEventNumberUnsigned) {
  const CheckListExportResult r = Run();
  EXPECT_EQ(r.csv_file, csv());
  EXPECT_EQ(r.day_count, 1);
  EXPECT_EQ(r.record_lines, 0u);
  EXPECT_EQ(Csv(), kHeader77);
  WriteDef(300);
  Run();
  EXPECT_EQ(Csv(), "PELORIN,100,Quorvatelle300,Windows\r\n");
  WriteDef(0xFFFF);
  Run();
  EXPECT_EQ(Csv(), "PELORIN,100,Quorvatelle65535,Windows\r\n");
}

TEST_F(ExportTest, NoDayFilesGiveTheHeaderOnly) {
  fs::remove_all(card() / "DataFull");
  fs::remove_all(card() / "CheckList");
  EXPECT_EQ(Run().day_count, 0);
  EXPECT_EQ(Csv(), kHeader77);
}

TEST_F(ExportTest, ColoursOutsideOneToNineTakeTheSubstitute) {
  WriteChecks(1, {{1, 0, 3}, {2, 0, 0}, {3, 0, 10}, {4, 0, 255}, {5, 1, 9}});
  Run(0);
  EXPECT_EQ(Csv(), kHeader77 + Expected("1", 3) + Expected("2", 0) + Expected("3", 0) + Expected("4", 0) +
                       Expected("5", 9));
  Run(7);
  EXPECT_EQ(Csv(), kHeader77 + Expected("1", 3) + Expected("2", 7) + Expected("3", 7) + Expected("4", 7) +
                       Expected("5", 9));
  EXPECT_THROW(Run(10), Error);
  EXPECT_THROW(Run(-1), Error);
}

TEST_F(ExportTest, VisitedAndPurchaseMemo) {
  WriteChecks(1, {{1, 8 | 1, 2}, {2, 1, 2}, {3, 0, 2}, {4, 8, 2}});
  WritePurchases(1, 10,
                 {{3, 0, {1, 2, 50}}, {3, 4, {2, 3, 0}}, {3, 9, {7, 1, 30}}, {4, 5, {2, 3, 0}}, {2, 1, {0, 0, 0}}});
  Run();
  // 新刊:500円×2＝1000円\n既刊:0円×3＝0円\n完売:300円×1＝300円\n合計：1300円\n
  const std::string purchases =
      "\x90\x56\x8A\xA7:500\x89\x7E\x81\x7E" "2\x81\x81" "1000\x89\x7E\\n"
      "\x8A\xF9\x8A\xA7:0\x89\x7E\x81\x7E" "3\x81\x81" "0\x89\x7E\\n"
      "\x8A\xAE\x94\x84:300\x89\x7E\x81\x7E" "1\x81\x81" "300\x89\x7E\\n"
      "\x8D\x87\x8C\x76\x81\x46" "1300\x89\x7E\\n";
  const std::string visited = "\x96\x4B\x96\xE2\x8D\xCF\\n";  // 訪問済\n
  EXPECT_EQ(Csv(), kHeader77 + Expected("1", 2, visited) + Expected("2", 2) + Expected("3", 2, purchases) +
                       Expected("4", 2, visited + "\x8A\xF9\x8A\xA7:0\x89\x7E\x81\x7E" "3\x81\x81" "0\x89\x7E\\n"));
}

TEST(PurchaseMemo, KindNames) {
  EXPECT_EQ(test::Hex(PurchaseKindName(0)), "81 40");
  EXPECT_EQ(PurchaseKindName(4), test::Sjis("グッズ"));
  EXPECT_EQ(PurchaseKindName(6), test::Sjis("新刊無"));
  EXPECT_EQ(test::Hex(PurchaseKindName(8)), "81 40");
  EXPECT_EQ(test::Hex(PurchaseKindName(9)), "81 40");
  EXPECT_EQ(PurchaseKindName(10), "");
  EXPECT_EQ(PurchaseKindName(11), "11");
  EXPECT_EQ(PurchaseKindName(255), "255");

  PurchaseRecord record{};
  record[2] = {0, 1, 10};
  record[5] = {11, 2, 65535};
  EXPECT_EQ(CheckMemo(0, &record), "\x81\x40:100\x89\x7E\x81\x7E" "1\x81\x81" "100\x89\x7E\\n"
                                   "11:655350\x89\x7E\x81\x7E" "2\x81\x81" "1310700\x89\x7E\\n"
                                   "\x8D\x87\x8C\x76\x81\x46" "1310800\x89\x7E\\n");
  EXPECT_EQ(CheckMemo(8, nullptr), "\x96\x4B\x96\xE2\x8D\xCF\\n");
  EXPECT_EQ(CheckMemo(0xF7, nullptr), "");
}

TEST_F(ExportTest, SlotsMatchEveryLineOfTheirCircleInOrder) {
  // Circle 3 appears twice in the table (days 1 and 2); circle 40 nowhere.
  WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 10}, {10, 5}}));
  WriteFile(card() / "DataFull" / "D_Full2.dat", FullFile(10, 4) + FullLine("3"));
  WriteChecks(2, {{12, 0, 1}});
  WritePurchases(2, 5, {});
  WriteChecks(1, {{7, 0, 5}, {40, 0, 1}, {3, 0, 2}});
  const CheckListExportResult r = Run();
  EXPECT_EQ(r.record_lines, 4u);
  EXPECT_EQ(Csv(), kHeader77 + Expected("7", 5) + Expected("3", 2) + Expected("3", 2) + Expected("12", 1));
}

TEST_F(ExportTest, DaysAreCountedNotNumbered) {
  // Only D_Full1 and D_Full3: the export handles days 1 and 2, with check, purchase and index
  // records 1 and 2. No Check3.dat exists.
  WriteFile(card() / "DataFull" / "D_Full1.dat", FullFile(0, 5));
  WriteFile(card() / "DataFull" / "D_Full3.dat", FullFile(10, 5));
  WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 5}, {10, 5}}));
  WriteChecks(1, {{2, 0, 4}});
  WriteChecks(2, {{12, 0, 6}});
  WritePurchases(1, 5, {});
  WritePurchases(2, 5, {{2, 0, {5, 1, 1}}});
  EXPECT_EQ(Run().day_count, 2);
  const std::string other = "\x82\xBB\x82\xCC\x91\xBC:10\x89\x7E\x81\x7E" "1\x81\x81" "10\x89\x7E\\n"
                            "\x8D\x87\x8C\x76\x81\x46" "10\x89\x7E\\n";  // その他:10円×1＝10円\n合計：10円\n
  EXPECT_EQ(Csv(), kHeader77 + Expected("2", 4) + Expected("12", 6, other));
}

TEST_F(ExportTest, CircleOutsideItsDayGetsNoPurchaseLines) {
  // Day 1 covers circles 0-4 but the table holds 0-9; record 0 of D_Buy1 has a purchase.
  WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 5}}));
  WritePurchases(1, 5, {{0, 0, {1, 1, 1}}});
  WriteChecks(1, {{8, 8, 1}});
  Run();
  EXPECT_EQ(Csv(), kHeader77 + Expected("8", 1, "\x96\x4B\x96\xE2\x8D\xCF\\n"));
}

TEST_F(ExportTest, CircleTableGrowsBeyond65536Lines) {
  WriteFile(card() / "DataFull" / "D_Full1.dat", FullFile(0, 66000));
  WriteFile(card() / "DataFull" / "D_Full2.dat", FullLine("5"));
  WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 66000 & 0xFFFF}, {0, 1}}));
  WriteChecks(1, {{5, 0, 1}});
  WriteChecks(2, {});
  WritePurchases(1, 10, {});
  WritePurchases(2, 1, {});
  EXPECT_EQ(Run().record_lines, 2u);
  EXPECT_EQ(circle_lines_, 66001u);
  EXPECT_EQ(Csv(), kHeader77 + Expected("5", 1) + Expected("5", 1));
}

TEST_F(ExportTest, DamagedCardFilesStopNamingTheFile) {
  WriteChecks(1, {{1, 0, 1}});
  // Used-slot count above the slots held.
  WriteFile(card() / "CheckList" / "Check1.dat", Bytes({0x20, 0x4E}) + test::HandheldCheckFile({}).substr(2));
  ExpectFailureNaming("Check1.dat");
  // Truncated inside the used slots.
  WriteFile(card() / "CheckList" / "Check1.dat", test::HandheldCheckFile({{1, 0, 1}, {2, 0, 1}}).substr(0, 8));
  ExpectFailureNaming("Check1.dat");
  WriteChecks(1, {{9, 0, 1}});
  // A purchase file shorter than its count, and one that lacks the record of a day's circle.
  WriteFile(card() / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(10, {}).substr(0, 100));
  ExpectFailureNaming("D_Buy1.dat");
  WritePurchases(1, 5, {});
  ExpectFailureNaming("D_Buy1.dat");
  WritePurchases(1, 10, {});
  // Missing files.
  fs::remove(card() / "CheckList" / "D_Buy1.dat");
  ExpectFailureNaming("D_Buy1.dat");
  WritePurchases(1, 10, {});
  fs::remove(card() / "CDATA" / "DEF.dat");
  ExpectFailureNaming("DEF.dat");
  WriteFile(card() / "CDATA" / "DEF.dat", Bytes({77}));
  ExpectFailureNaming("DEF.dat");
  WriteDef(77);
  // A day without its L_DayTop.dat record.
  WriteFile(card() / "DataFull" / "D_Full2.dat", FullLine("10"));
  ExpectFailureNaming("L_DayTop.dat");
  fs::remove(card() / "DataFull" / "D_Full2.dat");
  // A D_Full line whose field 0 is no integer: named with its line.
  WriteFile(card() / "DataFull" / "D_Full1.dat", FullLine("0") + FullLine("1 ") + FullLine("2"));
  ExpectFailureNaming("D_Full1.dat 2 行目");
  WriteFile(card() / "DataFull" / "D_Full1.dat", FullLine("0") + "\r\n");
  ExpectFailureNaming("D_Full1.dat 2 行目");
  // Everything mended: the export runs again.
  WriteFile(card() / "DataFull" / "D_Full1.dat", FullFile(0, 10));
  Run();
  EXPECT_EQ(Csv(), kHeader77 + Expected("9", 1));
}

TEST_F(ExportTest, ShortFullLineIsAnError) {
  WriteFile(card() / "DataFull" / "D_Full1.dat", "4\ta\tb\r\n");
  WriteChecks(1, {{4, 0, 1}});
  EXPECT_THROW(Run(), Error);
  EXPECT_FALSE(fs::exists(csv()));
}

}  // namespace
}  // namespace dw
