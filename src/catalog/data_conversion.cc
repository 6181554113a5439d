#include "catalog/data_conversion.h"

#include "catalog/table_loader.h"
#include "catalog/table_writers.h"
#include "dataset/day_tables.h"
#include "dataset/empty_check_files.h"
#include "dataset/layout.h"
#include "common/paths.h"

namespace dw {
namespace fs = std::filesystem;

fs::path DataConversion::CatalogFile(const std::string& suffix) const {
  return ResolveIgnoringCase(RootFld, {"CDATA", "C" + C_No + suffix});
}

void DataConversion::Run() {
  const DataSetLayout set(DstFld);
  const fs::path block_file = set.blocks();

  state_ = ConversionState{};
  state_.log = &log_;

  log_.AddLine("DEFデータ作成開始");
  LoadTextTable(CatalogFile("MAP.TXT"), rows_);
  WriteBlockList(rows_, block_file, state_);
  WriteMapPositions(rows_, set.map_positions(), block_file, state_);

  LoadTextTable(CatalogFile("DEF.TXT"), rows_);
  WriteEventHeader(rows_, set.event_header(), state_);
  WriteGenreList(rows_, set.genres(), state_);
  WriteMapList(rows_, set.maps(), state_);
  WriteAreaList(rows_, set.areas(), state_);
  WriteFullWidthAreaList(rows_, set.full_width_areas(), state_);
  WriteBlockAreaIndex(rows_, set.block_areas(), set.maps(), set.areas(), block_file,
                      state_);
  WriteDayList(rows_, set.days(), state_);

  log_.AddLine("サークルデータ作成開始");
  day_counter_ = 1;
  circle_offset_ = 0;
  day_starts_.assign(kMaxEventDays, 0);
  day_counts_.assign(kMaxEventDays, 0);
  // Days listed in L_DayTop.dat: 1 up to the highest converted day. A day missing between
  // converted days keeps its own offset with the running circle offset and a count of 0.
  int listed_days = 0;
  std::vector<uint32_t> listed_starts(kMaxEventDays, 0);

  for (int d = 1; d <= kMaxEventDays; ++d) {
    if (safe_point) safe_point();
    const std::string day = std::to_string(d);
    listed_starts[d - 1] = circle_offset_;
    const fs::path circle_table = CatalogFile("ROM" + day + ".TXT");
    if (!fs::is_regular_file(circle_table)) continue;

    log_.AddLine("サークルデータ (" + day + "日目) 作成開始");
    LoadCircleTable(circle_table, rows_, log_);
    const fs::path page_file = set.pages(d);
    WritePageIndex(rows_, page_file, state_);
    WriteBlockTops(rows_, set.block_tops(d), block_file, page_file, state_);
    day_starts_[d - 1] = circle_offset_;
    const uint32_t count =
        WriteCircleList(rows_, circle_offset_, DataSetLayout::DayMapPrefix(d), DataSetLayout::CircleListName(d), set.cdata(), block_file, state_);
    day_counts_[d - 1] = count;
    WriteFullCircleText(rows_, set.full_circles(d), circle_offset_, state_);
    circle_offset_ += count;
    const auto circles = static_cast<uint32_t>(rows_.size());
    WriteEmptyCheckFile(set.checks(d));
    WriteEmptyMemoFile(set.memos(d), circles);
    WriteEmptyPurchaseFile(set.purchases(d), circles);
    ++day_counter_;
    WriteCircleInfo(rows_, set.circle_info(d), set.genres(), state_);
    listed_days = d;
  }

  WriteMapMax(set.map_max(), state_.largest_map_file_count);
  WriteConfig(set.config());
  std::vector<uint32_t> starts(listed_starts.begin(), listed_starts.begin() + listed_days);
  std::vector<uint32_t> counts(day_counts_.begin(), day_counts_.begin() + listed_days);
  WriteDayIndex(set.day_index(), starts, counts);

  log_.SetProgressPosition(day_counter_);
  log_.ProcessEvents();
}

}  // namespace dw
