// What the check-list jobs say they did, as lines for the command line's stdout and the desktop
// program's closing box (UTF-8).
#pragma once

#include <string>
#include <vector>

#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"

namespace dw {

// The backup, per day what was stored and skipped, the records no day takes, the total, a
// warning when no record belongs to this catalog, and the folder written.
std::vector<std::string> ImportReportLines(const CheckListImportResult& result,
                                           const std::filesystem::path& output_folder);

// Per day the records written and the checks skipped, the memo files missing or short, the
// total and the file written.
std::vector<std::string> ExportReportLines(const CheckListExportResult& result);

}  // namespace dw
