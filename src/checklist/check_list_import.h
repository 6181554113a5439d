// CheckListImport (the job object TCheckListToData): the check-list import. A check-list CSV (Ver.1) becomes the handheld's check
// file and memo file of every event day.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// At most this many records of the CSV may fall on one day.
inline constexpr int kMaxRecordsPerDay = 1000;

// The job's own stop messages (UTF-8), with their line separators as the message boxes show
// them: CR LF in the first, LF CR in the second.
inline constexpr std::string_view kNotVer1Message =
    "保存形式がVer.1ではないと思われます。\r\n変換作業を中止します。";
inline constexpr std::string_view kDayLimitMessage =
    "一日あたりの最大チェック数(1000件)を超えています。\n\r"
    "チェック数を減らしてから再度変換を行ってください。\n\r"
    "作業を中止します。";

struct CheckListImportParams {
  std::filesystem::path csv_file;  // the check-list CSV to read
  // The folder that receives Check<d>.dat and C_Memo<d>.dat, created with its missing parents.
  // The wizard passes <chosen folder>/CheckList (see ImportOutputFolder).
  std::filesystem::path output_folder;
  // The catalog conversion's workspace (DATA beside the executable); L_Date.dat and L_DayTop.dat
  // are read from its CDATA folder.
  std::filesystem::path workspace;
};

enum class CheckListImportOutcome {
  kCompleted,         // every day 1 .. n got its two files
  kNotVer1,           // no kept line, or the first one is not tagged PELORIN: nothing written
  kDayLimitExceeded,  // a day had more than 1000 records: the days before it stay written
};

// What the import stored and skipped on one day.
struct ImportDayReport {
  int day = 0;
  uint16_t first = 0, count = 0;  // the day's circle range [first, first + count)
  int checks = 0;                 // check slots written
  int memos = 0;                  // records whose non-empty memo was stored
  int memo_only = 0;              // colour 0 or empty: a memo but no check
  int outside_range = 0;          // circle outside the day's range: no memo slot
};

struct CheckListImportResult {
  CheckListImportOutcome outcome = CheckListImportOutcome::kCompleted;
  // kNotVer1Message or kDayLimitMessage when the job stopped; empty when it completed.
  std::string message;
  int days_written = 0;  // days whose check and memo files were saved
  int stopped_day = 0;   // the day over the limit (kDayLimitExceeded), else 0

  int records = 0;           // record lines below the header
  int no_day = 0;            // page field empty or before day 1: written to no file
  int circle_minus_one = 0;  // circle -1: ignored
  int in_catalog = 0;        // records whose circle lies in its day's range
  std::vector<ImportDayReport> days;  // the days written
  // The backup of the output folder's check files made before the first was replaced (empty
  // when none held the visitor's data), and how many files it holds.
  std::filesystem::path backup_folder;
  int backup_files = 0;
};

// <chosen>/CheckList: where the wizard and the command line put the files.
std::filesystem::path ImportOutputFolder(const std::filesystem::path& chosen_folder);

// Where the backup folder ZAVO_DS_CheckList_backup goes for an output folder <set>/CheckList:
// beside <set> when that is a ZAVO_DS folder (outside what the handheld reads), else in <set>.
std::filesystem::path ImportBackupBeside(const std::filesystem::path& output_folder);

// The visitor's data that the check and memo files of the output folder hold now.
struct ExistingCheckData {
  int checks = 0;  // used check slots
  int visits = 0;  // of those, visited
  int memos = 0;   // memo slots holding text
  bool holds_data = false;  // some file holds the visitor's data (also one that cannot be read)
};
ExistingCheckData ReadExistingCheckData(const std::filesystem::path& output_folder);

class CheckListImport {
 public:
  CheckListImportParams params;
  // Called after every kept line while the CSV loads, so a window can repaint. May be empty.
  std::function<void()> process_events;

  // Runs the import. Failures (a file that cannot be read or saved, a field that is not an
  // integer, a truncated or inconsistent workspace table) throw dw::Error; the job's own stops
  // come back as the result's outcome and message.
  CheckListImportResult Run();
};

}  // namespace dw
