// Placeholder bodies of the table writers until each writer lands in its own file.
#include "catalog/table_writers.h"

namespace dw {

void WriteBlockList(const RowTable&, const fs::path&, ConversionState&) {}
void WriteMapPositions(const RowTable&, const fs::path&, const fs::path&, ConversionState&) {}
void WriteEventHeader(const RowTable&, const fs::path&, ConversionState&) {}
void WriteGenreList(const RowTable&, const fs::path&, ConversionState&) {}
void WriteMapList(const RowTable&, const fs::path&, ConversionState&) {}
void WriteAreaList(const RowTable&, const fs::path&, ConversionState&) {}
void WriteFullWidthAreaList(const RowTable&, const fs::path&, ConversionState&) {}
void WriteBlockAreaIndex(const RowTable&, const fs::path&, const fs::path&, const fs::path&, const fs::path&,
                         ConversionState&) {}
void WriteDayList(const RowTable&, const fs::path&, ConversionState&) {}
void WritePageIndex(const RowTable&, const fs::path&, ConversionState&) {}
void WriteBlockTops(const RowTable&, const fs::path&, const fs::path&, const fs::path&, ConversionState&) {}
uint32_t WriteCircleList(const RowTable& rows, uint32_t, const std::string&, const std::string&, const fs::path&,
                         const fs::path&, ConversionState&) {
  return static_cast<uint32_t>(rows.size());
}
void WriteFullCircleText(const RowTable&, const fs::path&, uint32_t, ConversionState&) {}
void WriteCircleInfo(const RowTable&, const fs::path&, const fs::path&, ConversionState&) {}
void WriteMapMax(const fs::path&, uint32_t) {}
void WriteConfig(const fs::path&) {}
void WriteDayTop(const fs::path&, const std::vector<uint32_t>&, const std::vector<uint32_t>&) {}

}  // namespace dw
