#include "checklist/check_list_import.h"

#include <cstdint>
#include <ctime>
#include <vector>

#include "dataset/layout.h"
#include "dataset/check_backup.h"
#include "dataset/check_files.h"
#include "checklist/checklist_csv.h"
#include "dataset/day_tables.h"
#include "common/atomic_file.h"
#include "common/error.h"
#include "common/numbers.h"
#include "common/paths.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr size_t kCircleField = 0;
constexpr size_t kColourField = 1;
constexpr size_t kPageField = 2;
constexpr size_t kMemoField = 17;

using Record = std::vector<std::string>;

// The day of a record: the last day whose start number is at most its page number; 0 when the
// page field is blank or lies before day 1.
int DayOfRecord(const Record& record, const std::vector<uint16_t>& day_starts) {
  const std::string_view page = CsvField(record, kPageField);
  if (RightTrim(page).empty()) return 0;
  const int32_t v = ParseInt(page);
  int day = 0;
  for (size_t j = 0; j < day_starts.size(); ++j) {
    if (v >= day_starts[j]) day = static_cast<int>(j) + 1;
  }
  return day;
}

// A record without a colour is counted as memo-only when its circle has a memo slot.
std::string CheckFileOf(const std::vector<const Record*>& records, DayRange range, ImportDayReport& report) {
  std::vector<CheckSlot> slots;
  for (const Record* r : records) {
    const auto circle = static_cast<uint16_t>(ParseInt(CsvField(*r, kCircleField)));
    std::string_view colour = RightTrim(CsvField(*r, kColourField));
    if (colour.empty()) colour = "0";
    if (colour == "0") {
      if (circle >= range.first && circle - range.first < range.count) ++report.memo_only;
      continue;
    }
    slots.push_back({circle, kImportedCheckFlags, static_cast<uint8_t>(ParseInt(colour))});
  }
  report.checks = static_cast<int>(slots.size());
  return BuildCheckFile(slots, kImportCheckFileSlots);
}

// Memos of circles outside the day's range have no slot and are skipped.
std::string MemoFileOf(const std::vector<const Record*>& records, DayRange range, ImportDayReport& report) {
  MemoFileBuilder memos(range.count);
  for (const Record* r : records) {
    const auto circle = static_cast<uint16_t>(ParseInt(CsvField(*r, kCircleField)));
    const std::string memo = MemoFromCsv(CsvField(*r, kMemoField));
    if (!memos.Set(static_cast<long long>(circle) - range.first, memo)) {
      ++report.outside_range;
    } else if (!memo.empty()) {
      ++report.memos;
    }
  }
  return memos.bytes();
}

// Copies the output folder's check files into a backup folder when one of them holds the
// visitor's data. With them go the data set's day tables, so the backup can be exported.
void BackUpCheckFiles(const fs::path& output_folder, CheckListImportResult& result) {
  if (!ReadExistingCheckData(output_folder).holds_data) return;
  const std::vector<std::string> names = CheckFileNamesIn(output_folder);
  result.backup_folder = WriteCheckBackup(CheckBackupFiles(output_folder.parent_path(), output_folder, names),
                                          ImportBackupBeside(output_folder), BackupStamp(std::time(nullptr)));
  result.backup_files = static_cast<int>(names.size());
}

}  // namespace

fs::path ImportOutputFolder(const fs::path& chosen_folder) { return chosen_folder / kCheckListFolder; }

fs::path ImportBackupBeside(const fs::path& output_folder) {
  const fs::path set = output_folder.parent_path();
  // A relative "ZAVO_DS" has the empty parent: the current folder.
  return EqualsIgnoreAsciiCase(set.filename().string(), kZavoDsFolder) ? set.parent_path() : set;
}

ExistingCheckData ReadExistingCheckData(const fs::path& output_folder) {
  ExistingCheckData data;
  for (const std::string& name : CheckFileNamesIn(output_folder)) {
    const bool check = WildcardMatch("Check*.dat", name);
    if (!check && !WildcardMatch("C_Memo*.dat", name)) continue;  // purchase files are never replaced
    const fs::path file = output_folder / name;
    try {
      const std::string bytes = ReadWholeFile(file);
      data.holds_data = data.holds_data || HoldsVisitorData(name, bytes);
      if (check) {
        for (const CheckSlot& slot : ParseCheckFile(bytes, file)) {
          ++data.checks;
          if (slot.flags & kVisitedFlag) ++data.visits;
        }
      } else {
        for (const std::string& memo : ParseMemoFile(bytes, file)) data.memos += memo.empty() ? 0 : 1;
      }
    } catch (const Error&) {
      data.holds_data = true;  // what cannot be read is kept all the same
    }
  }
  return data;
}

CheckListImportResult CheckListImport::Run() {
  ForceDirectories(params.output_folder);

  const CsvLines lines = ReadCsvFile(params.csv_file, process_events);
  if (!IsVer1CheckList(lines)) {
    CheckListImportResult stopped;
    stopped.outcome = CheckListImportOutcome::kNotVer1;
    stopped.message = std::string(kNotVer1Message);
    return stopped;
  }

  const DataSetLayout workspace(params.workspace);
  const std::vector<uint16_t> day_starts = ReadDayStartNumbers(workspace.days());
  const int day_count = static_cast<int>(day_starts.size());
  // Every day of L_Date.dat needs its range in L_DayTop.dat; check before writing anything.
  const fs::path day_top_file = workspace.day_index();
  std::vector<DayRange> day_index;
  if (day_count > 0) {
    day_index = ReadDayIndex(day_top_file);
    DayRangeOf(day_index, day_count, day_top_file);
  }

  CheckListImportResult result;
  result.records = static_cast<int>(lines.size()) - 1;
  std::vector<int> record_days(lines.size(), 0);
  for (size_t r = 1; r < lines.size(); ++r) record_days[r] = DayOfRecord(lines[r], day_starts);

  bool backed_up = false;
  for (int d = 1; d <= day_count; ++d) {
    std::vector<const Record*> records;
    for (size_t r = 1; r < lines.size(); ++r) {
      // The circle number is checked on every record in every day's pass.
      const int32_t circle = ParseInt(CsvField(lines[r], kCircleField));
      if (d == 1) {
        // Counted once: records no day takes.
        if (circle == -1) {
          ++result.circle_minus_one;
        } else if (record_days[r] == 0) {
          ++result.no_day;
        } else {
          const DayRange range = day_index[record_days[r] - 1];
          const long long i = static_cast<long long>(static_cast<uint16_t>(circle)) - range.first;
          if (i >= 0 && i < range.count) ++result.in_catalog;
        }
      }
      if (circle != -1 && record_days[r] == d) records.push_back(&lines[r]);
    }
    if (records.size() > static_cast<size_t>(kMaxRecordsPerDay)) {
      result.outcome = CheckListImportOutcome::kDayLimitExceeded;
      result.message = std::string(kDayLimitMessage);
      result.stopped_day = d;
      return result;
    }
    if (!backed_up) {
      BackUpCheckFiles(params.output_folder, result);
      backed_up = true;
    }
    const DayRange range = day_index[d - 1];
    ImportDayReport report;
    report.day = d;
    report.first = range.first;
    report.count = range.count;
    const std::string check_file = CheckFileOf(records, range, report);
    DurableSave(params.output_folder / CheckFileName(d), check_file);
    DurableSave(params.output_folder / MemoFileName(d), MemoFileOf(records, range, report));
    result.days.push_back(report);
    result.days_written = d;
  }
  return result;
}

}  // namespace dw
