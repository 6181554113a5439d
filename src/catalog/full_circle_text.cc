// The full circle records D_Full<d>.dat: each circle row as a TAB-separated text line.
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
  size_t size = 0;
  for (const Row& row : rows) {
    size += 10 + kFullRecordCells + 2;  // number, tabs, line end
    for (size_t c = 0; c < kFullRecordCells; ++c) size += row.Cell(c).size();
  }
  text.reserve(size);
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

}  // namespace dw
