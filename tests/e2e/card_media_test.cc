// The conversion onto real card file systems: a FAT32 image mounted in user space and a small
// tmpfs. Checks kept over a re-conversion, a card that fills up or is pulled out mid-copy, Ctrl-C
// during the copy, two runs at once, a destination overlapping the workspace.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "common/messages.h"
#include "convert/card_files.h"
#include "convert/card_readback.h"
#include "convert/catalog_job.h"
#include "convert/copy_list.h"
#include "dataset/day_tables.h"
#include "e2e/test_card.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/checklist_fixtures.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::TestCard;
using Tree = test::Files;
Tree Snapshot(const fs::path& root) { return test::SnapshotWithFolders(root); }

using test::Differences;

// The handheld's writes onto the card. A new file each time: the FAT driver in user space loses
// bytes when it truncates a file that it rewrites in place.
void WriteCardFile(const fs::path& path, const std::string& bytes) {
  fs::remove(path);
  test::WriteFile(path, bytes);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs `on_position` at every progress step of the copy and `on_line` at every status line.
struct HookLog : test::RecordingStatusLog {
  std::function<void(int)> on_position;
  std::function<void(const std::string&)> on_line;
  bool copying = false;  // the copy onto the card has begun
  void SetProgressPosition(int value) override {
    RecordingStatusLog::SetProgressPosition(value);
    if (on_position && copying && value > 0) on_position(value);
  }
  void AddLine(const std::string& utf8) override {
    RecordingStatusLog::AddLine(utf8);
    copying = copying || utf8 == "ファイルコピー作業開始";
    if (on_line) on_line(utf8);
  }
};

class CardMedia : public ::testing::TestWithParam<TestCard::Kind> {
 protected:
  // `megabytes` only for tmpfs; a FAT32 image has the smallest FAT32 size.
  void Mount(int megabytes = 4) {
    card_ = std::make_unique<TestCard>(GetParam(), dir_.path(), IsFat() ? 34 : megabytes);
    if (!card_->skip_reason().empty()) GTEST_SKIP() << card_->skip_reason();
  }
  bool IsFat() const { return GetParam() == TestCard::Kind::kFat32; }
  fs::path root() const { return card_->root(); }
  fs::path set() const { return root() / "ZAVO_DS"; }
  fs::path ws() const { return dir_ / "WS"; }
  std::string ConvertArgs(const fs::path& dest, const fs::path& ws, const char* mode = "data") const {
    return "convert " + test::Quote(test::SampleCatalog().string()) + " " + test::Quote(dest.string()) + " --mode " +
           mode + " --workspace " + test::Quote(ws.string());
  }
  CatalogJobParams Params(const char* mode = "data") const {
    CatalogJobParams p;
    p.source_root = test::SampleCatalog();
    p.destination = root();
    p.workspace = ws();
    p.mode = static_cast<int>(std::string(mode) == "all" ? ConversionMode::kDataAndImages : ConversionMode::kDataOnly);
    return p;
  }
  // Runs the job, returning the error it threw (kind kOther and empty text when none).
  Error RunJob(const CatalogJobParams& p, test::RecordingStatusLog& log) {
    try {
      RunCatalogJob(p, log);
    } catch (const Error& e) {
      return e;
    }
    return Error("");
  }
  void FirstConversion(const char* mode = "data") {
    test::CliResult r = test::RunCli(ConvertArgs(root(), ws(), mode), dir_);
    ASSERT_EQ(r.status, 0) << r.err;
  }

  test::TempDir dir_;
  std::unique_ptr<TestCard> card_;
};

TEST_P(CardMedia, ReconversionKeepsTheVisitorsChecksAndTheExportIsUnchanged) {
  Mount();
  FirstConversion();
  const std::vector<DayRange> days = ReadDayIndex(set() / "CDATA" / "L_DayTop.dat");
  ASSERT_EQ(days.size(), 3u);
  WriteCardFile(set() / "CheckList" / "Check1.dat",
                  test::HandheldCheckFile({{days[0].first, kVisitedFlag, 2}, {uint16_t(days[0].first + 2), 0, 5}}));
  WriteCardFile(set() / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(days[0].count, {{0, 0, {1, 2, 50}}}));
  WriteCardFile(set() / "CheckList" / "Check3.dat", test::HandheldCheckFile({{days[2].first, 0, 9}}));
  const std::string export_args = "export " + test::Quote(set().string()) + " ";
  const test::CliResult exported = test::RunCli(export_args + test::Quote((dir_ / "before").string()), dir_);
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string before = test::ReadFile(dir_ / "before" / "ZAVO_DS_Check.csv");
  ASSERT_EQ(std::count(before.begin(), before.end(), '\n'), 4) << before;  // the header and 3 records

  const test::CliResult r = test::RunCli(ConvertArgs(root(), ws()), dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "カードのチェックデータ 3 ファイルをそのまま残しました\n")) << r.out;
  ASSERT_EQ(test::RunCli(export_args + test::Quote((dir_ / "after").string()), dir_).status, 0);
  EXPECT_EQ(test::ReadFile(dir_ / "after" / "ZAVO_DS_Check.csv"), before);
  EXPECT_FALSE(fs::exists(root() / "ZAVO_DS.new"));
}

