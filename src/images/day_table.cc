#include "images/day_table.h"

#include <system_error>

#include "dataset/day_tables.h"
#include "common/messages.h"

namespace dw {

std::vector<uint16_t> LoadDayTable(const std::filesystem::path& l_date) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(l_date, ec)) {
    throw DayTableMissing(l_date);
  }
  return ReadDayStartNumbers(l_date);
}

}  // namespace dw
