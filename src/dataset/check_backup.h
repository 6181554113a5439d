// The backup of the visitor's check files, made before a job replaces them: the catalog
// conversion's copy onto the card and the check-list import share it. A backup folder
// ZAVO_DS_CheckList_backup/<yyyymmdd-hhnnss>/ stands beside the data set, outside the folder the
// handheld reads, and holds what the export needs to read it like a ZAVO_DS folder.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

inline constexpr const char* kCheckBackupFolder = "ZAVO_DS_CheckList_backup";

// True for Check<d>.dat, C_Memo<d>.dat and D_Buy<d>.dat (any ASCII case).
bool IsCheckFileName(std::string_view name);

// Whether the bytes of such a file hold something the visitor entered on the handheld: a used
// check slot, a non-zero memo byte, a purchase. A check file that cannot be read as one counts
// as holding data, so nothing unreadable is ever overwritten unseen.
bool HoldsVisitorData(std::string_view name, std::string_view bytes);

// "yyyymmdd-hhnnss" of the local time `when`, naming a backup folder.
std::string BackupStamp(std::time_t when);

// "ZAVO_DS_CheckList_backup/<stamp>", or "<stamp>-2", "<stamp>-3", ... : the first name (relative,
// '/'-separated) for which `taken` is false.
std::string FreeBackupName(const std::string& stamp, const std::function<bool(const std::string&)>& taken);

// One file of a backup: where it is read from, and its '/'-separated path inside the backup.
struct BackupFile {
  std::filesystem::path source;
  std::string relative;
};

// What a backup of `check_files` (names in `check_folder`, the set's CheckList as it stands)
// holds: those files as CheckList/<name>, then CDATA/DEF.dat, CDATA/L_DayTop.dat and every file
// of DataFull of the data set `set`. Files that are not there are left out.
std::vector<BackupFile> CheckBackupFiles(const std::filesystem::path& set, const std::filesystem::path& check_folder,
                                         const std::vector<std::string>& check_files);

// Writes `files` into a new backup folder below `beside` (which receives
// ZAVO_DS_CheckList_backup) and returns that folder. A folder already there is never reused. Each
// file is saved durably, read back and compared with its source; a failure throws dw::Error and
// leaves what was written (no backup folder is ever removed).
std::filesystem::path WriteCheckBackup(const std::vector<BackupFile>& files, const std::filesystem::path& beside,
                                       const std::string& stamp);

}  // namespace dw