TEST_P(CardMedia, ACardThatFillsUpMidCopyKeepsTheOldSetWhole) {
  Mount(2);
  FirstConversion();
  const Tree old_set = Snapshot(set());
  HookLog log;
  bool filled = false;
  log.on_position = [&](int position) {
    if (position == 3) filled = card_->Fill();
  };
  const Error e = RunJob(Params(), log);
  ASSERT_TRUE(filled);
  EXPECT_EQ(e.kind(), ErrorKind::kNoSpace) << e.what();
  EXPECT_TRUE(Contains(e.what(), "カードがいっぱいです (" + (root() / "ZAVO_DS.new").string())) << e.what();
  EXPECT_TRUE(Contains(e.what(), "カードは変換前のままです。")) << e.what();
  EXPECT_EQ(Differences(Snapshot(set()), old_set), "");
  EXPECT_FALSE(fs::exists(root() / "ZAVO_DS.new"));
  EXPECT_EQ(log.lines.back(), "ファイルコピーに失敗しました");
}

TEST_P(CardMedia, TooLittleFreeSpaceStopsBeforeWritingAnything) {
  if (IsFat()) GTEST_SKIP() << "the FAT driver in user space reports no size (the check counts it as unknown)";
  Mount(2);
  const test::CliResult r = test::RunCli(ConvertArgs(root(), ws(), "all"), dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "カードの空き容量が足りません: 必要 2.")) << r.err;
  EXPECT_TRUE(Contains(r.err, " MB、空き 2.0 MB (" + root().string() + ")。カードには何も書き込んでいません。")) << r.err;
  EXPECT_TRUE(fs::is_empty(root()));
}

TEST_P(CardMedia, ACardPulledOutStopsTheRunAndNothingReachesTheLocalDisk) {
  Mount();
  FirstConversion();
  const Tree old_set = Snapshot(set());
  for (const char* when : {"before the copy", "mid-copy"}) {
    SCOPED_TRACE(when);
    HookLog log;
    if (std::string(when) == "mid-copy") {
      log.on_position = [&](int position) {
        if (position == 3) card_->Pull();
      };
    } else {
      log.on_line = [&](const std::string& line) {
        if (line == "ファイルコピー作業開始") card_->Pull();
      };
    }
    const Error e = RunJob(Params(), log);
    EXPECT_EQ(e.kind(), ErrorKind::kCardRemoved) << e.what();
    EXPECT_EQ(std::string(e.what()), "カードが取り外されました (" + root().string() + ")。カードは変換前のままです。");
    EXPECT_TRUE(fs::is_empty(root()));  // the bare mount point on the local disk
    if (!IsFat()) break;  // a pulled tmpfs keeps nothing to look at
    ASSERT_TRUE(card_->Remount());
    EXPECT_EQ(Differences(Snapshot(set()), old_set), "");
    EXPECT_FALSE(fs::exists(root() / "ZAVO_DS.new"));
  }
}

