// A day's page index L_Page<d>.dat, block tops L_BlkTop<d>.dat and circle info C_Info<d>.dat.
#include <string>
#include <unordered_map>
#include <vector>

#include "catalog/row_progress.h"
#include "dataset/table_reader.h"
#include "catalog/table_writers.h"
#include "common/numbers.h"
#include "common/table_builder.h"

namespace dw {
namespace {

constexpr size_t kPageEntrySize = 4;
constexpr size_t kGenreRecordSize = 42;

struct BlockTop {
  uint32_t page = 0;
  uint32_t position = 0;
  uint32_t page_entry = 0;
};

}  // namespace

void WritePageIndex(const RowTable& rows, const fs::path& page_file, ConversionState& st) {
  StatusLog& log = st.Log();
  StartRowProgress(log, rows.size());
  TableBuilder out;
  int32_t previous = 0;
  uint32_t entries = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    RowProgress(log, i);
    const int32_t page = ParseInt(rows[i].Cell(2));
    if (page == previous) continue;
    previous = page;
    out.U16(page).U16(rows[i].number);
    ++entries;
  }
  out.SetCount(entries).Save(page_file);
}

void WriteBlockTops(const RowTable& rows, const fs::path& block_top_file, const fs::path& block_file,
                    const fs::path& page_file, ConversionState& st) {
  // Page number -> the last page entry that has it.
  std::unordered_map<uint32_t, uint32_t> last_entry_of_page;
  const std::vector<std::string> pages = ReadTableRecords(page_file, kPageEntrySize);
  for (uint32_t p = 0; p < pages.size(); ++p) last_entry_of_page[ReadU16(pages[p], 0)] = p;

  // Block name (as stored) -> every block of that name, in list order.
  const std::vector<std::string> names = ReadBlockNames(block_file);
  std::unordered_map<std::string, std::vector<uint32_t>> blocks_named;
  for (uint32_t b = 0; b < names.size(); ++b) blocks_named[names[b]].push_back(b);

  StatusLog& log = st.Log();
  StartRowProgress(log, rows.size());
  std::vector<BlockTop> tops(names.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    RowProgress(log, i);
    if (names.empty()) continue;
    auto named = blocks_named.find(rows[i].Cell(6));
    if (named == blocks_named.end()) continue;
    for (uint32_t b : named->second) {
      BlockTop& top = tops[b];
      // A row on page 0 leaves the top open, so the block's next row fills it again.
      if (top.page != 0) continue;
      top.page = static_cast<uint16_t>(ParseInt(rows[i].Cell(2)));
      top.position = static_cast<uint16_t>(ParseInt(rows[i].Cell(3)));
      auto entry = last_entry_of_page.find(top.page);
      top.page_entry = entry != last_entry_of_page.end() ? entry->second : 0;
    }
  }

  TableBuilder out;
  for (const BlockTop& top : tops) out.U16(top.page).U16(top.position).U16(top.page_entry);
  out.SetCount(static_cast<uint32_t>(names.size())).Save(block_top_file);
}

uint32_t WriteCircleInfo(const RowTable& rows, const fs::path& info_file, const fs::path& genre_file,
                         ConversionState& st) {
  // Genre code -> position of its first entry in L_Genre.dat.
  std::unordered_map<uint32_t, uint32_t> genre_index;
  const std::vector<std::string> genres = ReadTableRecords(genre_file, kGenreRecordSize);
  for (uint32_t g = 0; g < genres.size(); ++g) genre_index.emplace(ReadU16(genres[g], 0), g);

  StatusLog& log = st.Log();
  StartRowProgress(log, rows.size());
  constexpr size_t kInfoRecordSize = 2 + 2 + 34 + 54 + 80 + 160;
  TableBuilder out;
  out.SetCount(static_cast<uint32_t>(rows.size())).Reserve(rows.size() * kInfoRecordSize);
  for (size_t i = 0; i < rows.size(); ++i) {
    RowProgress(log, i);
    const Row& row = rows[i];
    out.U16(row.number);
    // An empty genre cell counts as 0, the genre-not-set entry.
    const std::string_view genre_cell = row.Cell(8);
    const uint32_t code = RightTrim(genre_cell).empty() ? 0 : static_cast<uint16_t>(ParseInt(genre_cell));
    auto known = genre_index.find(code);
    out.U16(known != genre_index.end() ? known->second : code);
    out.Name(row.Cell(11), 34).Name(row.Cell(12), 54).Name(row.Cell(13), 80).Name(row.Cell(15), 160);
  }
  out.Save(info_file);
  log.SetProgressPosition(0);
  return static_cast<uint32_t>(rows.size());
}

}  // namespace dw
