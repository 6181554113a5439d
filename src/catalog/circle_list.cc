// A day's circle list C_List<d>.dat and its day map files M<d>Map<k>.dat.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "catalog/row_progress.h"
#include "catalog/sjis_search.h"
#include "dataset/table_reader.h"
#include "catalog/table_writers.h"
#include "common/numbers.h"
#include "common/sjis.h"
#include "common/table_builder.h"

namespace dw {
namespace {

// Five day map files per day: map indexes 0 to 4.
constexpr uint32_t kMaxMapIndex = 4;
constexpr std::string_view kEast = "\x93\x8C";  // 東
constexpr std::string_view kWest = "\x90\xBC";  // 西
constexpr size_t kKanaNameWidth = 16;
constexpr size_t kCircleNameWidth = 34;

struct MarkedRect {
  int32_t x = 0, y = 0;
  int32_t width = 0, height = 0;
  bool left_half = false, top_half = false;
};

// The half of a map cell (W x H) that a space occupies; codes outside 1..4 mark nothing.
MarkedRect MarkRect(uint32_t code, int32_t x, int32_t y, int32_t w, int32_t h) {
  switch (code) {
    case 1: return {x, y, w / 2, h, true, false};
    case 2: return {x, y + h / 2, w, h / 2, false, false};
    case 3: return {x + w / 2, y, w / 2, h, false, false};
    case 4: return {x, y, w, h / 2, false, true};
    default: return {x, y, 0, 0, false, false};
  }
}

// An even position number takes the other half of the cell: 1 <-> 3, 2 <-> 4.
uint32_t EffectiveLayout(uint32_t code, int32_t position) {
  if (position % 2 != 0 || code < 1 || code > 4) return code;
  return code <= 2 ? code + 2 : code - 2;
}

uint32_t HallCode(std::string_view hall) {
  if (hall == kEast) return 1;
  if (hall == kWest) return 2;
  return 0;
}

// The map index of a block: that of the last area whose block set holds the name.
class MapIndexOfBlock {
 public:
  explicit MapIndexOfBlock(const std::vector<AreaEntry>& areas) : areas_(areas) {}

  uint32_t operator()(const std::string& block) {
    auto [it, inserted] = cache_.try_emplace(block, 0);
    if (inserted) {
      for (const AreaEntry& area : areas_) {
        if (ContainsSjisText(area.block_set, block)) it->second = static_cast<uint32_t>(area.map_index) & 0xFF;
      }
    }
    return it->second;
  }

 private:
  const std::vector<AreaEntry>& areas_;
  std::unordered_map<std::string, uint32_t> cache_;
};

// Block index and space number -> the first map position listing them.
std::unordered_map<uint32_t, const MapPosition*> FirstMapPositions(const std::vector<MapPosition>& positions) {
  std::unordered_map<uint32_t, const MapPosition*> first;
  first.reserve(positions.size());
  for (const MapPosition& p : positions) first.emplace((uint32_t{p.block} << 16) | p.space, &p);
  return first;
}

}  // namespace

uint32_t WriteCircleList(const RowTable& rows, uint32_t circle_offset, const std::string& map_prefix,
                         const std::string& list_name, const fs::path& folder, const fs::path& block_file,
                         ConversionState& st) {
  std::array<TableBuilder, kMaxMapIndex + 1> maps;
  std::array<uint32_t, kMaxMapIndex + 1> map_counts{};
  const auto block_slots = FirstPositions(ReadBlockNames(block_file));
  const auto positions = FirstMapPositions(st.map_positions);
  MapIndexOfBlock map_index_of(st.areas);
  const int32_t w = st.map_cell_width;
  const int32_t h = st.map_cell_height;

  const size_t r = rows.size();
  TableBuilder list;
  list.SetCount(static_cast<uint32_t>(r));
  StatusLog& log = st.Log();
  StartRowProgress(log, r);
  for (size_t i = 0; i < r; ++i) {
    RowProgress(log, i);
    const Row& row = rows[i];
    list.U16(static_cast<uint32_t>(row.number) + circle_offset);
    list.U16(ParseInt(row.Cell(2)));
    const int32_t position = ParseInt(row.Cell(3));
    list.U8(position);
    list.U8(HallCode(RightTrim(row.Cell(5))));

    const std::string block_name(RightTrim(row.Cell(6)));
    auto slot = block_slots.find(block_name);
    const uint32_t block = slot != block_slots.end() ? slot->second : 0;
    list.U8(block);
    const uint32_t space = static_cast<uint16_t>(ParseInt(row.Cell(7)));
    list.U8(space);

    const uint32_t map_index = map_index_of(block_name);
    if (map_index > kMaxMapIndex) {
      throw MapIndexTooLarge(kMaxMapIndex, block_name, map_index);
    }
    list.U8(map_index);

    MapPosition at;
    if (auto it = positions.find((block << 16) | space); it != positions.end()) at = *it->second;
    list.U8(at.layout).U16(at.x).U16(at.y);

    const MarkedRect rect = MarkRect(EffectiveLayout(at.layout, position), at.x, at.y, w, h);
    maps[map_index]
        .U16(row.number)
        .U8(block)
        .U8(space)
        .U16(rect.x)
        .U16(rect.y)
        .U8(rect.width)
        .U8(rect.height)
        .U8(rect.left_half)
        .U8(rect.top_half);
    ++map_counts[map_index];

    list.Name(row.Cell(10), kKanaNameWidth).Name(row.Cell(9), kCircleNameWidth).U8(0).U8(0);
  }
  list.Save(folder / list_name);
  log.SetProgressPosition(0);

  for (uint32_t k = 0; k <= kMaxMapIndex; ++k) {
    if (map_counts[k] == 0) continue;
    st.largest_map_file_count = std::max(st.largest_map_file_count, map_counts[k]);
    maps[k].SetCount(map_counts[k]).Save(folder / (map_prefix + "Map" + std::to_string(k) + ".dat"));
  }
  return static_cast<uint32_t>(r);
}

}  // namespace dw
