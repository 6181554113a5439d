// Every reader of a data-set file, fed a valid file cut at every length: each cut either reads
// (as a shorter valid file) or fails with an error of kind "damaged" naming the file - never a
// crash, a read past the end, or another kind of error.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/table_builder.h"
#include "dataset/check_files.h"
#include "dataset/counted_table.h"
#include "dataset/day_tables.h"
#include "dataset/table_reader.h"
#include "support/checklist_fixtures.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

struct Reader {
  const char* name;
  std::string valid;                                     // a whole, valid file
  std::function<void(const std::filesystem::path&)> read;  // reads the file at the path
};

TEST(DataSetReaders, EveryCutIsReadOrReportedAsDamaged) {
  test::TempDir dir;
  const auto write = [&](const char* name, auto fn) {
    fn(dir / name);
    return test::ReadFile(dir / name);
  };
  MemoFileBuilder memos(2);
  memos.Set(1, "memo");
  const std::vector<Reader> readers = {
      {"L_Date.dat", write("L_Date.dat", [](auto p) { WriteDayList(p, {{10, 8, 13, 4, 2}, {10, 8, 14, 5, 9}}); }),
       [](auto p) { ReadDayStartNumbers(p); }},
      {"L_DayTop.dat", write("L_DayTop.dat", [](auto p) { WriteDayIndex(p, {0, 3}, {3, 4}); }),
       [](auto p) { DayRangeOf(ReadDayIndex(p), 2, p); }},
      {"L_Block.dat", write("L_Block.dat", [](auto p) { TableBuilder().Bytes("AABB").SetCount(2).Save(p); }),
       [](auto p) { ReadBlockNames(p); }},
      {"L_Map.dat", write("L_Map.dat", [](auto p) { TableBuilder().Name("East", 10).SetCount(1).Save(p); }),
       [](auto p) { ReadTrimmedNames(p, 10, 10); }},
      {"Check1.dat", BuildCheckFile({{7, 1, 3}, {9, 8, 0}}, 4), [](auto p) { ReadCheckFile(p); }},
      {"C_Memo1.dat", memos.bytes(), [](auto p) { ParseMemoFile(test::ReadFile(p), p); }},
      {"D_Buy1.dat", test::PurchaseFileBytes(2, {{1, 9, {1, 2, 50}}}),
       [](auto p) { PurchaseFile::Read(p).Record(1); }},
  };
  for (const Reader& r : readers) {
    const auto path = dir / (std::string("cut_") + r.name);
    test::WriteFile(path, r.valid);
    ASSERT_FALSE(test::Thrown([&] { r.read(path); }).thrown) << r.name << " whole file refused";
    for (size_t length = 0; length < r.valid.size(); ++length) {
      test::WriteFile(path, r.valid.substr(0, length));
      const test::ThrownError e = test::Thrown([&] { r.read(path); });
      if (!e.thrown) continue;  // a shorter file that is valid in itself
      EXPECT_EQ(e.kind, ErrorKind::kDamaged) << r.name << " cut at " << length << ": " << e.message;
      EXPECT_TRUE(e.Contains(path.string())) << r.name << " cut at " << length << ": " << e.message;
    }
  }
}

}  // namespace
}  // namespace dw
