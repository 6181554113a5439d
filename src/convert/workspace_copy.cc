// The copy onto the card never puts the visitor's check data in flight, and leaves a trace from
// which the next run finishes it, whatever write a crash interrupts:
//  1. A trace of an unfinished copy (the staging folder ZAVO_DS.new) is repaired first.
//  2. When the new set replaces check files with the visitor's data, they are copied with the
//     tables the export needs into ZAVO_DS_CheckList_backup/<stamp>/ (each file under a temporary
//     name, then renamed), flushed and read back before anything of the new set is written.
//  3. ZAVO_DS.new/SWAPLIST.TXT lists every folder and file of the new set with its size, checksum
//     and the size of the file it replaces; then every file is copied into ZAVO_DS.new and the
//     card is flushed.
//  4. Each staged file is renamed over its target in ZAVO_DS, and the staging folder is removed,
//     its list last.
// A run that fails cleanly (card full, pulled out, a stop request) in 3 removes the staging
// folder. After a crash the next run finds ZAVO_DS.new and finishes the listed copy (copy_repair.h).
#include "convert/workspace_copy.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/paths.h"
#include "convert/card_check_files.h"
#include "convert/card_files.h"
#include "convert/parallel_each.h"
#include "convert/stop_point.h"
#include "dataset/layout.h"
#include "platform/folder.h"
#include "platform/utf8_path.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

const std::string kSet = kZavoDsFolder;
const std::string kStaging = kStagingFolder;
const char* const kSwapUnfinished = "カードへのコピーが途中で止まりました。もう一度変換すると完了します。";

std::string Join(const std::string& a, const std::string& b) { return b.empty() ? a : a + "/" + b; }

Error WithCardUnchanged(const Error& e) {
  return Error(std::string(e.what()) + "。" + kCardUnchanged, e.kind(), e.errno_value(), e.path());
}

// Folders and files of the workspace in name order (folders before what they hold), each file
// with its size and checksum.
std::vector<CopyEntry> ListTree(const fs::path& root) {
  std::vector<CopyEntry> entries;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    CopyEntry e;
    e.relative = it->path().lexically_relative(root).generic_string();
    if (it->is_directory(ec)) {
      e.folder = true;
    } else if (it->is_regular_file(ec) && !IsPartialFile(it->path())) {
      e.source = it->path();
    } else {
      continue;
    }
    entries.push_back(std::move(e));
  }
  if (ec) throw CannotCopy(root, ec.value(), kCardUnchanged);
  std::sort(entries.begin(), entries.end(),
            [](const CopyEntry& a, const CopyEntry& b) { return a.relative < b.relative; });
  return entries;
}

void MeasureSources(std::vector<CopyEntry>& entries, int threads) {
  ForEachIndex(entries.size(), threads, [&](size_t i) {
    CopyEntry& e = entries[i];
    if (e.folder) return;
    Checksum sum;
    long long size = 0;
    if (int err = ReadFile(e.source, [&](const char* p, size_t n) { sum.Add(p, n); }, &size)) {
      throw CannotCopy(e.source, err, kCardUnchanged);
    }
    e.size = static_cast<uint64_t>(size);
    e.sum = sum.value();
  });
}

uint64_t RoundUp(uint64_t bytes, uint64_t unit) { return (bytes + unit - 1) / unit * unit; }

// Nothing of the new set may meet a file where a folder should be, or the other way round.
void CheckNoConflicts(const CardFolder& card, const std::vector<CopyEntry>& entries) {
  if (EntryKindAt(card.fd(), kSet) == 'f') throw WithCardUnchanged(CannotCreate(card.path() / kSet, ENOTDIR));
  for (const CopyEntry& e : entries) {
    const char kind = EntryKindAt(card.fd(), Join(kSet, e.relative));
    if (e.folder && kind == 'f') throw WithCardUnchanged(CannotCreate(card.path() / kSet / e.relative, ENOTDIR));
    if (!e.folder && kind == 'd') throw WithCardUnchanged(CannotCreate(card.path() / kSet / e.relative, EISDIR));
  }
}

// Removes the staging folder unless the copy got as far as the renames.
class StagingCleanup {
 public:
  explicit StagingCleanup(const CardFolder& card) : card_(card) {}
  ~StagingCleanup() {
    if (active_) RemoveTreeAt(card_.fd(), kStaging);
  }
  void Release() { active_ = false; }

