#include "checklist/job_reports.h"

#include "common/messages.h"

namespace dw {

std::vector<std::string> ImportReportLines(const CheckListImportResult& result,
                                           const std::filesystem::path& output_folder) {
  std::vector<std::string> lines;
  if (!result.backup_folder.empty()) lines.push_back(ImportBackupMade(result.backup_folder, result.backup_files));
  int checks = 0, memos = 0;
  for (const ImportDayReport& day : result.days) {
    lines.push_back(ImportDayStored(day.day, day.checks, day.memos));
    if (day.memo_only > 0) lines.push_back(ImportMemoOnly(day.day, day.memo_only));
    if (day.outside_range > 0) lines.push_back(ImportOutsideRange(day.day, day.outside_range, day.first, day.count));
    checks += day.checks;
    memos += day.memos;
  }
  if (result.no_day > 0) lines.push_back(ImportNoDay(result.no_day));
  if (result.circle_minus_one > 0) lines.push_back(ImportCircleMinusOne(result.circle_minus_one));
  lines.push_back(ImportTotal(result.records, checks, memos));
  if (result.records > result.circle_minus_one && result.in_catalog == 0) lines.push_back(ImportOtherEvent());
  if (result.days_written > 0) lines.push_back(ImportWrittenTo(output_folder));
  return lines;
}

std::vector<std::string> ExportReportLines(const CheckListExportResult& result) {
  std::vector<std::string> lines;
  for (const ExportDayReport& day : result.days) {
    lines.push_back(ExportDayWritten(day.day, day.record_lines, day.skipped_checks));
  }
  for (const auto& file : result.missing_memo_files) lines.push_back(ExportMemoFileMissing(file));
  for (const auto& file : result.short_memo_files) lines.push_back(ExportMemoFileShort(file));
  lines.push_back(ExportTotal(result.record_lines, result.skipped_checks));
  lines.push_back(ExportWrittenTo(result.csv_file));
  return lines;
}

}  // namespace dw
