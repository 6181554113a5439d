// Loading catalog text tables into row tables.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/row_table.h"
#include "common/status_log.h"

namespace dw {

// The map and definition tables: blank-first-field and '#' lines are skipped, '*' lines set the
// section. Replaces `rows`; returns the number of rows. A missing file throws
// "ファイルが見つかりません".
size_t LoadTextTable(const std::filesystem::path& path, RowTable& rows);

// A day's circle table: as LoadTextTable, but empty fields 0 and 1 become "0" (so no line is
// skipped as blank), and the progress bar follows the rows (0..12800, every 100 rows, with
// pending events handled there).
size_t LoadCircleTable(const std::filesystem::path& path, RowTable& rows, StatusLog& log);

// The same two loaders over lines already read (used by tests and fuzzing).
size_t LoadTextTableLines(const std::vector<std::string>& lines, RowTable& rows);
size_t LoadCircleTableLines(const std::vector<std::string>& lines, RowTable& rows, StatusLog& log);

}  // namespace dw
