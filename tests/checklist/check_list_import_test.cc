// The check-list import: CSV records -> Check<d>.dat and C_Memo<d>.dat per day.
#include "checklist/check_list_import.h"

#include <gtest/gtest.h>

#include "checklist/job_reports.h"
#include "support/checklist_fixtures.h"
#include "common/messages.h"
#include "common/table_builder.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::CsvRecord;
using test::ReadFile;

// Three days on pages from 2, 100 and 200; circles 0-49, 50-89, 90-119.
class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteWorkspace(workspace(), {2, 100, 200}, {{0, 50}, {50, 40}, {90, 30}}); }

  fs::path workspace() const { return dir_ / "WS"; }
  fs::path out() const { return dir_ / "OUT" / "CheckList"; }
  fs::path Out(const std::string& name) const { return out() / name; }

  CheckListImportResult Run(const std::string& csv_text) {
    test::WriteFile(dir_ / "in.csv", csv_text);
    CheckListImport job;
    job.params = {dir_ / "in.csv", out(), workspace()};
    job.process_events = [this] { ++events_; };
    return job.Run();
  }

  // The memo of circle slot i in a memo file.
  std::string Memo(const std::string& file, size_t i) {
    const std::string bytes = ReadFile(Out(file));
    std::string slot = bytes.substr(2 + 160 * i, 160);
    return slot.substr(0, slot.find('\0'));
  }

  test::TempDir dir_;
  int events_ = 0;
};

