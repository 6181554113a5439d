// The copy onto the card keeps the card's previous ZAVO_DS whole until the new set is complete.
//
// A FAT32 rename cannot replace a non-empty folder (and the FAT driver in user space loses the
// contents of a renamed folder), so the new set is put in place file by file from a staging folder:
//  1. Every file to send is copied into <dest>/ZAVO_DS.new/ in the same layout; ZAVO_DS is not
//     touched. A failure here (card full, pulled out, I/O error, a stop request) removes the
//     staging folder and any backup just made: the card is as it was.
//  2. ZAVO_DS.new/SWAPLIST.TXT lists every staged folder and file with its size, ending in "END";
//     then the card is flushed once (syncfs).
//  3. Each staged file is renamed into ZAVO_DS/, replacing the old file of that name (renaming a
//     file over a file works on every file system), and the staging folder is removed. Old files
//     the new set does not send stay, as do the visitor's check files that are kept.
// Step 3 only renames. When it is cut off (card pulled out, power lost), the next run finds
// ZAVO_DS.new with a complete list whose files match, and finishes the renames before anything
// else; a staging folder without a complete list is an unfinished step 1 and is removed.
#include "convert/workspace_copy.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/paths.h"
#include "convert/card_check_files.h"
#include "convert/card_files.h"
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

// One folder or file to put on the card. Paths are '/'-separated and relative to the card folder.
struct Entry {
  std::string relative;  // below the set (or below the backup folder)
  std::string staged;    // where step 1 copies it (empty for a folder)
  std::string target;    // where step 3 puts it
  fs::path source;       // the file copied (a workspace file, or a card file for a backup)
  uint64_t size = 0;
  bool folder = false;
};

std::string Join(const std::string& a, const std::string& b) { return b.empty() ? a : a + "/" + b; }

Error WithCardUnchanged(const Error& e) {
  return Error(std::string(e.what()) + "。" + kCardUnchanged, e.kind(), e.errno_value(), e.path());
}

// Folders and files of the workspace in name order (folders before what they hold).
std::vector<Entry> ListTree(const fs::path& root) {
  std::vector<Entry> entries;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    Entry e;
    e.relative = it->path().lexically_relative(root).generic_string();
    e.target = Join(kSet, e.relative);
    if (it->is_directory(ec)) {
      e.folder = true;
    } else if (it->is_regular_file(ec) && !IsPartialFile(it->path())) {
      e.staged = Join(kStaging, e.relative);
      e.source = it->path();
      e.size = it->file_size(ec);
    } else {
      continue;
    }
    entries.push_back(std::move(e));
  }
  if (ec) throw CannotCopy(root, ec.value(), kCardUnchanged);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.relative < b.relative; });
  return entries;
}

uint64_t RoundUp(uint64_t bytes, uint64_t unit) { return (bytes + unit - 1) / unit * unit; }

// Nothing of the new set may meet a file where a folder should be, or the other way round.
void CheckNoConflicts(const CardFolder& card, const std::vector<Entry>& entries) {
  if (EntryKindAt(card.fd(), kSet) == 'f') throw WithCardUnchanged(CannotCreate(card.path() / kSet, ENOTDIR));
  for (const Entry& e : entries) {
    const char kind = EntryKindAt(card.fd(), Join(kSet, e.relative));
    if (e.folder && kind == 'f') throw WithCardUnchanged(CannotCreate(card.path() / kSet / e.relative, ENOTDIR));
    if (!e.folder && kind == 'd') throw WithCardUnchanged(CannotCreate(card.path() / kSet / e.relative, EISDIR));
  }
}

// One line per entry: "<size or ->\t<staged>\t<target>".
std::string SwapList(const std::vector<Entry>& entries) {
  std::string list;
  for (const Entry& e : entries) {
    list += (e.folder ? std::string("-") : std::to_string(e.size)) + "\t" + e.staged + "\t" + e.target + "\n";
  }
  return list + "END\n";
}

