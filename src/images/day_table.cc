#include "images/day_table.h"

#include <system_error>

#include "dataset/day_tables.h"
#include "common/error.h"

namespace dw {

std::vector<uint16_t> LoadDayTable(const std::filesystem::path& l_date) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(l_date, ec)) {
    throw Error("日付データ \"" + DisplayPath(l_date) +
                "\" が見つかりません。画像のみの変換の前に、一度「データと画像を変換」でデータ作成を行ってください。");
  }
  return ReadDayStartNumbers(l_date);
}

}  // namespace dw
