// Sample catalog -> handheld data set -> checks placed as the handheld would -> export -> import:
// every check with a colour from 1 to 9 comes back with its circle and colour, in order.
#include <gtest/gtest.h>

#include "convert/catalog_job.h"
#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "dataset/check_files.h"
#include "dataset/day_tables.h"
#include "support/checklist_fixtures.h"
#include "common/status_log.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

struct Check {
  uint16_t circle;
  uint8_t colour;
  bool operator==(const Check&) const = default;
};

TEST(CheckListRoundTrip, SampleCatalog) {
  test::TempDir dir;
  NullStatusLog log;
  CatalogJobParams convert;
  convert.source_root = test::SampleCatalog();
  convert.destination = dir / "SD";
  fs::create_directories(convert.destination);
  convert.workspace = dir / "WS";
  convert.mode = static_cast<int>(ConversionMode::kDataOnly);
  ASSERT_EQ(RunCatalogJob(convert, log), CatalogJobOutcome::kCompleted);
  const fs::path card = ZavoDsFolder(convert.destination);
  const std::vector<DayRange> days = ReadDayIndex(card / "CDATA" / "L_DayTop.dat");
  ASSERT_EQ(days.size(), 3u);

  // Every third circle checked, colours cycling through 0 .. 11 and 255; some visited, some
  // with purchases; one circle checked twice.
  const uint8_t colours[] = {1, 2, 0, 3, 4, 5, 10, 6, 7, 8, 255, 9, 11};
  std::vector<std::vector<Check>> expected(days.size());
  size_t k = 0;
  for (size_t d = 0; d < days.size(); ++d) {
    ASSERT_GT(days[d].count, 6);
    std::vector<CheckSlot> slots;
    std::vector<test::PlacedPurchase> purchases;
    for (uint16_t i = 0; i < days[d].count; i += 3, ++k) {
      const uint16_t circle = static_cast<uint16_t>(days[d].first + i);
      const uint8_t colour = colours[k % std::size(colours)];
      slots.push_back({circle, static_cast<uint8_t>(k % 4 == 0 ? kVisitedFlag : 0), colour});
      if (k % 5 == 0) purchases.push_back({i, k % kPurchaseSlots, {1, 2, 50}});
      if (colour >= 1 && colour <= 9) expected[d].push_back({circle, colour});
    }
    slots.push_back({static_cast<uint16_t>(days[d].first + 1), 0, 4});
    slots.push_back({static_cast<uint16_t>(days[d].first + 1), 0, 5});
    expected[d].push_back({static_cast<uint16_t>(days[d].first + 1), 4});
    expected[d].push_back({static_cast<uint16_t>(days[d].first + 1), 5});
    const std::string day = std::to_string(d + 1);
    test::WriteFile(card / "CheckList" / ("Check" + day + ".dat"), test::HandheldCheckFile(slots));
    test::WriteFile(card / "CheckList" / ("D_Buy" + day + ".dat"), test::PurchaseFileBytes(days[d].count, purchases));
  }

  CheckListExport exporter;
  exporter.params = {card, dir / "PC", 0};
  const CheckListExportResult exported = exporter.Run();
  EXPECT_EQ(exported.day_count, 3);

  CheckListImport importer;
  importer.params = {exported.csv_file, ImportOutputFolder(dir / "BACK"), convert.workspace};
  const CheckListImportResult imported = importer.Run();
  ASSERT_EQ(imported.outcome, CheckListImportOutcome::kCompleted) << imported.message;
  ASSERT_EQ(imported.days_written, 3);

  for (size_t d = 0; d < days.size(); ++d) {
    const std::string day = std::to_string(d + 1);
    std::vector<Check> back;
    for (const CheckSlot& s : test::CheckSlotsOf(dir / "BACK" / "CheckList" / ("Check" + day + ".dat"))) {
      back.push_back({s.circle, s.colour});
    }
    EXPECT_EQ(back, expected[d]) << "day " << day;
  }

  // Circle 0 (k = 0) was visited and bought two new publications: its memo comes back with the
  // line breaks turned into spaces.
  const std::string memo = test::ReadFile(dir / "BACK" / "CheckList" / "C_Memo1.dat").substr(2, 160);
  EXPECT_EQ(memo.substr(0, memo.find('\0')), test::Sjis("訪問済 新刊:500円×2＝1000円 合計：1000円 "));
}

// Circle fields with commas and quotes and a memo on the card: the export quotes them, and an
// import of its file back onto the card followed by a second export gives the same records.
TEST(CheckListRoundTrip, QuotedFieldsAndCardMemos) {
  test::TempDir dir;
  const fs::path card = dir / "ZAVO_DS";
  std::string def(62, '\0');
  def[0] = 77;
  test::WriteFile(card / "CDATA" / "DEF.dat", def);
  test::WriteWorkspace(card, {1}, {{10, 3}});
  test::WriteWorkspace(dir / "WS", {1}, {{10, 3}});
  std::string full;
  for (const char* c : {"10", "11", "12"}) {
    full += std::string(c) + "\tname, with comma\tsay \"hi\"\t5\tx4\tx5\tx6\tx7\tx8\tx9\tx10\tx11\tx12\tx13\tx14\tx15\tx16\r\n";
  }
  test::WriteFile(card / "DataFull" / "D_Full1.dat", full);
  test::WriteFile(card / "CheckList" / "Check1.dat", test::HandheldCheckFile({{10, 0, 2}, {12, 0, 9}}));
  MemoFileBuilder memos(3);
  memos.Set(0, "a \"b\", c");
  test::WriteFile(card / "CheckList" / "C_Memo1.dat", memos.bytes());
  test::WriteFile(card / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(3, {}));

  CheckListExport exporter;
  exporter.params = {card, dir / "PC1", 0};
  const std::string first = test::ReadFile(exporter.Run().csv_file);
  const std::string tail = ",\"name, with comma\",\"say \"\"hi\"\"\",";
  EXPECT_EQ(first, std::string(test::kCsvHeader) +
                       "10,2,5,x4,x5,x6,x7,x8,x9,x10,x12,x13,x14,x15,x16" + tail + "\"a \"\"b\"\", c\\n\",x11,\r\n" +
                       "12,9,5,x4,x5,x6,x7,x8,x9,x10,x12,x13,x14,x15,x16" + tail + ",x11,\r\n");

  CheckListImport importer;
  importer.params = {dir / "PC1" / "ZAVO_DS_Check.csv", card / "CheckList", dir / "WS"};
  ASSERT_EQ(importer.Run().outcome, CheckListImportOutcome::kCompleted);
  exporter.params = {card, dir / "PC2", 0};
  EXPECT_EQ(test::ReadFile(exporter.Run().csv_file), first);
}

}  // namespace
}  // namespace dw
