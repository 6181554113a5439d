// The full circle records D_Full<d>.dat and the closing files of a run: MLMax.dat, Config.dat
// and the day index L_DayTop.dat.
#include <string>

#include "catalog/table_writers.h"
#include "common/atomic_file.h"
#include "common/table_builder.h"

namespace dw {
namespace {

// Cells 0 to 15 of a circle row follow its circle number.
constexpr size_t kFullRecordCells = 16;

}  // namespace

void WriteFullCircleText(const RowTable& rows, const fs::path& full_file, uint32_t circle_offset,
                         ConversionState& st) {
  StatusLog& log = st.Log();
  log.SetProgressMax(static_cast<int>(rows.size()) - 1);
  log.SetProgressPosition(0);
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    log.SetProgressPosition(static_cast<int>(i));
    const Row& row = rows[i];
    // The number over the whole event, in full (the binary tables keep its low 16 bits).
    text += std::to_string(static_cast<uint32_t>(row.number) + circle_offset);
    for (size_t c = 0; c < kFullRecordCells; ++c) {
      text += '\t';
      text += row.Cell(c);
    }
    text += "\r\n";
  }
  AtomicSave(full_file, text);
}

void WriteMapMax(const fs::path& mlmax_file, uint32_t largest_map_file_count) {
  TableBuilder(false).U16(largest_map_file_count).Save(mlmax_file);
}

void WriteConfig(const fs::path& config_file) { TableBuilder(false).U16(0).U16(0).Save(config_file); }

void WriteDayTop(const fs::path& day_top_file, const std::vector<uint32_t>& day_starts,
                 const std::vector<uint32_t>& day_counts) {
  TableBuilder out;
  for (size_t k = 0; k < day_starts.size(); ++k) out.U16(day_starts[k]).U16(day_counts.at(k));
  out.SetCount(static_cast<uint32_t>(day_starts.size())).Save(day_top_file);
}

}  // namespace dw
