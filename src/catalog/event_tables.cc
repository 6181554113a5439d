// The event definition tables: DEF.dat, L_Genre.dat, L_Map.dat, L_Area.dat, L_KArea.dat and
// L_Date.dat, from the sections of the definition table.
#include <string_view>

#include "catalog/full_width.h"
#include "catalog/table_writers.h"
#include "common/numbers.h"
#include "common/table_builder.h"
#include "dataset/day_tables.h"

namespace dw {
namespace {

constexpr size_t kTitleWidth = 40;
constexpr size_t kGenreNameWidth = 40;
constexpr size_t kMapNameWidth = 10;
constexpr size_t kAreaNameWidth = 10;
constexpr size_t kFullWidthAreaNameWidth = 16;

// "ジャンル未設定" (genre not set), the fixed record 0 of L_Genre.dat.
constexpr std::string_view kGenreNotSet = "\x83\x57\x83\x83\x83\x93\x83\x8B\x96\xA2\x90\xDD\x92\xE8";
// "月火水木金土日": Monday first, two bytes a day.
constexpr std::string_view kWeekdays = "\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79\x93\xFA";

// The weekday index: the byte position of the first match in kWeekdays, halved (rounding down),
// or 0 (Monday) when the text does not occur.
uint32_t WeekdayIndex(std::string_view cell) {
  const size_t pos = kWeekdays.find(RightTrim(cell));
  return pos == std::string_view::npos ? 0 : static_cast<uint32_t>(pos / 2);
}

}  // namespace

void WriteEventHeader(const RowTable& rows, const fs::path& def_file, ConversionState& st) {
  TableBuilder out(false);
  const Row& event = RequiredRowOf(rows, "*Vandrel");
  out.U16(ParseInt(event.Cell(1))).Name(event.Cell(2), kTitleWidth);

  const Row& cut = RequiredRowOf(rows, "*cutInfo");
  for (size_t c = 1; c <= 6; ++c) out.U16(ParseInt(cut.Cell(c)) / 2);  // rounds toward zero

  const Row& map = RequiredRowOf(rows, "*mapTableInfo");
  int32_t values[4];
  for (size_t c = 1; c <= 4; ++c) {
    values[c - 1] = ParseInt(map.Cell(c));
    out.U16(values[c - 1]);
  }
  st.map_cell_width = values[0];
  st.map_cell_height = values[1];
  out.Save(def_file);
}

void WriteGenreList(const RowTable& rows, const fs::path& genre_file, ConversionState&) {
  TableBuilder out;
  out.U16(0).Name(kGenreNotSet, kGenreNameWidth);
  uint32_t count = 1;
  for (const Row* row : RowsOf(rows, "*VandrelGenre")) {
    out.U16(ParseInt(row->Cell(1))).Name(row->Cell(2), kGenreNameWidth);
    ++count;
  }
  out.SetCount(count).Save(genre_file);
}

void WriteMapList(const RowTable& rows, const fs::path& map_file, ConversionState& st) {
  TableBuilder out;
  st.map_names.clear();
  for (const Row* row : RowsOf(rows, "*VandrelMap")) {
    const std::string_view name = RightTrim(row->Cell(1));
    st.map_names.emplace_back(name);
    out.Name(name, kMapNameWidth).Name(RightTrim(row->Cell(2)), kMapNameWidth);
  }
  out.SetCount(static_cast<uint32_t>(st.map_names.size())).Save(map_file);
}

void WriteAreaList(const RowTable& rows, const fs::path& area_file, ConversionState&) {
  TableBuilder out;
  const std::vector<const Row*> areas = RowsOf(rows, "*VandrelArea");
  for (const Row* row : areas) out.Name(RightTrim(row->Cell(1)), kAreaNameWidth);
  out.SetCount(static_cast<uint32_t>(areas.size())).Save(area_file);
}

void WriteFullWidthAreaList(const RowTable& rows, const fs::path& karea_file, ConversionState&) {
  TableBuilder out;
  const std::vector<const Row*> areas = RowsOf(rows, "*VandrelArea");
  for (const Row* row : areas) out.Name(ToFullWidth(RightTrim(row->Cell(1))), kFullWidthAreaNameWidth);
  out.SetCount(static_cast<uint32_t>(areas.size())).Save(karea_file);
}

void WriteDayList(const RowTable& rows, const fs::path& date_file, ConversionState&) {
  std::vector<EventDay> days;
  for (const Row* row : RowsOf(rows, "*VandrelDate")) {
    EventDay day;
    // Each field keeps its low 8 or 16 bits, as every number field of the tables does.
    day.year_since_2000 = static_cast<uint8_t>(ParseInt(row->Cell(1)) - 2000);
    day.month = static_cast<uint8_t>(ParseInt(row->Cell(2)));
    day.day = static_cast<uint8_t>(ParseInt(row->Cell(3)));
    day.weekday = static_cast<uint8_t>(WeekdayIndex(row->Cell(4)));
    day.first_page = static_cast<uint16_t>(ParseInt(row->Cell(5)));
    days.push_back(day);
  }
  dw::WriteDayList(date_file, days);
}

}  // namespace dw
