// The card is the visitor's: check data kept or backed up, a whole set or the old one, one run at
// a time, the destination apart from the workspace, an interrupted copy finished next time.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <type_traits>

#include "common/messages.h"
#include "common/sjis.h"
#include "convert/card_folder.h"
#include "convert/catalog_job.h"
#include "convert/folder_lock.h"
#include "convert/copy_list.h"
#include "convert/workspace_copy.h"
#include "support/checklist_fixtures.h"
#include "common/atomic_file.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::TempDir;
using Tree = test::Files;
Tree Snapshot(const fs::path& root) { return test::SnapshotWithFolders(root); }

// A recording log that runs `on_position` at every progress step of the copy.
struct HookLog : test::RecordingStatusLog {
  std::function<void(int)> on_position;
  bool copying = false;  // the copy onto the card has begun
  void AddLine(const std::string& utf8) override {
    RecordingStatusLog::AddLine(utf8);
    copying = copying || utf8 == "ファイルコピー作業開始";
  }
  void SetProgressPosition(int value) override {
    RecordingStatusLog::SetProgressPosition(value);
    if (on_position && copying && value > 0) on_position(value);
  }
};

CatalogJobParams Params(const fs::path& dest, const fs::path& ws) {
  CatalogJobParams p;
  p.source_root = test::SampleCatalog();
  p.destination = dest;
  p.workspace = ws;
  p.mode = static_cast<int>(ConversionMode::kDataOnly);
  return p;
}

using test::Differences;

ErrorKind KindOf(const std::function<void()>& run, std::string* message = nullptr) {
  const test::ThrownError e = test::Thrown(run);
  if (message) *message = e.message;
  return e.kind.value_or(static_cast<ErrorKind>(-1));
}

class CardSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(card());
    test::RecordingStatusLog log;
    ASSERT_EQ(RunCatalogJob(Params(card(), ws()), log), CatalogJobOutcome::kCompleted);
  }
  fs::path card() const { return dir_ / "card"; }
  fs::path ws() const { return dir_ / "WS"; }
  fs::path set() const { return card() / "ZAVO_DS"; }
  TempDir dir_;
};

TEST_F(CardSafety, VisitorDataIsKeptForTheSameEventAndBackedUpForAnother) {
  const fs::path list = set() / "CheckList";
  const std::string check = test::HandheldCheckFile({{3, kVisitedFlag, 2}});
  test::WriteFile(list / "Check1.dat", check);
  std::string memo = test::ReadFile(list / "C_Memo2.dat");
  memo[10] = 'x';
  test::WriteFile(list / "C_Memo2.dat", memo);
  const std::string empty_buy = test::ReadFile(list / "D_Buy3.dat");

  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(Params(card(), ws()), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(test::ReadFile(list / "Check1.dat"), check);
  EXPECT_EQ(test::ReadFile(list / "C_Memo2.dat"), memo);
  EXPECT_EQ(test::ReadFile(list / "Check2.dat"), test::ReadFile(ws() / "CheckList" / "Check2.dat"));
  EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "カードのチェックデータ 2 ファイルをそのまま残しました"),
            log.lines.end());
  EXPECT_FALSE(fs::exists(card() / kCheckBackupFolder));

  // Another event (DEF.dat differs): the visitor's files go into a backup, the set gets empty ones.
  std::string def = test::ReadFile(set() / "CDATA" / "DEF.dat");
  def[def.size() - 1] ^= 1;
  test::WriteFile(set() / "CDATA" / "DEF.dat", def);
  ASSERT_EQ(RunCatalogJob(Params(card(), ws()), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(test::ReadFile(list / "Check1.dat"), test::ReadFile(ws() / "CheckList" / "Check1.dat"));
  EXPECT_EQ(test::ReadFile(list / "C_Memo2.dat"), test::ReadFile(ws() / "CheckList" / "C_Memo2.dat"));
  ASSERT_TRUE(fs::is_directory(card() / kCheckBackupFolder));
  const fs::path backup = fs::directory_iterator(card() / kCheckBackupFolder)->path();
  EXPECT_EQ(test::ReadFile(backup / "CheckList" / "Check1.dat"), check);
  EXPECT_EQ(test::ReadFile(backup / "CheckList" / "C_Memo2.dat"), memo);
  EXPECT_FALSE(fs::exists(backup / "CheckList" / "D_Buy3.dat"));  // it held nothing
  EXPECT_EQ(test::ReadFile(backup / "CDATA" / "DEF.dat"), def);
  EXPECT_TRUE(fs::exists(backup / "DataFull" / "D_Full1.dat"));
  EXPECT_EQ(test::ReadFile(list / "D_Buy3.dat"), empty_buy);
  const std::string line =
      "カードのチェックデータ 2 ファイルを \"" + backup.string() + "\" に残しました (別のイベントのデータです)";
  EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), line), log.lines.end());
}

