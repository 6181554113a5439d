#include "convert/copy_repair.h"

#include "convert/card_files.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

const std::string kSet = "ZAVO_DS";
const std::string kStaging = kStagingFolder;

std::string Join(const std::string& a, const std::string& b) { return b.empty() ? a : a + "/" + b; }

class Repair {
 public:
  Repair(const CardFolder& card, const fs::path& workspace, bool inspect)
      : card_(card), fd_(card.fd()), workspace_(workspace), inspect_(inspect) {}

  void File(const CopyEntry& e) {
    const std::string target = Join(kSet, e.relative), staged = Join(kStaging, e.relative);
    const FileState placed = inspect_ ? InspectFile(fd_, target, e) : FileState::kOld;
    if (placed == FileState::kListed) return;  // a staged copy left beside it goes with the staging
    FileState ready = inspect_ ? InspectFile(fd_, staged, e) : FileState::kListed;
    if (ready != FileState::kListed) {
      if (ready != FileState::kAbsent) {
        MoveAside(staged);
        if (EntryKindAt(fd_, staged) != 0) return Unfinished();
      }
      if (!WorkspaceHolds(e)) return Unfinished();
      const std::string parent = fs::path(staged).parent_path().generic_string();
      if (MakeFoldersAt(fd_, parent) != 0 || CopyFileAt(workspace_ / e.relative, fd_, staged, {}).errno_value != 0 ||
          InspectFile(fd_, staged, e) != FileState::kListed) {
        return Unfinished();
      }
    }
    if (placed == FileState::kDamaged) {
      MoveAside(target);
      if (EntryKindAt(fd_, target) != 0) return Unfinished();
    }
    if (RenameAt(fd_, staged, target) != 0) {
      card_.CheckPresent("");
      return Unfinished();
    }
  }

  // Removes the staging folder bottom-up, the list last; damaged files are moved aside.
  void RemoveStaging() {
    RemoveBelow(kStaging);
    const std::string list = Join(kStaging, kSwapListName);
    if (EntryKindAt(fd_, list) == 'f') Remove(list);
    RemoveEmptyFolderAt(fd_, kStaging);
  }

  RepairOutcome outcome;

 private:
  void Unfinished() { outcome.finished = false; }

  bool WorkspaceHolds(const CopyEntry& e) {
    Checksum sum(e.sum_kind);
    long long size = -1;
    return ReadFile(workspace_ / e.relative, [&](const char* p, size_t n) { sum.Add(p, n); }, &size) == 0 &&
           size == static_cast<long long>(e.size) && sum.value() == e.sum;
  }

  void RemoveBelow(const std::string& folder) {
    std::vector<std::string> names;
    if (ListFolderAt(fd_, folder, names) != 0) return;
    for (const std::string& name : names) {
      const std::string path = Join(folder, name);
      if (path == Join(kStaging, kSwapListName)) continue;
      if (EntryKindAt(fd_, path) == 'd') {
        RemoveBelow(path);
        RemoveEmptyFolderAt(fd_, path);
      } else {
        Remove(path);
      }
    }
  }

  // Deletes a file that reads whole; one that does not is moved aside instead.
  void Remove(const std::string& path) {
    if (inspect_ && ReadFileAt(fd_, path, [](const char*, size_t) {}, nullptr) != 0) return MoveAside(path);
    RemoveFileAt(fd_, path);
  }

  // A rename to a new name changes directory entries only: the damaged chain is left as it is.
  void MoveAside(const std::string& path) {
    if (MakeFoldersAt(fd_, kDamagedFolder) != 0) return;
    const std::string name = fs::path(path).filename().string();
    std::string aside;
    for (int n = 1; aside.empty() || EntryKindAt(fd_, aside) != 0; ++n) {
      aside = Join(kDamagedFolder, std::to_string(n) + "-" + name);
    }
    if (RenameAt(fd_, path, aside) == 0) outcome.damaged.push_back(path);
  }

  const CardFolder& card_;
  const int fd_;
  const fs::path workspace_;
  const bool inspect_;
};

}  // namespace

FileState InspectFile(int dirfd, const std::string& relative, const CopyEntry& entry) {
  const char kind = EntryKindAt(dirfd, relative);
  if (kind == 0) return FileState::kAbsent;
  if (kind == 'd') return FileState::kDamaged;
  Checksum sum(entry.sum_kind);
  long long size = -1;
  if (ReadFileAt(dirfd, relative, [&](const char* p, size_t n) { sum.Add(p, n); }, &size) != 0) {
    return FileState::kDamaged;
  }
  if (size == static_cast<long long>(entry.size) && sum.value() == entry.sum) return FileState::kListed;
  return size == entry.old_size ? FileState::kOld : FileState::kDamaged;
}

RepairOutcome FinishCopy(const CardFolder& card, const std::vector<CopyEntry>& entries, const fs::path& workspace,
                         bool inspect) {
  Repair repair(card, workspace, inspect);
  repair.outcome.found = true;
  if (MakeFoldersAt(card.fd(), kSet) != 0) repair.outcome.finished = false;
  for (const CopyEntry& e : entries) {
    if (e.folder) {
      if (MakeFoldersAt(card.fd(), Join(kSet, e.relative)) != 0) repair.outcome.finished = false;
    } else {
      repair.File(e);
    }
  }
  card.CheckPresent("");
  // The set stands on the medium before its list goes.
  FlushAll(card.fd());
  repair.RemoveStaging();
  FlushAll(card.fd());
  return repair.outcome;
}

RepairOutcome RepairInterruptedCopy(const CardFolder& card, const fs::path& workspace) {
  const int fd = card.fd();
  if (EntryKindAt(fd, kStaging) == 0) return {};
  std::string text;
  std::vector<CopyEntry> entries;
  const int e = ReadFileAt(fd, Join(kStaging, kSwapListName), [&](const char* p, size_t n) { text.append(p, n); },
                           nullptr);
  if (e == 0 && ParseCopyList(text, entries)) return FinishCopy(card, entries, workspace, true);
  // The copy never got past writing its list: ZAVO_DS is as it was.
  Repair repair(card, workspace, true);
  repair.outcome.found = true;
  repair.RemoveStaging();
  FlushAll(fd);
  return repair.outcome;
}

}  // namespace dw