 private:
  const CardFolder& card_;
  bool active_ = true;
};

// The backup's files as card-relative paths: where each stands, and its place in the backup.
struct CardBackupFile {
  std::string from, to;
};

std::vector<CardBackupFile> BackupFiles(const CardFolder& card, const CheckFilePlan& plan) {
  const fs::path card_set = card.path() / kSet;
  std::vector<CardBackupFile> files;
  for (const BackupFile& f : CheckBackupFiles(card_set, card_set / plan.card_folder_name, plan.backup)) {
    files.push_back({f.source.lexically_relative(card.path()).generic_string(), f.relative});
  }
  return files;
}

uint64_t SumOf(int dirfd, const std::string& relative, int& err) {
  Checksum sum;
  err = ReadFileAt(dirfd, relative, [&](const char* p, size_t n) { sum.Add(p, n); }, nullptr);
  return sum.value();
}

// Writes the backup completely into its final place, flushes the card and reads every file back.
// Each file is written under "<name>.partial" and renamed, so a backup file is whole or absent.
// Nothing here ever removes a backup.
void WriteBackup(const CardFolder& card, const std::vector<CardBackupFile>& files, const std::string& folder) {
  const int fd = card.fd();
  for (const CardBackupFile& f : files) {
    const std::string to = Join(folder, f.to), partial = to + ".partial";
    if (int e = MakeFoldersAt(fd, fs::path(to).parent_path().generic_string())) throw card.Failure(to, e, kCardUnchanged);
    const CopyFailure failure = CopyFileWithinAt(fd, f.from, partial, {});
    if (failure.errno_value != 0) throw card.Failure(failure.reading ? f.from : partial, failure.errno_value, kCardUnchanged);
    if (int e = RenameAt(fd, partial, to)) throw card.Failure(to, e, kCardUnchanged);
  }
  if (int e = FlushAll(fd)) throw card.Failure(folder, e, kCardUnchanged);
  for (const CardBackupFile& f : files) {
    int read_from = 0, read_to = 0;
    const std::string to = Join(folder, f.to);
    const uint64_t want = SumOf(fd, f.from, read_from), got = SumOf(fd, to, read_to);
    if (read_from != 0) throw card.Failure(f.from, read_from, kCardUnchanged);
    if (read_to != 0 || want != got) throw card.Failure(to, read_to != 0 ? read_to : EIO, kCardUnchanged);
  }
}

void ReportRepair(const CardFolder& card, const RepairOutcome& outcome, StatusLog& log) {
  if (!outcome.found) return;
  log.AddLine(outcome.finished ? InterruptedCopyFinishedLine() : InterruptedCopyIncompleteLine());
  if (!outcome.damaged.empty()) {
    log.AddLine(DamagedCardEntriesLine(card.path() / kDamagedFolder, outcome.damaged.size(), card.CheckCommand()));
  }
}

}  // namespace

RepairOutcome RecoverInterruptedCopy(const CardFolder& card, const fs::path& workspace, StatusLog& log) {
  const RepairOutcome outcome = RepairInterruptedCopy(card, workspace);
  ReportRepair(card, outcome, log);
  return outcome;
}

