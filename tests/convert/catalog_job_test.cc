#include "convert/catalog_job.h"

#include <gtest/gtest.h>

#include "convert/card_folder.h"
#include "convert/workspace_copy.h"
#include "common/messages.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

CatalogJobParams Params(const TempDir& dir, const fs::path& source, int mode) {
  CatalogJobParams p;
  p.source_root = source;
  p.destination = dir / "dest";
  fs::create_directories(p.destination);
  p.workspace = dir / "DATA";
  p.mode = mode;
  return p;
}

TEST(CatalogJob, MissingDefinitionFileIsAnOrderlyStop) {
  TempDir dir;
  fs::create_directories(dir / "src" / "CDATA");
  test::WriteFile(dir / "src" / "CDATA" / "C76DEF.TX", "x");
  test::RecordingStatusLog log;
  EXPECT_EQ(RunCatalogJob(Params(dir, dir / "src", 1), log), CatalogJobOutcome::kDefinitionNotFound);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした。",
                                                 "作業を終了します"}));
  EXPECT_EQ(log.label, "エラー発生");
  EXPECT_TRUE(log.back_enabled);
  for (const char* f : {"CDATA", "MDATA", "SYSTEM", "CheckList", "DataFull"}) {
    EXPECT_TRUE(fs::is_directory(dir / "DATA" / f)) << f;
  }
  EXPECT_FALSE(fs::exists(dir / "dest" / "ZAVO_DS"));
}

TEST(CatalogJob, FirstDefinitionFileInNameOrderDecides) {
  TempDir dir;
  test::WriteFile(dir / "CDATA" / "C76DEF.TXT", "");
  test::WriteFile(dir / "CDATA" / "c75def.txt", "");
  test::WriteFile(dir / "CDATA" / "C7DEF.TXT", "");
  EXPECT_EQ(FindDefinitionFile(dir.path()).filename(), "C76DEF.TXT");  // "C7" < "c7" in byte order
  fs::remove(dir / "CDATA" / "C76DEF.TXT");
  EXPECT_EQ(FindDefinitionFile(dir.path()).filename(), "c75def.txt");
}

TEST(CatalogJob, CatalogFolderNearAChoiceThatIsNone) {
  TempDir dir;
  test::WriteFile(dir / "disc" / "cat" / "cdata" / "C77DEF.TXT", "");
  fs::create_directories(dir / "disc" / "other");
  EXPECT_EQ(CatalogFolderNear(dir / "disc" / "cat" / "cdata"), dir / "disc" / "cat");  // CDATA itself
  EXPECT_EQ(CatalogFolderNear(dir / "disc"), dir / "disc" / "cat");                     // one level too high
  EXPECT_EQ(CatalogFolderNear(dir / "disc" / "other"), std::nullopt);
  test::WriteFile(dir / "disc" / "second" / "CDATA" / "C78DEF.TXT", "");
  EXPECT_EQ(CatalogFolderNear(dir / "disc"), std::nullopt);  // two catalogs: no guess
}

TEST(CatalogJob, ElapsedTimeFormat) {
  using std::chrono::milliseconds;
  EXPECT_EQ(FormatElapsed(milliseconds(999)), "00:00:00");
  EXPECT_EQ(FormatElapsed(milliseconds(3723000)), "01:02:03");
  EXPECT_EQ(FormatElapsed(milliseconds((24 * 3600 + 61) * 1000LL)), "00:01:01");
}

TEST(CatalogJob, SampleDataRunWritesEveryStatusLineInOrder) {
  TempDir dir;
  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(Params(dir, test::SampleCatalog(), 1), log), CatalogJobOutcome::kCompleted);
  std::vector<std::string> expected = {
      "\"C77DEF.TXT\" 発見", "---------------------------", "DEFデータ作成開始", "サークルデータ作成開始",
      "サークルデータ (1日目) 作成開始", "サークルデータ (2日目) 作成開始", "サークルデータ (3日目) 作成開始",
      "---------------------------", "ファイルコピー作業開始",
      "書き込み確認: " + std::to_string(test::Snapshot(dir / "DATA").size()) + " ファイル一致",
      "---------------------------", "作業終了"};
  ASSERT_EQ(log.lines.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(log.lines[i], expected[i]) << i;
  EXPECT_EQ(log.lines.back(), "00:00:00");
  EXPECT_EQ(log.label, "作業終了しました。");
  EXPECT_TRUE(log.back_enabled);
  EXPECT_EQ(log.calls.front(), "clear");
  EXPECT_TRUE(fs::is_directory(dir / "dest" / "ZAVO_DS" / "CDATA"));
}

TEST(CatalogJob, SecondRunStartsWithAnEmptyLog) {
  TempDir dir;
  test::RecordingStatusLog log;
  RunCatalogJob(Params(dir, test::SampleCatalog(), 1), log);
  size_t first = log.lines.size();
  RunCatalogJob(Params(dir, test::SampleCatalog(), 1), log);
  EXPECT_EQ(log.lines.size(), first);
}

