// The hall tables: L_Block.dat (block names), L_MapPos.dat (map positions) from the map table,
// and I_Block.dat (block -> area and map) from the definition table's area rows.
#include <string>
#include <string_view>
#include <unordered_map>

#include "catalog/row_progress.h"
#include "dataset/table_reader.h"
#include "catalog/table_writers.h"
#include "common/numbers.h"
#include "common/sjis.h"
#include "common/table_builder.h"

namespace dw {
namespace {

constexpr size_t kBlockNameBytes = 2;
// A block index is stored in one byte, and every reader keeps this many name slots.
constexpr size_t kMaxBlocks = 256;
constexpr size_t kMapRecordSize = 20;
constexpr size_t kMapNameWidth = 10;
constexpr size_t kAreaRecordSize = 10;

// Number parsing without removing trailing blanks first: "5 " is not an integer here.
int32_t ParseIntAsItStands(std::string_view cell) {
  if (RightTrim(cell).size() != cell.size()) throw NotAnInteger(cell);
  return ParseInt(cell);
}

// Replaces `cell` by the decimal slot of the first equal, non-empty name.
void ReplaceByFirstSlot(std::string& cell, const std::unordered_map<std::string, uint32_t>& slots) {
  if (cell.empty()) return;
  if (auto it = slots.find(cell); it != slots.end()) cell = std::to_string(it->second);
}

}  // namespace

void WriteBlockList(const RowTable& rows, const fs::path& block_file, ConversionState&) {
  TableBuilder out;
  const std::string* previous = nullptr;
  uint32_t count = 0;
  for (const Row& row : rows) {
    const std::string& name = row.Cell(0);
    if (previous && name == *previous) continue;
    previous = &name;
    // Every reader takes two bytes a name; another length would shift every later name.
    if (name.size() != kBlockNameBytes) {
      throw BadBlockNameLength(row.number + 1, name);
    }
    if (++count > kMaxBlocks) {
      throw TooManyBlocks(kMaxBlocks, count, name);
    }
    out.Bytes(name);
  }
  out.SetCount(count).Save(block_file);
}

void WriteMapPositions(const RowTable& rows, const fs::path& map_pos_file, const fs::path& block_file,
                       ConversionState& st) {
  const std::vector<std::string> names = ReadBlockNames(block_file);
  std::unordered_map<std::string, uint32_t> slots = FirstPositions(names);
  // The name slots after the list are empty, so an empty cell finds the first of them.
  if (names.size() < kMaxBlocks) slots.emplace(std::string(), static_cast<uint32_t>(names.size()));

  StatusLog& log = st.Log();
  const size_t m = rows.size();
  StartRowProgress(log, m);

  TableBuilder out;
  st.map_positions.clear();
  st.map_positions.reserve(m);
  for (size_t i = 0; i < m; ++i) {
    log.SetProgressPosition(static_cast<int>(i));
    log.ProcessEvents();
    const Row& row = rows[i];
    const std::string& block_name = row.Cell(0);
    MapPosition p;
    auto slot = slots.find(block_name);
    p.block = static_cast<uint16_t>(slot != slots.end() ? slot->second : ParseInt(block_name));
    p.space = static_cast<uint16_t>(ParseInt(row.Cell(1)));
    p.x = static_cast<uint16_t>(ParseInt(row.Cell(2)));
    p.y = static_cast<uint16_t>(ParseInt(row.Cell(3)));
    p.layout = static_cast<uint16_t>(ParseInt(row.Cell(4)));
    out.U8(p.block).U8(p.space).U16(p.x).U16(p.y).U16(p.layout);
    st.map_positions.push_back(p);
  }
  out.SetCount(static_cast<uint32_t>(m)).Save(map_pos_file);
}

void WriteBlockAreaIndex(const RowTable& rows, const fs::path& index_file, const fs::path& map_file,
                         const fs::path& area_file, const fs::path& block_file, ConversionState& st) {
  // The area rows and, per row, its block set and map index (the last equal map name wins).
  st.area_rows.clear();
  st.areas.clear();
  std::unordered_map<std::string_view, int32_t> last_map_position;
  for (size_t p = 0; p < st.map_names.size(); ++p) last_map_position[st.map_names[p]] = static_cast<int32_t>(p);
  for (const Row* row : RowsOf(rows, "*VandrelArea")) {
    st.area_rows.push_back(*row);
    AreaEntry area;
    if (auto it = last_map_position.find(row->Cell(2)); it != last_map_position.end()) area.map_index = it->second;
    area.block_set = row->Cell(3);
    st.areas.push_back(std::move(area));
  }

  // Map and area names become their positions in L_Map.dat and L_Area.dat (first equal name).
  const auto map_slots = FirstPositions(ReadTrimmedNames(map_file, kMapRecordSize, kMapNameWidth));
  for (Row& area : st.area_rows) ReplaceByFirstSlot(area.cells.at(2), map_slots);
  const auto area_slots = FirstPositions(ReadTrimmedNames(area_file, kAreaRecordSize, kAreaRecordSize));
  for (Row& area : st.area_rows) ReplaceByFirstSlot(area.cells.at(1), area_slots);

  const std::vector<std::string> blocks = ReadTrimmedNames(block_file, kBlockNameBytes, kBlockNameBytes);
  TableBuilder out;
  for (const std::string& block : blocks) {
    if (block.empty()) continue;
    for (const Row& area : st.area_rows) {
      // A plain byte-wise search: a name may be found across two double-byte characters.
      if (area.Cell(3).find(block) == std::string::npos) continue;
      out.U8(ParseIntAsItStands(area.Cell(1)));
      out.U8(ParseIntAsItStands(area.Cell(2)));
    }
  }
  out.SetCount(static_cast<uint32_t>(blocks.size())).Save(index_file);
}

}  // namespace dw