TEST_F(CardSafety, StopDuringTheCopyLeavesTheOldSetWhole) {
  const Tree before = Snapshot(card());
  StopRequest stop;
  HookLog log;
  log.on_position = [&](int position) {
    if (position == 4) stop.Request();
  };
  CatalogJobParams p = Params(card(), ws());
  p.stop = &stop;
  test::WriteFile(set() / "CDATA" / "old-only.dat", "x");  // a changed card: the copy does change it
  const Tree changed = Snapshot(card());
  std::string message;
  EXPECT_EQ(KindOf([&] { RunCatalogJob(p, log); }, &message), ErrorKind::kStopped);
  EXPECT_EQ(message, "変換を中止しました。カードは変換前のままです。");
  EXPECT_EQ(log.lines.back(), "作業を中止しました");
  EXPECT_EQ(Differences(Snapshot(card()), changed), "");
  EXPECT_NE(Differences(before, changed), "");

  // A request before the run stops it before the copy, also between phases.
  EXPECT_EQ(KindOf([&] { RunCatalogJob(p, log); }), ErrorKind::kStopped);
  EXPECT_EQ(Differences(Snapshot(card()), changed), "");
}

TEST_F(CardSafety, StopDuringTheDataOrImagePhaseEndsThereWithCompleteFiles) {
  const Tree card_before = Snapshot(card());
  const int threads_before = test::ThreadCount();
  for (const char* phase_line : {"サークルデータ (2日目) 作成開始", "サークルカット作成開始"}) {
    StopRequest stop;
    struct : test::RecordingStatusLog {
      std::string trigger;
      StopRequest* stop = nullptr;
      void AddLine(const std::string& utf8) override {
        RecordingStatusLog::AddLine(utf8);
        if (utf8 == trigger) stop->Request();
      }
    } log;
    log.trigger = phase_line;
    log.stop = &stop;
    CatalogJobParams p = Params(card(), ws());
    p.mode = static_cast<int>(ConversionMode::kDataAndImages);
    p.stop = &stop;
    EXPECT_EQ(KindOf([&] { RunCatalogJob(p, log); }), ErrorKind::kStopped) << phase_line;
    // It stopped within the phase: the copy never began, and no workspace file is torn.
    EXPECT_EQ(std::find(log.lines.begin(), log.lines.end(), "ファイルコピー作業開始"), log.lines.end());
    EXPECT_EQ(log.lines.back(), "作業を中止しました");
    for (const auto& [name, bytes] : test::Snapshot(ws())) EXPECT_FALSE(IsPartialFile(name)) << name;
    EXPECT_EQ(Differences(Snapshot(card()), card_before), "") << phase_line;
    // The hall maps prepared ahead during the data phase were dropped, their thread joined.
    EXPECT_EQ(test::ThreadCount(), threads_before) << phase_line;
    EXPECT_TRUE(fs::is_empty(ws() / "MDATA")) << phase_line;
  }
}

