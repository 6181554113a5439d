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
