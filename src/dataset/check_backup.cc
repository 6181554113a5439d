#include "dataset/check_backup.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/paths.h"
#include "dataset/check_files.h"
#include "dataset/layout.h"
#include "platform/process.h"

namespace dw {
namespace fs = std::filesystem;

bool IsCheckFileName(std::string_view name) {
  return WildcardMatch("Check*.dat", name) || WildcardMatch("C_Memo*.dat", name) || WildcardMatch("D_Buy*.dat", name);
}

std::vector<std::string> CheckFileNamesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (FolderEntry& entry : ListFolder(folder)) {
    if (!entry.is_folder && IsCheckFileName(entry.name)) names.push_back(std::move(entry.name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool HoldsVisitorData(std::string_view name, std::string_view bytes) {
  if (WildcardMatch("Check*.dat", name)) {
    try {
      return !ParseCheckFile(bytes, fs::path(std::string(name))).empty();
    } catch (const Error&) {
      return true;
    }
  }
  return bytes.size() > 2 && std::any_of(bytes.begin() + 2, bytes.end(), [](char c) { return c != 0; });
}

std::string BackupStamp(std::time_t when) {
  const std::tm local = platform::LocalTime(when);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::string FreeBackupName(const std::string& stamp, const std::function<bool(const std::string&)>& taken) {
  const std::string base = std::string(kCheckBackupFolder) + "/" + stamp;
  std::string name = base;
  for (int n = 2; taken(name); ++n) name = base + "-" + std::to_string(n);
  return name;
}

std::vector<BackupFile> CheckBackupFiles(const fs::path& set, const fs::path& check_folder,
                                         const std::vector<std::string>& check_files) {
  std::vector<BackupFile> files;
  std::error_code ec;
  auto add = [&](const fs::path& file, const std::string& relative) {
    if (fs::is_regular_file(file, ec)) files.push_back({file, relative});
  };
  for (const std::string& name : check_files) add(check_folder / name, std::string(kCheckListFolder) + "/" + name);
  for (const char* table : {kEventHeaderFile, kDayIndexFile}) {
    add(ResolveIgnoringCase(set, {kCdataFolder, table}), std::string(kCdataFolder) + "/" + table);
  }
  const fs::path full = ResolveIgnoringCase(set, {kDataFullFolder});
  std::vector<fs::path> day_files;
  for (const FolderEntry& entry : ListFolder(full)) day_files.push_back(full / entry.name);
  std::sort(day_files.begin(), day_files.end());
  for (const fs::path& file : day_files) add(file, std::string(kDataFullFolder) + "/" + file.filename().string());
  return files;
}

fs::path WriteCheckBackup(const std::vector<BackupFile>& files, const fs::path& beside, const std::string& stamp) {
  ForceDirectories(beside / kCheckBackupFolder);
  // create_directory says whether it made the folder, so a name taken meanwhile is skipped too.
  fs::path folder;
  FreeBackupName(stamp, [&](const std::string& name) {
    folder = beside / name;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder, ec))) return true;
    const bool made = fs::create_directory(folder, ec);
    if (ec) throw CannotCreate(folder, ec.value());
    return !made;
  });
  for (const BackupFile& file : files) {
    const fs::path target = folder / file.relative;
    ForceDirectories(target.parent_path());
    const std::string bytes = ReadWholeFile(file.source);
    DurableSave(target, bytes);
    if (ReadWholeFile(target) != bytes) throw BackupDiffers(target);
  }
  return folder;
}

}  // namespace dw
