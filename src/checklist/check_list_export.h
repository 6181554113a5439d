// CheckListExport (the job object TMake_CheckList_For_PC): the check-list export. The handheld's check and purchase files in a
// ZAVO_DS folder become the check-list CSV "ZAVO_DS_Check.csv" (Ver.1).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

inline constexpr std::string_view kExportFileName = "ZAVO_DS_Check.csv";

// D_Full<k>.dat files looked for, k = 1 .. this.
inline constexpr int kMaxExportDays = 5;

struct CheckListExportParams {
  std::filesystem::path source_folder;       // a ZAVO_DS data set folder (DataFull, CDATA, CheckList)
  std::filesystem::path destination_folder;  // receives ZAVO_DS_Check.csv; created when missing
  // 0 .. 9: the colour written for check slots whose colour is 0 or above 9 (0 = no colour).
  int substitute_colour = 0;
};

// What the export wrote for one day.
struct ExportDayReport {
  int day = 0;
  size_t record_lines = 0;    // record lines written
  size_t skipped_checks = 0;  // check slots whose circle is in no D_Full file: nothing written
};

struct CheckListExportResult {
  std::filesystem::path csv_file;  // the file written
  int day_count = 0;               // D_Full files found
  size_t record_lines = 0;         // record lines written below the header
  size_t skipped_checks = 0;       // over all days
  std::vector<ExportDayReport> days;
  // Memo files that a written record needed but that are missing, or too short for one of its
  // circles: those circles got no memo text.
  std::vector<std::filesystem::path> missing_memo_files;
  std::vector<std::filesystem::path> short_memo_files;
};

// One entry of the circle line table: field 0 of a D_Full line and the whole line as read.
struct CircleLine {
  int32_t circle_number = 0;
  std::string line;  // Shift-JIS bytes
};

class CheckListExport {
 public:
  CheckListExportParams params;

  // Runs the export. The CSV is built whole and saved atomically, so a failure leaves no partial
  // file and keeps an earlier file of that name. Failures throw dw::Error naming the file.
  CheckListExportResult Run();

  // Appends every line of one D_Full file to the circle line table.
  void CircleDataLoad(const std::filesystem::path& d_full_file);

  // The table of the last run, in load order (day 1 first, then file order).
  const std::vector<CircleLine>& circle_lines() const { return circle_lines_; }

 private:
  std::vector<CircleLine> circle_lines_;
};

}  // namespace dw
