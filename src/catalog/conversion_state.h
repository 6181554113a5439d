// What the table writers of one data conversion run hand to later writers of the same run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/row_table.h"
#include "common/status_log.h"

namespace dw {

// One record of L_MapPos.dat with the full 16-bit values of its cells (the file keeps only the
// low byte of block index and space number).
struct MapPosition {
  uint16_t block = 0;
  uint16_t space = 0;
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t layout = 0;
};

// One "*VandrelArea" row as the circle list needs it.
struct AreaEntry {
  std::string block_set;  // cell 3 as loaded
  int32_t map_index = 0;  // position of cell 2 in the map name list (last equal name), else 0
};

struct ConversionState {
  StatusLog* log = nullptr;

  // Set by WriteMapPositions, one entry per map table row; read by WriteCircleList.
  std::vector<MapPosition> map_positions;
  // Set by WriteEventHeader from "*mapTableInfo" cells 1 and 2; read by WriteCircleList.
  int32_t map_cell_width = 0;
  int32_t map_cell_height = 0;
  // Set by WriteMapList: cell 1 (right-trimmed) of each "*VandrelMap" row, in order.
  std::vector<std::string> map_names;
  // Filled by WriteBlockAreaIndex: copies of the "*VandrelArea" rows and their area table.
  RowTable area_rows;
  std::vector<AreaEntry> areas;
  // Largest record count of the day map files, tracked by WriteCircleList (MLMax.dat).
  uint32_t largest_map_file_count = 0;

  StatusLog& Log() const { return *log; }
};

}  // namespace dw