TEST_F(CardSafety, OneRunAtATimePerWorkspaceAndPerDestination) {
  fs::create_directories(dir_ / "card2");
  HookLog log;
  ErrorKind same_ws{}, same_card{};
  std::string message;
  log.on_position = [&](int position) {
    if (position != 1) return;
    test::RecordingStatusLog other;
    same_ws = KindOf([&] { RunCatalogJob(Params(dir_ / "card2", ws()), other); }, &message);
    same_card = KindOf([&] { RunCatalogJob(Params(card(), dir_ / "WS2"), other); });
  };
  ASSERT_EQ(RunCatalogJob(Params(card(), ws()), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(same_ws, ErrorKind::kBusy);
  EXPECT_EQ(same_card, ErrorKind::kBusy);
  EXPECT_EQ(message, "別の変換が作業フォルダ \"" + ws().string() + "\" を使っています。終わってから実行してください。");
  EXPECT_TRUE(fs::is_empty(dir_ / "card2"));
  EXPECT_FALSE(fs::exists(dir_ / "WS2" / "CDATA"));
  EXPECT_EQ(Snapshot(ws()).count(".lock"), 0u);
}

TEST_F(CardSafety, DestinationOverlappingTheWorkspaceIsRefusedBeforeAnythingIsCreated) {
  for (const fs::path& dest : {ws(), ws() / "CDATA", dir_.path()}) {
    std::string message;
    EXPECT_EQ(KindOf([&] { test::RecordingStatusLog log; RunCatalogJob(Params(dest, ws()), log); }, &message),
              ErrorKind::kInvalidInput)
        << dest;
    EXPECT_NE(message.find("作業フォルダ \"" + ws().string() + "\" が重なっています"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dest / "ZAVO_DS"));
  }
  // Through a "..", the same folder.
  EXPECT_EQ(KindOf([&] { test::RecordingStatusLog log; RunCatalogJob(Params(ws() / "CDATA" / "..", ws()), log); }),
            ErrorKind::kInvalidInput);
}

TEST(CardDestination, MissingDestinationIsNotCreatedAndItsNameIsShownFromCp932) {
  if (!std::is_same_v<fs::path::value_type, char>) GTEST_SKIP() << "Windows names are UTF-16, never CP932 bytes";
  TempDir dir;
  const fs::path dest = dir / test::Sjis("カード");
  std::string message;
  test::RecordingStatusLog log;
  EXPECT_EQ(KindOf([&] { RunCatalogJob(Params(dest, dir / "WS"), log); }, &message), ErrorKind::kIo);
  EXPECT_EQ(message, "保存先フォルダ \"" + (dir / "カード").string() + "\" が見つかりません。ファイルが見つかりません");
  EXPECT_FALSE(fs::exists(dest));
  EXPECT_FALSE(fs::exists(dir / "WS"));
}

CopyEntry Listed(const std::string& relative, const std::string& bytes, long long old_size) {
  CopyEntry e;
  e.relative = relative;
  e.size = bytes.size();
  Checksum sum;
  sum.Add(bytes.data(), bytes.size());
  e.sum = sum.value();
  e.old_size = old_size;
  return e;
}

TEST_F(CardSafety, AnInterruptedCopyIsFinishedFromTheStagingOrTheWorkspace) {
  const fs::path staging = card() / kStagingFolder;
  const std::string block = test::ReadFile(ws() / "CDATA" / "L_Block.dat");
  const std::string map = test::ReadFile(ws() / "CDATA" / "L_Map.dat");
  std::vector<CopyEntry> list = {Listed("CDATA/L_Block.dat", "new block", 3), Listed("CDATA/L_Map.dat", map, 3),
                                 Listed("CheckList/Check1.dat", "moved", 3), Listed("SYSTEM/torn.dat", "12345", 4)};
  CopyEntry extra;
  extra.relative = "EXTRA";
  extra.folder = true;
  list.push_back(extra);
  // Check1.dat already renamed, L_Block.dat still staged, L_Map.dat lost in both places (the
  // workspace holds it), torn.dat torn in both places and not in the workspace.
  test::WriteFile(staging / "CDATA" / "L_Block.dat", "new block");
  test::WriteFile(set() / "CDATA" / "L_Block.dat", "old");
  test::WriteFile(set() / "CDATA" / "L_Map.dat", "o");
  test::WriteFile(set() / "CheckList" / "Check1.dat", "moved");
  test::WriteFile(staging / "SYSTEM" / "torn.dat", "12");
  test::WriteFile(set() / "SYSTEM" / "torn.dat", "1234");
  test::WriteFile(staging / kSwapListName, CopyListText(list));
  test::RecordingStatusLog log;
  const RepairOutcome outcome = RecoverInterruptedCopy(CardFolder(card()), ws(), log);
  EXPECT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.finished);
  EXPECT_EQ(test::ReadFile(set() / "CDATA" / "L_Block.dat"), "new block");
  EXPECT_EQ(test::ReadFile(set() / "CDATA" / "L_Map.dat"), map);
  EXPECT_EQ(test::ReadFile(set() / "CheckList" / "Check1.dat"), "moved");
  EXPECT_EQ(test::ReadFile(set() / "SYSTEM" / "torn.dat"), "1234");  // the old file, left in place
  EXPECT_TRUE(fs::is_directory(set() / "EXTRA"));
  EXPECT_FALSE(fs::exists(staging));
  // L_Map.dat ("o") had neither the old nor the new size, the staged torn.dat not the listed one:
  // both are moved aside, never deleted, and the user is told how to check the card.
  EXPECT_EQ(test::ReadFile(card() / kDamagedFolder / "1-L_Map.dat"), "o");
  EXPECT_EQ(test::ReadFile(card() / kDamagedFolder / "1-torn.dat"), "12");
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_EQ(log.lines[0], InterruptedCopyIncompleteLine());
  EXPECT_EQ(log.lines[1].rfind("カードに壊れたファイルが 2 個ありました。削除せずに \"" +
                               (card() / kDamagedFolder).string() + "\" に移しました。カードを検査してください: " +
                                   CardFolder(card()).CheckCommand(),
                               0),
            0u) << log.lines[1];

  // A list cut short: the copy never reached ZAVO_DS, and the staging goes.
  const Tree now = Snapshot(set());
  test::WriteFile(staging / "CDATA" / "L_Block.dat", "torn new");
  test::WriteFile(staging / kSwapListName, CopyListText(list).substr(0, 30));
  EXPECT_TRUE(RecoverInterruptedCopy(CardFolder(card()), ws(), log).finished);
  EXPECT_FALSE(fs::exists(staging));
  EXPECT_EQ(Differences(Snapshot(set()), now), "");
}

TEST_F(CardSafety, AListLeftByAnEarlierVersionIsFinishedWithItsFnvSums) {
  // No header line, FNV-1a sums: "new block" sums to de7ff29228af5dfc.
  test::WriteFile(card() / kStagingFolder / "CDATA" / "L_Block.dat", "new block");
  test::WriteFile(set() / "CDATA" / "L_Block.dat", "old");
  test::WriteFile(card() / kStagingFolder / kSwapListName,
                  "D\tCDATA\nF\t9\tde7ff29228af5dfc\t3\tCDATA/L_Block.dat\nEND\n");
  test::RecordingStatusLog log;
  const RepairOutcome outcome = RecoverInterruptedCopy(CardFolder(card()), ws(), log);
  EXPECT_TRUE(outcome.finished);
  EXPECT_TRUE(outcome.damaged.empty());
  EXPECT_EQ(test::ReadFile(set() / "CDATA" / "L_Block.dat"), "new block");
  EXPECT_FALSE(fs::exists(card() / kStagingFolder));
}

TEST_F(CardSafety, ACopyThatCannotBeFinishedIsRedoneWithTheVisitorsDataBackedUp) {
  // The list names a file that neither the card nor the workspace holds: the card's check files
  // may be another event's although DEF.dat matches, so they are backed up, not kept.
  const std::string check = test::HandheldCheckFile({{3, kVisitedFlag, 2}});
  test::WriteFile(set() / "CheckList" / "Check1.dat", check);
  test::WriteFile(card() / kStagingFolder / kSwapListName, CopyListText({Listed("SYSTEM/gone.dat", "gone", -1)}));
  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(Params(card(), ws()), log), CatalogJobOutcome::kCompleted);
  EXPECT_EQ(log.lines.front(), InterruptedCopyIncompleteLine());
  ASSERT_TRUE(fs::is_directory(card() / kCheckBackupFolder));
  EXPECT_EQ(test::ReadFile(fs::directory_iterator(card() / kCheckBackupFolder)->path() / "CheckList" / "Check1.dat"), check);
  EXPECT_EQ(test::ReadFile(set() / "CheckList" / "Check1.dat"), test::ReadFile(ws() / "CheckList" / "Check1.dat"));
  EXPECT_FALSE(fs::exists(card() / kStagingFolder));
}

TEST_F(CardSafety, AConflictingFileStopsTheCopyBeforeAnythingIsWritten) {
  fs::remove_all(set() / "SYSTEM");
  test::WriteFile(set() / "SYSTEM", "a file where a folder should be");
  const Tree before = Snapshot(card());
  std::string message;
  test::RecordingStatusLog log;
  EXPECT_EQ(KindOf([&] { RunCatalogJob(Params(card(), ws()), log); }, &message), ErrorKind::kIo);
  EXPECT_EQ(message, "ファイル \"" + (set() / "SYSTEM").string() +
                         "\" を作成できません。ファイル名の指定が間違っています。カードは変換前のままです。");
  EXPECT_EQ(Differences(Snapshot(card()), before), "");
}

}  // namespace
}  // namespace dw
