// What the table writers of one data conversion run hand to later writers of the same run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/status_log.h"

namespace dw {

struct ConversionState {
  StatusLog* log = nullptr;

  // Set by WriteEventHeader from "*mapTableInfo" cells 1 and 2; read by WriteCircleList.
  int32_t map_cell_width = 0;
  int32_t map_cell_height = 0;
  // Set by WriteMapList: cell 1 (right-trimmed) of each "*VandrelMap" row, in order.
  std::vector<std::string> map_names;
  // Largest record count of the day map files, tracked by WriteCircleList (MLMax.dat).
  uint32_t largest_map_file_count = 0;

  StatusLog& Log() const { return *log; }
};

}  // namespace dw
