#include "checklist/check_list_import.h"

#include <cstdint>
#include <vector>

#include "dataset/layout.h"
#include "dataset/check_files.h"
#include "checklist/checklist_csv.h"
#include "dataset/day_tables.h"
#include "common/atomic_file.h"
#include "common/numbers.h"

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

std::string CheckFileOf(const std::vector<const Record*>& records) {
  std::vector<CheckSlot> slots;
  for (const Record* r : records) {
    std::string_view colour = RightTrim(CsvField(*r, kColourField));
    if (colour.empty()) colour = "0";
    if (colour == "0") continue;
    slots.push_back({static_cast<uint16_t>(ParseInt(CsvField(*r, kCircleField))), kImportedCheckFlags,
                     static_cast<uint8_t>(ParseInt(colour))});
  }
  return BuildCheckFile(slots, kImportCheckFileSlots);
}

// Memos of circles outside the day's range have no slot and are skipped.
std::string MemoFileOf(const std::vector<const Record*>& records, DayRange range) {
  MemoFileBuilder memos(range.count);
  for (const Record* r : records) {
    const auto circle = static_cast<uint16_t>(ParseInt(CsvField(*r, kCircleField)));
    memos.Set(static_cast<long long>(circle) - range.first, MemoFromCsv(CsvField(*r, kMemoField)));
  }
  return memos.bytes();
}

}  // namespace

fs::path ImportOutputFolder(const fs::path& chosen_folder) { return chosen_folder / kCheckListFolder; }

CheckListImportResult CheckListImport::Run() {
  ForceDirectories(params.output_folder);

  const CsvLines lines = ReadCsvFile(params.csv_file, process_events);
  if (!IsVer1CheckList(lines)) {
    return {CheckListImportOutcome::kNotVer1, std::string(kNotVer1Message), 0, 0};
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

  std::vector<int> record_days(lines.size(), 0);
  for (size_t r = 1; r < lines.size(); ++r) record_days[r] = DayOfRecord(lines[r], day_starts);

  CheckListImportResult result;
  for (int d = 1; d <= day_count; ++d) {
    std::vector<const Record*> records;
    for (size_t r = 1; r < lines.size(); ++r) {
      // The circle number is checked on every record in every day's pass.
      if (ParseInt(CsvField(lines[r], kCircleField)) != -1 && record_days[r] == d) records.push_back(&lines[r]);
    }
    if (records.size() > static_cast<size_t>(kMaxRecordsPerDay)) {
      result.outcome = CheckListImportOutcome::kDayLimitExceeded;
      result.message = std::string(kDayLimitMessage);
      result.stopped_day = d;
      return result;
    }
    DurableSave(params.output_folder / CheckFileName(d), CheckFileOf(records));
    DurableSave(params.output_folder / MemoFileName(d), MemoFileOf(records, day_index[d - 1]));
    result.days_written = d;
  }
  return result;
}

}  // namespace dw
