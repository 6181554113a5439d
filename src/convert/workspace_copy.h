// Copying the workspace into <destination>/ZAVO_DS on the card, all or nothing.
#pragma once

#include <filesystem>
#include <string>

#include "common/status_log.h"
#include "common/stop_request.h"
#include "convert/card_folder.h"
#include "dataset/check_backup.h"

namespace dw {

inline constexpr const char* kStagingFolder = "ZAVO_DS.new";
inline constexpr const char* kSwapListName = "SWAPLIST.TXT";

// Copies every folder and file of `workspace` (never "*.partial") into the card's ZAVO_DS. The
// visitor's check files stay or are backed up first (see card_check_files.h). Reports the files
// copied as progress (max = files to copy). `backup_stamp` ("yyyymmdd-hhnnss") names a backup
// folder. Throws dw::Error; then the card's ZAVO_DS is as it was before, or absent where there
// was none, unless the message says the copy is finished by the next run.
void CopyWorkspaceToCard(const std::filesystem::path& workspace, const CardFolder& card, StatusLog& log,
                         const StopRequest* stop, const std::string& backup_stamp);

// Finishes a copy whose final renames were cut off, or removes the staging folder of one that
// never got that far. Returns true when it finished one.
bool RecoverInterruptedCopy(const CardFolder& card);

}  // namespace dw