TEST_F(ImportTest, HeaderOnlyWritesEmptyFilesForEveryDay) {
  const CheckListImportResult r = Run(test::kCsvHeader);
  EXPECT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
  EXPECT_TRUE(r.message.empty());
  EXPECT_EQ(r.days_written, 3);
  const std::string unused = BuildCheckFile({}, 1024);
  const uint16_t counts[] = {50, 40, 30};
  for (int d = 1; d <= 3; ++d) {
    const std::string day = std::to_string(d);
    EXPECT_EQ(ReadFile(Out("Check" + day + ".dat")), unused);
    const std::string memo = ReadFile(Out("C_Memo" + day + ".dat"));
    ASSERT_EQ(memo.size(), 2u + 162u * counts[d - 1]);
    EXPECT_EQ(ReadU16(memo, 0), counts[d - 1]);
    EXPECT_EQ(memo.find_first_not_of('\0', 2), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(Out("Check4.dat")));
  EXPECT_EQ(events_, 1);
}

TEST_F(ImportTest, RecordsGoToTheDayOfTheirPage) {
  const CheckListImportResult r =
      Run(std::string(test::kCsvHeader) + CsvRecord("3", "2", "5", "first") + CsvRecord("55", "9", "100", "m55") +
          CsvRecord("95", "1", "250 ", "m95") + CsvRecord("10", "4", "99") + CsvRecord("7", "3", "1", "before") +
          CsvRecord("8", "3", "", "nopage") + CsvRecord("-1", "5", "5", "skipped") +
          CsvRecord(" -1 ", "5", "100", "skipped too"));
  ASSERT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
  EXPECT_EQ(test::CheckSlotsOf(Out("Check1.dat")), (std::vector<CheckSlot>{{3, 1, 2}, {10, 1, 4}}));
  EXPECT_EQ(test::CheckSlotsOf(Out("Check2.dat")), (std::vector<CheckSlot>{{55, 1, 9}}));
  EXPECT_EQ(test::CheckSlotsOf(Out("Check3.dat")), (std::vector<CheckSlot>{{95, 1, 1}}));
  EXPECT_EQ(Memo("C_Memo1.dat", 3), "first");
  EXPECT_EQ(Memo("C_Memo2.dat", 5), "m55");
  EXPECT_EQ(Memo("C_Memo3.dat", 5), "m95");
  // Page 1 lies before day 1, an empty page has no day: their memos go nowhere.
  EXPECT_EQ(Memo("C_Memo1.dat", 7), "");
  EXPECT_EQ(Memo("C_Memo1.dat", 8), "");
  EXPECT_EQ(events_, 9);
}

TEST_F(ImportTest, ColourZeroOrEmptyStoresOnlyTheMemo) {
  const CheckListImportResult r = Run(std::string(test::kCsvHeader) + CsvRecord("1", "0", "2", "zero") +
                                      CsvRecord("2", "", "2", "empty") + CsvRecord("3", "  ", "2", "blank") +
                                      CsvRecord("4", "00", "2", "double zero"));
  ASSERT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
  // "00" is not the text "0": it stores a slot of colour 0.
  EXPECT_EQ(test::CheckSlotsOf(Out("Check1.dat")), (std::vector<CheckSlot>{{4, 1, 0}}));
  EXPECT_EQ(Memo("C_Memo1.dat", 1), "zero");
  EXPECT_EQ(Memo("C_Memo1.dat", 2), "empty");
  EXPECT_EQ(Memo("C_Memo1.dat", 3), "blank");
}

TEST_F(ImportTest, TwoRecordsOfOneCircle) {
  Run(std::string(test::kCsvHeader) + CsvRecord("60", "1", "150", "old") + CsvRecord("60", "6", "150", "new"));
  EXPECT_EQ(test::CheckSlotsOf(Out("Check2.dat")), (std::vector<CheckSlot>{{60, 1, 1}, {60, 1, 6}}));
  EXPECT_EQ(Memo("C_Memo2.dat", 10), "new");
}

TEST_F(ImportTest, MemoTextRules) {
  Run(std::string(test::kCsvHeader) + CsvRecord("0", "1", "2", "a\\nb") + CsvRecord("1", "1", "2", "a\\N") +
      CsvRecord("2", "1", "2", test::Sjis("訪問済\\n")) + CsvRecord("3", "1", "2", std::string(200, 'm')) +
      CsvRecord("4", "1", "2", "\"quoted, with comma\"") + CsvRecord("5", "1", "2", "trail   "));
  EXPECT_EQ(Memo("C_Memo1.dat", 0), "a b");
  EXPECT_EQ(Memo("C_Memo1.dat", 1), "a ");
  EXPECT_EQ(Memo("C_Memo1.dat", 2), test::Sjis("訪問済 "));
  const std::string bytes = ReadFile(Out("C_Memo1.dat"));
  EXPECT_EQ(bytes.substr(2 + 160 * 3, 160), std::string(159, 'm') + '\0');
  EXPECT_EQ(Memo("C_Memo1.dat", 4), "quoted, with comma");
  EXPECT_EQ(Memo("C_Memo1.dat", 5), "trail");
}

TEST_F(ImportTest, NumbersKeepTheirLowBits) {
  // 65539 is circle 3 in 16 bits; colour 258 is 2 in 8 bits.
  Run(std::string(test::kCsvHeader) + CsvRecord("65539", "258", "2", "wrapped"));
  EXPECT_EQ(test::CheckSlotsOf(Out("Check1.dat")), (std::vector<CheckSlot>{{3, 1, 2}}));
  EXPECT_EQ(Memo("C_Memo1.dat", 3), "wrapped");
}

TEST_F(ImportTest, CircleOutsideItsDayKeepsTheCheckButNoMemo) {
  // Circle 45 on a page of day 2 (circles 50-89), circle 200 beyond every day.
  Run(std::string(test::kCsvHeader) + CsvRecord("45", "3", "120", "lost") + CsvRecord("200", "4", "120", "lost"));
  EXPECT_EQ(test::CheckSlotsOf(Out("Check2.dat")), (std::vector<CheckSlot>{{45, 1, 3}, {200, 1, 4}}));
  const std::string memo = ReadFile(Out("C_Memo2.dat"));
  EXPECT_EQ(memo.size(), 2u + 162u * 40);
  EXPECT_EQ(memo.find_first_not_of('\0', 2), std::string::npos);
}

TEST_F(ImportTest, ThousandRecordsADayFitAndOneMoreStops) {
  std::string csv = test::kCsvHeader;
  for (int i = 0; i < 1000; ++i) csv += CsvRecord(std::to_string(i % 50), i % 2 ? "1" : "0", "2");
  CheckListImportResult r = Run(csv);
  ASSERT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
  EXPECT_EQ(test::CheckSlotsOf(Out("Check1.dat")).size(), 500u);

  // Day 1 stays at 1000; day 2 gets 1001 records, counting those without a colour.
  for (int i = 0; i < 1001; ++i) csv += CsvRecord(std::to_string(50 + i % 40), i % 3 ? "2" : "", "100");
  fs::remove_all(out());
  r = Run(csv);
  EXPECT_EQ(r.outcome, CheckListImportOutcome::kDayLimitExceeded);
  EXPECT_EQ(r.message, kDayLimitMessage);
  EXPECT_EQ(r.stopped_day, 2);
  EXPECT_EQ(r.days_written, 1);
  EXPECT_TRUE(fs::exists(Out("Check1.dat")));
  EXPECT_TRUE(fs::exists(Out("C_Memo1.dat")));
  EXPECT_FALSE(fs::exists(Out("Check2.dat")));
  EXPECT_FALSE(fs::exists(Out("C_Memo3.dat")));
}

TEST_F(ImportTest, NotVer1StopsBeforeWritingAnything) {
  for (const std::string csv : {"pelorin,100\r\n1,1,2\r\n", " PELORIN,100\r\n", "PELORIN ,1\r\n", "",
                                "\r\n   \r\n,,,\r\n"}) {
    const CheckListImportResult r = Run(csv);
    EXPECT_EQ(r.outcome, CheckListImportOutcome::kNotVer1) << csv;
    EXPECT_EQ(r.message, kNotVer1Message);
    EXPECT_FALSE(fs::exists(Out("Check1.dat")));
  }
  // The tag is field 0 of the first kept line; blank lines before it do not count.
  EXPECT_EQ(Run("\r\n,,\r\nPELORIN\r\n").outcome, CheckListImportOutcome::kCompleted);
  // A quoted tag is the tag.
  EXPECT_EQ(Run("\"PELORIN\",100\r\n").outcome, CheckListImportOutcome::kCompleted);
}

TEST_F(ImportTest, NonIntegerField0FailsWithoutOutput) {
  const test::ThrownError e = test::Thrown([&] {
    Run(std::string(test::kCsvHeader) + CsvRecord("1", "1", "2") + CsvRecord("x1", "1", "500"));
  });
  EXPECT_STREQ(e.what(), "'x1' は整数ではありません");
  EXPECT_FALSE(fs::exists(Out("Check1.dat")));
  EXPECT_FALSE(fs::exists(Out("C_Memo1.dat")));
  EXPECT_THROW(Run(std::string(test::kCsvHeader) + CsvRecord("1", "1", "p2")), Error);
  EXPECT_THROW(Run(std::string(test::kCsvHeader) + CsvRecord("1", "red", "2")), Error);
}

TEST_F(ImportTest, MissingOrDamagedWorkspaceTables) {
  const std::string csv = std::string(test::kCsvHeader) + CsvRecord("1", "1", "2");
  fs::remove_all(workspace());
  EXPECT_TRUE(test::Thrown([&] { Run(csv); }).Contains("L_Date.dat"));
  // L_Date.dat lists three days, L_DayTop.dat only two.
  test::WriteWorkspace(workspace(), {2, 100, 200}, {{0, 50}, {50, 40}});
  EXPECT_TRUE(test::Thrown([&] { Run(csv); }).Contains("L_DayTop.dat"));
  // L_Date.dat claiming more records than it holds.
  test::WriteFile(workspace() / "CDATA" / "L_Date.dat", test::DayListBytes({2, 100}).substr(0, 10));
  EXPECT_THROW(Run(csv), Error);
  EXPECT_FALSE(fs::exists(Out("Check1.dat")));
}

TEST_F(ImportTest, MoreThanTenDaysAreAllWritten) {
  std::vector<uint16_t> starts;
  std::vector<std::pair<uint16_t, uint16_t>> days;
  for (uint16_t d = 0; d < 12; ++d) {
    starts.push_back(static_cast<uint16_t>(10 * d + 1));
    days.push_back({static_cast<uint16_t>(5 * d), 5});
  }
  test::WriteWorkspace(workspace(), starts, days);
  ASSERT_EQ(Run(std::string(test::kCsvHeader) + CsvRecord("57", "8", "115", "day 12")).days_written, 12);
  EXPECT_EQ(test::CheckSlotsOf(Out("Check12.dat")), (std::vector<CheckSlot>{{57, 1, 8}}));
  EXPECT_EQ(Memo("C_Memo12.dat", 2), "day 12");
}

TEST_F(ImportTest, EmptyDayListWritesNothingAndNeedsNoDayIndex) {
  test::WriteFile(workspace() / "CDATA" / "L_Date.dat", test::DayListBytes({}));
  fs::remove(workspace() / "CDATA" / "L_DayTop.dat");
  const CheckListImportResult r = Run(std::string(test::kCsvHeader) + CsvRecord("1", "1", "2"));
  EXPECT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
  EXPECT_EQ(r.days_written, 0);
  EXPECT_TRUE(fs::is_empty(out()));
}

// Onto a ZAVO_DS folder whose files hold a visit, a memo and a purchase: they go into a backup
// beside it first, and the report counts every kind of record skipped.
TEST_F(ImportTest, BacksUpTheVisitorsFilesAndReportsEverySkip) {
  const fs::path set = dir_ / "ZAVO_DS";
  const std::string check = test::HandheldCheckFile({{5, kVisitedFlag, 3}});
  MemoFileBuilder memo(40);
  memo.Set(0, "note");
  const std::string buy = test::PurchaseFileBytes(50, {{5, 0, {1, 2, 50}}});
  test::WriteFile(set / "CheckList" / "Check1.dat", check);
  test::WriteFile(set / "CheckList" / "C_Memo2.dat", memo.bytes());
  test::WriteFile(set / "CheckList" / "D_Buy1.dat", buy);
  EXPECT_EQ(ReadExistingCheckData(set / "CheckList").visits, 1);

  auto import = [&](const std::string& records) {
    test::WriteFile(dir_ / "in.csv", test::kCsvHeader + records);
    CheckListImport job;
    job.params = {dir_ / "in.csv", set / "CheckList", workspace()};
    const CheckListImportResult r = job.Run();
    EXPECT_EQ(r.outcome, CheckListImportOutcome::kCompleted);
    return std::make_pair(r, ImportReportLines(r, job.params.output_folder));
  };
  const auto [r, lines] = import(CsvRecord("5", "2", "10", "m1") + CsvRecord("6", "0", "10", "m2") +
                                 CsvRecord("7", "", "10") + CsvRecord("60", "1", "10", "far") +
                                 CsvRecord("8", "1", "", "x") + CsvRecord("9", "1", "1", "x") +
                                 CsvRecord("-1", "1", "10", "x") + CsvRecord("55", "4", "150"));
  ASSERT_EQ(r.backup_folder.parent_path(), dir_ / "ZAVO_DS_CheckList_backup");
  EXPECT_EQ(ReadFile(r.backup_folder / "CheckList" / "Check1.dat"), check);
  EXPECT_EQ(ReadFile(r.backup_folder / "CheckList" / "C_Memo2.dat"), memo.bytes());
  EXPECT_EQ(ReadFile(set / "CheckList" / "D_Buy1.dat"), buy);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "保存先にあったチェックデータ 3 ファイルを \"" + r.backup_folder.string() +
                           "\" に残しました (置き換える前の内容です)",
                       "1日目: チェック 2 件、メモ 2 件を保存しました",
                       "1日目: 色が 0 か空の記録 2 件はチェックにせず、メモだけを保存しました",
                       "1日目: サークル番号がこの日の範囲 (0〜49) の外の記録 1 件はメモを保存していません",
                       "2日目: チェック 1 件、メモ 0 件を保存しました",
                       "3日目: チェック 0 件、メモ 0 件を保存しました",
                       "日付が決まらない記録 2 件 (ページ番号が空か、1日目より前) は飛ばしました",
                       "サークル番号が -1 の記録 1 件は飛ばしました",
                       "合計: 記録 8 件から、チェック 3 件、メモ 2 件を保存しました",
                       "保存先: " + (set / "CheckList").string(),
                   }));

  // A list of another event: said plainly, and what the first import stored is kept too.
  const auto [again, again_lines] = import(CsvRecord("500", "1", "10"));
  EXPECT_NE(again.backup_folder, r.backup_folder);
  EXPECT_EQ(ReadFile(again.backup_folder / "CheckList" / "C_Memo1.dat").substr(2 + 160 * 5, 2), "m1");
  EXPECT_NE(std::find(again_lines.begin(), again_lines.end(), ImportOtherEvent()), again_lines.end());
}

}  // namespace
}  // namespace dw