TEST(CatalogJob, CaseInsensitiveCatalogFolders) {
  TempDir dir;
  fs::create_directories(dir / "src");
  fs::copy(test::SampleCatalog() / "CDATA", dir / "src" / "cdata");
  // Through another name: a rename that only changes case may do nothing (wine).
  for (const auto& [from, to] : {std::pair{"C77DEF.TXT", "c77def.txt"}, std::pair{"C77ROM2.TXT", "c77rom2.txt"}}) {
    fs::rename(dir / "src" / "cdata" / from, dir / "src" / "cdata" / "renamed");
    fs::rename(dir / "src" / "cdata" / "renamed", dir / "src" / "cdata" / to);
  }
  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(Params(dir, dir / "src", 1), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(log.lines[0], "\"c77def.txt\" 発見");
  EXPECT_EQ(log.lines[5], "サークルデータ (2日目) 作成開始");
}

TEST(CatalogJob, ErrorInsideConversionKeepsLinesAndCopiesNothing) {
  TempDir dir;
  test::WriteFile(dir / "src" / "CDATA" / "C76DEF.TXT", "*Vandrel\t1\n");  // no C76MAP.TXT
  // With images too, the hall maps are being prepared on a thread of their own when the data
  // tables fail: the data tables' error comes first, and the thread is gone with the run.
  fs::copy(test::SampleCatalog() / "MDATA", dir / "src" / "MDATA");
  const int threads_before = test::ThreadCount();
  for (int mode : {1, 0}) {
    test::RecordingStatusLog log;
    const test::ThrownError e = test::Thrown([&] { RunCatalogJob(Params(dir, dir / "src", mode), log); });
    EXPECT_TRUE(e.Contains("C76MAP.TXT")) << e.what();
    EXPECT_EQ(log.lines.back(), "DEFデータ作成開始");
    EXPECT_FALSE(log.back_enabled);
    EXPECT_FALSE(fs::exists(dir / "dest" / "ZAVO_DS"));
    EXPECT_TRUE(fs::is_empty(dir / "DATA" / "MDATA"));
    EXPECT_EQ(test::ThreadCount(), threads_before) << mode;
  }
}

TEST(CatalogJob, UnknownModeConvertsNothingButCopies) {
  TempDir dir;
  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(Params(dir, test::SampleCatalog(), 7), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(log.lines[2], "---------------------------");
  EXPECT_TRUE(fs::is_directory(dir / "dest" / "ZAVO_DS" / "SYSTEM"));
}

TEST(WorkspaceCopy, OverwritesKeepsOthersAndSkipsPartials) {
  TempDir dir;
  test::WriteFile(dir / "DATA" / "CDATA" / "a.dat", "new");
  test::WriteFile(dir / "DATA" / "CDATA" / "b.dat.partial", "torn");
  test::WriteFile(dir / "DATA" / "PDATA1" / "0002.gdc", "img");
  fs::create_directories(dir / "DATA" / "SYSTEM");
  test::WriteFile(dir / "card" / "ZAVO_DS" / "CDATA" / "a.dat", "old");
  test::WriteFile(dir / "card" / "ZAVO_DS" / "CDATA" / "keep.dat", "keep");
  test::RecordingStatusLog log;
  CopyWorkspaceToCard(dir / "DATA", CardFolder(dir / "card"), log, nullptr, "stamp");
  const fs::path z = dir / "card" / "ZAVO_DS";
  EXPECT_EQ(test::ReadFile(z / "CDATA" / "a.dat"), "new");
  EXPECT_EQ(test::ReadFile(z / "CDATA" / "keep.dat"), "keep");
  EXPECT_EQ(test::ReadFile(z / "PDATA1" / "0002.gdc"), "img");
  EXPECT_TRUE(fs::is_directory(z / "SYSTEM"));
  EXPECT_FALSE(fs::exists(z / "CDATA" / "b.dat.partial"));
  EXPECT_FALSE(fs::exists(dir / "card" / kStagingFolder));
  EXPECT_EQ(log.max, 2);
  EXPECT_EQ(log.position, 2);
}

TEST(WorkspaceCopy, FailedCopyIsReportedNotClosedNormally) {
  TempDir dir;
  test::RecordingStatusLog log;
  test::WriteFile(dir / "dest" / "ZAVO_DS" / "CDATA", "a file where a folder should be");
  const test::ThrownError e = test::Thrown([&] {
    RunCatalogJob(Params(dir, test::SampleCatalog(), 1), log);
  });
  EXPECT_TRUE(e.Contains("CDATA")) << e.what();
  EXPECT_EQ(log.lines.back(), "ファイルコピーに失敗しました");
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "作業終了"), 0);
  EXPECT_FALSE(log.back_enabled);
}

}  // namespace
}  // namespace dw