// The entries of a complete swap list; false when it is absent or cut short.
bool ReadSwapList(int dirfd, std::vector<Entry>& entries) {
  int fd = platform::OpenFileAt(dirfd, Join(kStaging, kSwapListName));
  if (fd < 0) return false;
  std::string text;
  char buffer[65536];
  for (long long n; (n = platform::Read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  platform::Close(fd);
  if (text.size() < 4 || text.compare(text.size() - 4, 4, "END\n") != 0) return false;
  size_t at = 0;
  while (at < text.size() - 4) {
    const size_t tab = text.find('\t', at), end = text.find('\n', at);
    const size_t tab2 = tab == std::string::npos ? tab : text.find('\t', tab + 1);
    if (tab2 == std::string::npos || end == std::string::npos || tab2 > end) return false;
    Entry e;
    const std::string size = text.substr(at, tab - at);
    e.staged = text.substr(tab + 1, tab2 - tab - 1);
    e.target = text.substr(tab2 + 1, end - tab2 - 1);
    // Only names inside the card folder that this copy writes.
    const bool inside = e.staged.rfind(kStaging + "/", 0) == 0 || (e.staged.empty() && size == "-");
    if (!inside || e.target.empty() || e.target[0] == '/' || e.target.find("..") != std::string::npos) return false;
    e.folder = size == "-";
    if (!e.folder) {
      if (size.empty() || size.find_first_not_of("0123456789") != std::string::npos) return false;
      e.size = std::stoull(size);
    }
    entries.push_back(std::move(e));
    at = end + 1;
  }
  return true;
}

long long SizeAt(int dirfd, const std::string& relative) {
  platform::EntryStatus status;
  if (platform::StatusAt(dirfd, relative, status) != 0 || !status.regular) return -1;
  return static_cast<long long>(status.size);
}

// Step 3: renames every staged file to its target, then removes the staging folder.
void SwapIn(const CardFolder& card, const std::vector<Entry>& entries) {
  const int fd = card.fd();
  if (int e = MakeFoldersAt(fd, kSet)) throw card.Failure(kSet, e, kSwapUnfinished);
  for (const Entry& entry : entries) {
    const std::string& target = entry.target;
    if (entry.folder) {
      if (int e = MakeFoldersAt(fd, target)) throw card.Failure(target, e, kSwapUnfinished);
    } else if (EntryKindAt(fd, entry.staged) == 'f') {
      if (platform::RenameAt(fd, entry.staged, target) != 0) throw card.Failure(target, errno, kSwapUnfinished);
    }
  }
  RemoveTreeAt(fd, kStaging);
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

// A backup folder name that is not taken yet: <stamp>, <stamp>-2, ...
std::string FreeBackupName(int dirfd, const std::string& stamp) {
  std::string name = Join(kCheckBackupFolder, stamp);
  for (int n = 2; EntryKindAt(dirfd, name) != 0; ++n) name = Join(kCheckBackupFolder, stamp + "-" + std::to_string(n));
  return name;
}

// What a backup of the check files holds: the files themselves and the tables the export needs,
// so that the backup folder can be exported like a ZAVO_DS folder. They are staged in
// ZAVO_DS.new/~BACKUP/ and put in place with the set, so a run cut off leaves no half backup.
std::vector<Entry> BackupEntries(const fs::path& card_set, const CheckFilePlan& plan, const std::string& folder) {
  std::vector<Entry> entries;
  if (plan.backup.empty()) return entries;
  std::error_code ec;
  for (const char* sub : {"", "/CheckList", "/CDATA", "/DataFull"}) {
    Entry e;
    e.folder = true;
    e.target = folder + sub;
    entries.push_back(e);
  }
  auto add = [&](const fs::path& file, const std::string& relative) {
    if (!fs::is_regular_file(file, ec)) return;
    Entry e;
    e.relative = relative;
    e.staged = Join(kStaging, "~BACKUP/" + relative);
    e.target = Join(folder, relative);
    e.source = file;
    e.size = fs::file_size(file, ec);
    entries.push_back(e);
  };
  for (const std::string& name : plan.backup) {
    add(card_set / plan.card_folder_name / name, Join(kCheckListFolder, name));
  }
  for (const char* table : {kEventHeaderFile, kDayIndexFile}) {
    add(ResolveIgnoringCase(card_set, {kCdataFolder, table}), Join(kCdataFolder, table));
  }
  const fs::path full = ResolveIgnoringCase(card_set, {kDataFullFolder});
  for (auto it = fs::directory_iterator(full, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    add(it->path(), Join(kDataFullFolder, it->path().filename().string()));
  }
  return entries;
}

}  // namespace

bool RecoverInterruptedCopy(const CardFolder& card) {
  const int fd = card.fd();
  if (EntryKindAt(fd, kStaging) != 'd') return false;
  std::vector<Entry> entries;
  bool complete = ReadSwapList(fd, entries);
  for (const Entry& e : entries) {
    if (!complete || e.folder) continue;
    const long long staged = SizeAt(fd, e.staged);
    const long long placed = SizeAt(fd, e.target);
    complete = staged == static_cast<long long>(e.size) || (staged < 0 && placed == static_cast<long long>(e.size));
  }
  if (!complete) {
    RemoveTreeAt(fd, kStaging);
    return false;
  }
  SwapIn(card, entries);
  return true;
}

void CopyWorkspaceToCard(const fs::path& workspace, const CardFolder& card, StatusLog& log, const StopRequest* stop,
                         const std::string& backup_stamp) {
  const int fd = card.fd();
  card.CheckPresent(kCardUnchanged);
  if (RecoverInterruptedCopy(card)) log.AddLine("前回途中で止まったカードへのコピーを完了しました");

  const fs::path card_set = card.path() / kSet;
  std::vector<Entry> entries = ListTree(workspace);
  CheckNoConflicts(card, entries);
  const CheckFilePlan plan = PlanCheckFiles(card_set, workspace);
  const size_t before = entries.size();
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const Entry& e) { return !e.folder && plan.keep.count(AsciiUpper(e.relative)); }),
                entries.end());
  const size_t kept = before - entries.size();
  const std::string backup_folder = FreeBackupName(fd, backup_stamp);
  for (Entry& e : BackupEntries(card_set, plan, backup_folder)) entries.push_back(std::move(e));

  // Everything written stays until the renames, beside the old set: all of it must fit.
  const std::optional<CardSpace> space = card.Space();
  const uint64_t unit = space ? space->unit : 4096;
  uint64_t needed = 2 * unit;  // the staging folder and its list
  int files = 0;
  for (const Entry& e : entries) {
    needed += e.folder ? unit : RoundUp(e.size, unit);
    files += e.folder ? 0 : 1;
  }
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
  int done = 0;
  std::string made_folder;

  // Step 1.
  StagingCleanup cleanup(card);
  if (int e = MakeFoldersAt(fd, kStaging)) throw card.Failure(kStaging, e, kCardUnchanged);
  for (const Entry& entry : entries) {
    StopIfRequested(stop);
    card.CheckPresent(kCardUnchanged);
    if (entry.folder) continue;  // made in ZAVO_DS by step 3
    const std::string& target = entry.staged;
    const std::string parent = fs::path(target).parent_path().string();
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
  // Step 2.
  StopIfRequested(stop);
  card.CheckPresent(kCardUnchanged);
  {
    const std::string list_name = Join(kStaging, kSwapListName);
    const std::string list = SwapList(entries);
    int out = platform::CreateFileAt(fd, list_name);
    if (out < 0) throw card.Failure(list_name, errno, kCardUnchanged);
    const long long written = platform::Write(out, list.data(), list.size());
    int e = written == static_cast<long long>(list.size()) ? 0 : (written < 0 ? errno : ENOSPC);
    if (platform::Close(out) != 0 && e == 0) e = errno;
    if (e != 0) throw card.Failure(list_name, e, kCardUnchanged);
  }
  if (platform::SyncVolume(fd) != 0 && errno != EINVAL && errno != ENOSYS && errno != EROFS) {
    throw card.Failure("", errno, kCardUnchanged);
  }
  card.CheckPresent(kCardUnchanged);

  // Step 3.
  cleanup.Release();
  SwapIn(card, entries);
  RemoveStalePartials(card_set);  // left by older versions, which wrote into ZAVO_DS directly

  if (kept > 0) log.AddLine("カードのチェックデータ " + std::to_string(kept) + " ファイルをそのまま残しました");
  if (!plan.backup.empty()) {
    log.AddLine("カードのチェックデータ " + std::to_string(plan.backup.size()) + " ファイルを \"" +
                DisplayPath((card.path() / PathFromUtf8(backup_folder)).make_preferred()) + "\" に残しました (別のイベントのデータです)");
  }
}

}  // namespace dw