TEST_P(CardMedia, CtrlCDuringTheCopyLeavesTheOldSetAndExits130) {
  Mount(8);
  FirstConversion("all");
  const Tree old_set = Snapshot(set());
  // SIGINT as soon as the staging folder appears (the copy is running); SIGTERM on tmpfs, whose
  // copy is too quick to catch, right after the first status line (between phases).
  const int signal_number = IsFat() ? SIGINT : SIGTERM;
  const fs::path out = dir_ / "out.txt", err = dir_ / "err.txt";
  test::WriteFile(set() / "CDATA" / "old-only.dat", "kept");  // the copy would change this set
  const Tree changed = Snapshot(set());
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    const std::string source = test::SampleCatalog().string(), dest = root().string(), w = ws().string();
    ::execl(DW_CLI_PATH, DW_CLI_PATH, "convert", source.c_str(), dest.c_str(), "--mode", "all", "--workspace",
            w.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  bool sent = false;
  for (int i = 0; i < 20000 && !sent; ++i) {
    if (IsFat() ? fs::exists(root() / "ZAVO_DS.new") : !test::ReadFile(out).empty()) {
      ::kill(pid, signal_number);
      sent = true;
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(sent);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 128 + signal_number);
  EXPECT_EQ(test::ReadFile(err), "変換を中止しました。カードは変換前のままです。\n");
  EXPECT_TRUE(Contains(test::ReadFile(out), "作業を中止しました\n"));
  EXPECT_EQ(Differences(Snapshot(set()), changed), "");
  EXPECT_FALSE(fs::exists(root() / "ZAVO_DS.new"));
  for (auto& [name, bytes] : Snapshot(ws())) EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
  EXPECT_NE(Differences(changed, old_set), "");
}

TEST_P(CardMedia, ASecondRunAtTheSameTimeStopsAtOnce) {
  Mount();
  fs::create_directories(dir_ / "other");
  HookLog log;
  test::CliResult same_card, same_ws;
  log.on_position = [&](int position) {
    if (position != 1) return;
    same_card = test::RunCli(ConvertArgs(root(), dir_ / "WS2"), dir_);
    same_ws = test::RunCli(ConvertArgs(dir_ / "other", ws()), dir_);
  };
  const Error e = RunJob(Params(), log);
  EXPECT_STREQ(e.what(), "");
  EXPECT_EQ(same_card.status, 1);
  EXPECT_EQ(same_card.err, "別の変換が保存先フォルダ \"" + root().string() + "\" を使っています。終わってから実行してください。\n");
  EXPECT_EQ(same_card.out, "");
  EXPECT_FALSE(fs::exists(dir_ / "WS2"));
  EXPECT_EQ(same_ws.status, 1);
  EXPECT_TRUE(Contains(same_ws.err, "別の変換が作業フォルダ \"" + ws().string() + "\" を使っています。")) << same_ws.err;
  EXPECT_TRUE(fs::is_empty(dir_ / "other"));
  EXPECT_EQ(Snapshot(set()).size(), Snapshot(ws()).size());
}

TEST_P(CardMedia, ADestinationOverlappingTheWorkspaceIsRefused) {
  Mount();
  for (const auto& [dest, w] : {std::pair{root(), root() / "DATA"}, std::pair{root() / "DATA" / "in", root() / "DATA"}}) {
    SCOPED_TRACE(dest.string());
    fs::create_directories(dest);
    const test::CliResult r = test::RunCli(ConvertArgs(dest, w), dir_);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "保存先フォルダ \"" + dest.string() + "\" と作業フォルダ \"" + w.string() +
                         "\" が重なっています。作業フォルダの外のフォルダを保存先に選んでください。\n");
    EXPECT_FALSE(fs::exists(dest / "ZAVO_DS"));
    EXPECT_FALSE(fs::exists(w / "CDATA"));
  }
}

// The workspace leaves whole zero blocks as holes. Its files, written on such a medium or copied
// onto it, read back whole: where the file system keeps holes (tmpfs) the zero blocks take no
// space, and where it cannot lengthen a file (the FAT driver in user space) every byte is written.
// The read-back finds a byte changed in data or in a hole.
TEST_P(CardMedia, FilesOfZeroBlocksAreWrittenCopiedAndReadBackWhole) {
  Mount(8);
  constexpr size_t kBlock = 65536;
  std::string layer(5 * kBlock + 100, '\0');
  layer[kBlock + 3] = 'x';
  layer[3 * kBlock] = 'y';
  layer.back() = 'z';
  const std::map<std::string, std::string> files = {
      {"MAP1E123.rak", layer},
      {"C_Memo1.dat", "head" + std::string(3 * kBlock - 4, '\0')},  // ends in a zero block
      {"D_Buy1.dat", std::string(2 * kBlock, '\0')},
      {"Check1.dat", ""}};
  const fs::path workspace = dir_ / "ws", card_set = root() / "set";
  fs::create_directories(workspace);
  fs::create_directories(card_set);
  const int card = platform::OpenFolder(root());
  ASSERT_GE(card, 0);
  struct CloseCard {
    int fd;
    ~CloseCard() { platform::Close(fd); }
  } close_card{card};
  for (const auto& [name, bytes] : files) {
    ASSERT_EQ(platform::WriteWholeFile(root() / name, bytes, false), 0) << name;
    EXPECT_EQ(test::ReadFile(root() / name), bytes) << name;
    ASSERT_EQ(platform::WriteWholeFile(workspace / name, bytes, false), 0) << name;
    ASSERT_EQ(CopyFileAt(workspace / name, card, "set/" + name, {}).errno_value, 0) << name;
    EXPECT_EQ(test::ReadFile(card_set / name), bytes) << name;
    Checksum read, written;
    ASSERT_EQ(ReadFile(card_set / name, [&](const char* p, size_t n) { read.Add(p, n); }, nullptr), 0);
    written.Add(bytes.data(), bytes.size());
    EXPECT_EQ(read.value(), written.value()) << name;
  }
  for (const fs::path& file : {root() / "MAP1E123.rak", card_set / "MAP1E123.rak"}) {
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    if (!IsFat()) {
      EXPECT_LE(static_cast<size_t>(st.st_blocks) * 512, 2 * kBlock + 4096) << file;
    }
  }
  EXPECT_EQ(CompareSetWithWorkspace(workspace, card_set, {}).files, files.size());
  for (const uint64_t at : {uint64_t{kBlock + 3}, uint64_t{2 * kBlock + 5}}) {  // in data, in a hole
    const std::string path = (card_set / "MAP1E123.rak").string();
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, "#", 1, static_cast<off_t>(at)), 1);
    ::close(fd);
    const SetComparison found = CompareSetWithWorkspace(workspace, card_set, {});
    ASSERT_EQ(found.differences.size(), 1u) << at;
    EXPECT_EQ(found.differences[0].relative, "MAP1E123.rak");
    EXPECT_EQ(found.differences[0].offset, at);
    fs::remove(path);
    ASSERT_EQ(CopyFileAt(workspace / "MAP1E123.rak", card, "set/MAP1E123.rak", {}).errno_value, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(, CardMedia, ::testing::Values(TestCard::Kind::kFat32, TestCard::Kind::kTmpfs),
                         [](const auto& info) { return info.param == TestCard::Kind::kFat32 ? "Fat32" : "Tmpfs"; });

// A byte changed on the card behind the file system's back (in the FAT image itself, as a card
// that wraps its writes around would do) is found by the read-back, which names the file.
TEST(CardReadBack, ChangeOnTheDeviceAfterTheCopyIsNamed) {
  test::TempDir dir;
  TestCard card(TestCard::Kind::kFat32, dir.path(), 34);
  if (!card.skip_reason().empty()) GTEST_SKIP() << card.skip_reason();
  CatalogJobParams p;
  p.source_root = test::SampleCatalog();
  p.destination = card.root();
  p.workspace = dir.path() / "WS";
  p.mode = static_cast<int>(ConversionMode::kDataOnly);
  test::RecordingStatusLog log;
  ASSERT_EQ(RunCatalogJob(p, log), CatalogJobOutcome::kCompleted);
  const std::string files = std::to_string(test::Snapshot(p.workspace).size());
  EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "書き込み確認: " + files + " ファイル一致"), log.lines.end());

  const std::string window = test::ReadFile(p.workspace / "DataFull/D_Full1.dat").substr(100, 48);
  std::string image = test::ReadFile(card.image());
  const size_t at = image.find(window);
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(image.find(window, at + 1), std::string::npos);
  {
    const int fd = ::open(card.image().c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, "#", 1, static_cast<off_t>(at + 7)), 1);
    ::close(fd);
  }
  const test::ThrownError e = test::Thrown([&] { ReadBackCard(p.workspace, card.root() / "ZAVO_DS", log, nullptr); });
  EXPECT_EQ(e.kind, ErrorKind::kDamaged);
  EXPECT_TRUE(e.Contains("D_Full1.dat")) << e.what();
  EXPECT_TRUE(e.Contains("容量より実際の容量が小さい")) << e.what();
}

}  // namespace
}  // namespace dw
