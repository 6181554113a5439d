// Copying the workspace into <destination>/ZAVO_DS on the card so that a crash at any write leaves
// the visitor's check data whole and the next run able to finish the copy.
#pragma once

#include <filesystem>
#include <string>

#include "common/status_log.h"
#include "common/stop_request.h"
#include "convert/card_folder.h"
#include "convert/copy_repair.h"
#include "dataset/check_backup.h"

namespace dw {

// Copies every folder and file of `workspace` (never "*.partial") into the card's ZAVO_DS. The
// visitor's check files stay, or are backed up first (see card_check_files.h). Reports the files
// copied as progress (max = files to copy). `backup_stamp` ("yyyymmdd-hhnnss") names a backup
// folder. Without `card_set_whole` (a repair could not finish an earlier copy) no check file is
// kept. Throws dw::Error; then the card's ZAVO_DS is as it was before, or absent where there was
// none, unless the message says the copy is finished by the next run. The workspace files' sums
// are taken on up to `threads` threads; the card is written from this one alone.
void CopyWorkspaceToCard(const std::filesystem::path& workspace, const CardFolder& card, StatusLog& log,
                         const StopRequest* stop, const std::string& backup_stamp, bool card_set_whole = true,
                         int threads = 1);

// Finishes an interrupted copy found on the card (see copy_repair.h) and reports it in the log.
RepairOutcome RecoverInterruptedCopy(const CardFolder& card, const std::filesystem::path& workspace, StatusLog& log);

}  // namespace dw
