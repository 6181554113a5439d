// The check, memo and purchase file formats and the empty files of the catalog conversion.
#include "dataset/check_files.h"

#include <gtest/gtest.h>

#include "dataset/check_backup.h"
#include "dataset/empty_check_files.h"
#include "support/checklist_fixtures.h"
#include "common/messages.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::Bytes;
using test::Hex;
using test::ReadFile;

std::string Repeat(std::string_view unit, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

TEST(EmptyCheckFiles, ExactBytes) {
  test::TempDir dir;
  WriteEmptyCheckFile(dir / "Check1.dat");
  const std::string check = ReadFile(dir / "Check1.dat");
  ASSERT_EQ(check.size(), 40962u);
  EXPECT_EQ(check, Bytes({0, 0}) + Repeat(Bytes({0xFF, 0xFF, 0x00, 0xFF}), 10240));

  WriteEmptyMemoFile(dir / "C_Memo1.dat", 3);
  EXPECT_EQ(ReadFile(dir / "C_Memo1.dat"), Bytes({3, 0}) + std::string(486, '\0'));
  WriteEmptyPurchaseFile(dir / "D_Buy1.dat", 3);
  EXPECT_EQ(ReadFile(dir / "D_Buy1.dat"), Bytes({3, 0}) + std::string(120, '\0'));

  WriteEmptyMemoFile(dir / "C_Memo2.dat", 0);
  WriteEmptyPurchaseFile(dir / "D_Buy2.dat", 0);
  EXPECT_EQ(Hex(ReadFile(dir / "C_Memo2.dat")), "00 00");
  EXPECT_EQ(Hex(ReadFile(dir / "D_Buy2.dat")), "00 00");

  // Replaces an existing file and leaves no temporary file.
  test::WriteFile(dir / "Check1.dat", "old");
  WriteEmptyCheckFile(dir / "Check1.dat");
  EXPECT_EQ(ReadFile(dir / "Check1.dat").size(), 40962u);
  EXPECT_FALSE(std::filesystem::exists(dir / "Check1.dat.partial"));
}

TEST(EmptyCheckFiles, CountAbove65535KeepsFileConsistent) {
  test::TempDir dir;
  WriteEmptyMemoFile(dir / "C_Memo1.dat", 65537);
  const std::string memo = ReadFile(dir / "C_Memo1.dat");
  EXPECT_EQ(memo.size(), 2u + 162u);
  EXPECT_EQ(Hex(memo.substr(0, 2)), "01 00");
}

TEST(CheckFile, BuildAndParse) {
  const std::vector<CheckSlot> used = {{7, 1, 3}, {7, 9, 0}, {0x1234, 8, 255}};
  const std::string bytes = BuildCheckFile(used, kImportCheckFileSlots);
  ASSERT_EQ(bytes.size(), 4098u);
  EXPECT_EQ(Hex(bytes.substr(0, 14)), "03 00 07 00 01 03 07 00 09 00 34 12 08 FF");
  EXPECT_EQ(Hex(bytes.substr(14, 4)), "FF FF 00 FF");
  EXPECT_EQ(ParseCheckFile(bytes, "Check1.dat"), used);
  EXPECT_THROW(BuildCheckFile(std::vector<CheckSlot>(5), 4), Error);
}

TEST(CheckFile, ShortOrOverfullFilesAreRefusedNamingTheFile) {
  // Used-slot count 3 but only two slots held.
  std::string two_slots = Bytes({3, 0, 1, 0, 1, 1, 2, 0, 1, 1});
  const test::ThrownError e = test::Thrown([&] { ParseCheckFile(two_slots, "/card/CheckList/Check2.dat"); });
  EXPECT_TRUE(e.Contains("Check2.dat")) << e.what();
  EXPECT_THROW(ParseCheckFile(Bytes({0}), "c"), Error);
  EXPECT_THROW(ParseCheckFile("", "c"), Error);
  // A count far above the 10240 slots of a full-size file.
  std::string full = BuildCheckFile({}, kEmptyCheckFileSlots);
  full[0] = static_cast<char>(0x20);
  full[1] = static_cast<char>(0x4E);  // 20000
  EXPECT_THROW(ParseCheckFile(full, "c"), Error);
  // A partial last slot does not count; the slots before it do.
  EXPECT_EQ(ParseCheckFile(Bytes({1, 0, 5, 0, 1, 2, 0xFF}), "c"), (std::vector<CheckSlot>{{5, 1, 2}}));
}

TEST(MemoFile, SlotsAreCutAt159BytesAndStayInRange) {
  MemoFileBuilder memos(2);
  ASSERT_EQ(memos.bytes().size(), 2u + 324u);
  // 158 ASCII bytes then a double-byte character: the cut splits it.
  std::string memo = std::string(158, 'x') + "\x83\x5C" + "tail";
  EXPECT_TRUE(memos.Set(1, memo));
  const std::string& b = memos.bytes();
  EXPECT_EQ(b.substr(162, 159), std::string(158, 'x') + "\x83");
  EXPECT_EQ(b[162 + 159], '\0');
  EXPECT_EQ(b.substr(322), std::string(4, '\0'));  // the tail beyond the slots stays zero
  // A shorter memo over a longer one clears the rest of the slot.
  EXPECT_TRUE(memos.Set(1, "ab"));
  EXPECT_EQ(ParseMemoFile(b, "m"), (std::vector<std::string>{"", "ab"}));
  EXPECT_FALSE(memos.Set(2, "out"));
  EXPECT_FALSE(memos.Set(-1, "out"));
  EXPECT_EQ(memos.bytes().size(), 2u + 324u);
  EXPECT_THROW(ParseMemoFile(Bytes({2, 0, 0}), "m"), Error);
}

TEST(PurchaseFile, RecordsAndBounds) {
  std::string bytes = test::PurchaseFileBytes(2, {{1, 9, {1, 2, 50}}, {0, 0, {7, 0, 0}}});
  PurchaseFile file(bytes, "D_Buy1.dat");
  EXPECT_EQ(file.circle_count(), 2);
  const PurchaseRecord second = file.Record(1);
  EXPECT_TRUE(second[0].empty());
  EXPECT_EQ(second[9].kind, 1);
  EXPECT_EQ(second[9].quantity, 2);
  EXPECT_EQ(second[9].unit_price, 50);
  EXPECT_EQ(file.Record(0)[0].kind, 7);
  EXPECT_THROW(file.Record(2), Error);

  // Count 2 but only one record held.
  const test::ThrownError e = test::Thrown([&] {
    PurchaseFile short_file(bytes.substr(0, 2 + 40 + 7), "/card/CheckList/D_Buy3.dat");
  });
  EXPECT_TRUE(e.Contains("D_Buy3.dat")) << e.what();
  EXPECT_THROW(PurchaseFile("", "p"), Error);
}

// A second backup with the same stamp gets a folder of its own and the first keeps its bytes;
// the export's tables come along.
TEST(CheckBackup, NeverReusesAFolder) {
  test::TempDir dir;
  const std::filesystem::path set = dir / "ZAVO_DS";
  test::WriteFile(set / "CheckList" / "Check1.dat", "first");
  test::WriteFile(set / "CDATA" / "DEF.dat", "def");
  test::WriteFile(set / "DataFull" / "D_Full1.dat", "full");
  const auto files = CheckBackupFiles(set, set / "CheckList", {"Check1.dat", "C_Memo1.dat"});
  const std::filesystem::path first = WriteCheckBackup(files, dir.path(), "20260101-000000");
  test::WriteFile(set / "CheckList" / "Check1.dat", "second");
  const std::filesystem::path second = WriteCheckBackup(files, dir.path(), "20260101-000000");
  EXPECT_EQ(first, dir / "ZAVO_DS_CheckList_backup" / "20260101-000000");
  EXPECT_EQ(second, dir / "ZAVO_DS_CheckList_backup" / "20260101-000000-2");
  EXPECT_EQ(ReadFile(first / "CheckList" / "Check1.dat"), "first");
  EXPECT_EQ(ReadFile(second / "CheckList" / "Check1.dat"), "second");
  EXPECT_EQ(ReadFile(second / "CDATA" / "DEF.dat"), "def");
  EXPECT_EQ(ReadFile(second / "DataFull" / "D_Full1.dat"), "full");
  EXPECT_FALSE(std::filesystem::exists(second / "CheckList" / "C_Memo1.dat"));
}

}  // namespace
}  // namespace dw