void CopyWorkspaceToCard(const fs::path& workspace, const CardFolder& card, StatusLog& log, const StopRequest* stop,
                         const std::string& backup_stamp, bool card_set_whole, int threads) {
  const int fd = card.fd();
  card.CheckPresent(kCardUnchanged);
  // A copy that could not be finished leaves a set whose check files may belong to another event:
  // then every check file with the visitor's data is backed up, none kept.
  const bool set_whole = RecoverInterruptedCopy(card, workspace, log).finished && card_set_whole;

  const fs::path card_set = card.path() / kSet;
  std::vector<CopyEntry> entries = ListTree(workspace);
  CheckNoConflicts(card, entries);
  const CheckFilePlan plan = PlanCheckFiles(card_set, workspace, set_whole);
  const size_t before = entries.size();
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const CopyEntry& e) { return !e.folder && plan.keep.count(AsciiUpper(e.relative)); }),
                entries.end());
  const size_t kept = before - entries.size();
  MeasureSources(entries, threads);
  for (CopyEntry& e : entries) {
    if (!e.folder) e.old_size = FileSizeAt(fd, Join(kSet, e.relative));
  }
  const std::vector<CardBackupFile> backup = plan.backup.empty() ? std::vector<CardBackupFile>() : BackupFiles(card, plan);

  // Everything written stays until the renames, beside the old set: all of it must fit.
  const std::optional<CardSpace> space = card.Space();
  const uint64_t unit = space ? space->unit : 4096;
  uint64_t needed = 2 * unit;  // the staging folder and its list
  int files = 0;
  for (const CopyEntry& e : entries) {
    needed += e.folder ? unit : RoundUp(e.size, unit);
    files += e.folder ? 0 : 1;
  }
  for (const CardBackupFile& f : backup) needed += RoundUp(static_cast<uint64_t>(std::max(0LL, FileSizeAt(fd, f.from))), unit) + unit;
  if (space && needed > space->free_bytes) {
    throw NotEnoughCardSpace(card.path(), needed, space->free_bytes);
  }

  log.SetProgressMin(0);
  log.SetProgressMax(files);
  log.SetProgressPosition(0);
  log.ProcessEvents();
  auto last_events = std::chrono::steady_clock::now();
  auto tick = [&] {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_events >= std::chrono::milliseconds(50)) {
      log.ProcessEvents();
      last_events = now;
    }
  };

  // The visitor's data first and alone.
  std::string backup_folder;
  if (!backup.empty()) {
    StopIfRequested(stop);
    backup_folder = FreeBackupName(backup_stamp, [fd](const std::string& name) { return EntryKindAt(fd, name) != 0; });
    WriteBackup(card, backup, backup_folder);
  }

  // The list, then the staged files.
  StopIfRequested(stop);
  card.CheckPresent(kCardUnchanged);
  StagingCleanup cleanup(card);
  if (int e = MakeFoldersAt(fd, kStaging)) throw card.Failure(kStaging, e, kCardUnchanged);
  const std::string list_name = Join(kStaging, kSwapListName);
  if (int e = WriteFileAt(fd, list_name, CopyListText(entries))) throw card.Failure(list_name, e, kCardUnchanged);
  int done = 0;
  std::string made_folder;
  for (const CopyEntry& entry : entries) {
    StopIfRequested(stop);
    card.CheckPresent(kCardUnchanged);
    if (entry.folder) continue;  // made in ZAVO_DS by the renames
    const std::string target = Join(kStaging, entry.relative);
    const std::string parent = fs::path(target).parent_path().generic_string();
    if (parent != made_folder) {
      if (int e = MakeFoldersAt(fd, parent)) throw card.Failure(parent, e, kCardUnchanged);
      made_folder = parent;
    }
    const CopyFailure failure = CopyFileAt(entry.source, fd, target, tick);
    if (failure.errno_value != 0 && failure.reading && card.Present()) {
      throw CannotCopy(entry.source, failure.errno_value, kCardUnchanged);
    }
    if (failure.errno_value != 0) throw card.Failure(target, failure.errno_value, kCardUnchanged);
    log.SetProgressPosition(++done);
    tick();
  }
  StopIfRequested(stop);
  card.CheckPresent(kCardUnchanged);
  if (int e = FlushAll(fd)) throw card.Failure("", e, kCardUnchanged);
  card.CheckPresent(kCardUnchanged);

  // The renames.
  cleanup.Release();
  const RepairOutcome swapped = FinishCopy(card, entries, workspace, false);
  if (!swapped.finished) throw card.Failure(kSet, EIO, kSwapUnfinished);
  RemoveStalePartials(card_set);  // left by older versions, which wrote into ZAVO_DS directly

  if (kept > 0) log.AddLine("カードのチェックデータ " + std::to_string(kept) + " ファイルをそのまま残しました");
  if (!plan.backup.empty()) {
    log.AddLine("カードのチェックデータ " + std::to_string(plan.backup.size()) + " ファイルを \"" +
                DisplayPath((card.path() / PathFromUtf8(backup_folder)).make_preferred()) + "\" に残しました (別のイベントのデータです)");
  }
}

}  // namespace dw
