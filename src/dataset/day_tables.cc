#include "dataset/day_tables.h"

#include <string>

#include "dataset/counted_table.h"
#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr size_t kDateRecordSize = 6;
constexpr size_t kDayTopEntrySize = 4;

}  // namespace

void WriteDayList(const fs::path& l_date, const std::vector<EventDay>& days) {
  TableBuilder out;
  for (const EventDay& d : days) out.U8(d.year_since_2000).U8(d.month).U8(d.day).U8(d.weekday).U16(d.first_page);
  out.SetCount(static_cast<uint32_t>(days.size())).Save(l_date);
}

void WriteDayIndex(const fs::path& l_daytop, const std::vector<uint32_t>& day_starts,
                   const std::vector<uint32_t>& day_counts) {
  TableBuilder out;
  for (size_t k = 0; k < day_starts.size(); ++k) out.U16(day_starts[k]).U16(day_counts.at(k));
  out.SetCount(static_cast<uint32_t>(day_starts.size())).Save(l_daytop);
}

std::vector<uint16_t> ReadDayStartNumbers(const fs::path& l_date) {
  const std::string bytes = ReadWholeFile(l_date);
  const size_t n = CheckedRecordCount(bytes, kDateRecordSize, l_date);
  std::vector<uint16_t> starts(n);
  for (size_t i = 0; i < n; ++i) starts[i] = static_cast<uint16_t>(ReadU16(bytes, 2 + kDateRecordSize * i + 4));
  return starts;
}

std::vector<DayRange> ReadDayIndex(const fs::path& l_daytop) {
  const std::string bytes = ReadWholeFile(l_daytop);
  const size_t n = CheckedRecordCount(bytes, kDayTopEntrySize, l_daytop);
  std::vector<DayRange> index(n);
  for (size_t k = 0; k < n; ++k) {
    const size_t at = 2 + kDayTopEntrySize * k;  // day k + 1 at 4(k + 1) - 2
    index[k] = {static_cast<uint16_t>(ReadU16(bytes, at)), static_cast<uint16_t>(ReadU16(bytes, at + 2))};
  }
  return index;
}

DayRange DayRangeOf(const std::vector<DayRange>& index, int day, const fs::path& path) {
  if (day < 1 || static_cast<size_t>(day) > index.size()) {
    throw Damaged(path, std::to_string(day) + "日目の記録がありません (" + std::to_string(index.size()) + " 日分)");
  }
  return index[day - 1];
}

}  // namespace dw
