// The table writers of the data conversion, in the order the driver calls them. Each builds its
// file in memory and saves it atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/conversion_state.h"
#include "catalog/row_table.h"

namespace dw {

namespace fs = std::filesystem;

// Map table -> hall blocks and map positions. WriteBlockList stops the run on a block name that
// is not two bytes long and on more than 256 blocks (a block index is one byte).
// WriteMapPositions fills st.map_positions.
void WriteBlockList(const RowTable& rows, const fs::path& block_file, ConversionState& st);
void WriteMapPositions(const RowTable& rows, const fs::path& map_pos_file, const fs::path& block_file,
                       ConversionState& st);

// Definition table -> event definition tables. WriteEventHeader keeps the map cell size,
// WriteMapList the map names, WriteBlockAreaIndex the area rows and the area table in `st`.
// A missing "*Vandrel", "*cutInfo" or "*mapTableInfo" section stops the run.
void WriteEventHeader(const RowTable& rows, const fs::path& def_file, ConversionState& st);
void WriteGenreList(const RowTable& rows, const fs::path& genre_file, ConversionState& st);
void WriteMapList(const RowTable& rows, const fs::path& map_file, ConversionState& st);
void WriteAreaList(const RowTable& rows, const fs::path& area_file, ConversionState& st);
void WriteFullWidthAreaList(const RowTable& rows, const fs::path& karea_file, ConversionState& st);
void WriteBlockAreaIndex(const RowTable& rows, const fs::path& index_file, const fs::path& map_file,
                         const fs::path& area_file, const fs::path& block_file, ConversionState& st);
void WriteDayList(const RowTable& rows, const fs::path& date_file, ConversionState& st);

// A day's circle table -> the day's files.
void WritePageIndex(const RowTable& rows, const fs::path& page_file, ConversionState& st);
void WriteBlockTops(const RowTable& rows, const fs::path& block_top_file, const fs::path& block_file,
                    const fs::path& page_file, ConversionState& st);
// Writes <folder>/<list_name> and the day map files <folder>/<map_prefix>Map<k>.dat; returns the
// day's circle count. A circle on a map index above 4 (there are five map files) stops the run.
uint32_t WriteCircleList(const RowTable& rows, uint32_t circle_offset, const std::string& map_prefix,
                         const std::string& list_name, const fs::path& folder, const fs::path& block_file,
                         ConversionState& st);
void WriteFullCircleText(const RowTable& rows, const fs::path& full_file, uint32_t circle_offset,
                         ConversionState& st);
// Returns the day's number of rows.
uint32_t WriteCircleInfo(const RowTable& rows, const fs::path& info_file, const fs::path& genre_file,
                         ConversionState& st);

// Closing files of a run.
void WriteMapMax(const fs::path& mlmax_file, uint32_t largest_map_file_count);
void WriteConfig(const fs::path& config_file);

}  // namespace dw
