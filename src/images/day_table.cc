#include "images/day_table.h"

#include <system_error>

#include "common/atomic_file.h"
#include "common/error.h"
#include "common/table_builder.h"

namespace dw {

std::vector<uint16_t> LoadDayTable(const std::filesystem::path& l_date) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(l_date, ec)) {
    throw Error("日付データ \"" + DisplayPath(l_date) +
                "\" が見つかりません。画像のみの変換の前に、一度「データと画像を変換」でデータ作成を行ってください。");
  }
  const std::string bytes = ReadWholeFile(l_date);
  const size_t days = bytes.size() >= 2 ? ReadU16(bytes, 0) : 0;
  if (bytes.size() < 2 || bytes.size() < 2 + days * kDayRecordBytes) {
    throw Error("日付データ \"" + DisplayPath(l_date) + "\" が壊れています (" + std::to_string(bytes.size()) +
                " バイト、" + std::to_string(days) + " 日分に足りません)");
  }
  std::vector<uint16_t> starts(days);
  for (size_t k = 0; k < days; ++k) {
    starts[k] = static_cast<uint16_t>(ReadU16(bytes, 2 + k * kDayRecordBytes + kDayStartOffset));
  }
  return starts;
}

}  // namespace dw
