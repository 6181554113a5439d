// The closing files of a data conversion run: MLMax.dat (the largest day map file's record
// count) and Config.dat (the handheld's settings, all zero).
#include "catalog/table_writers.h"
#include "common/table_builder.h"

namespace dw {

void WriteMapMax(const fs::path& mlmax_file, uint32_t largest_map_file_count) {
  TableBuilder(false).U16(largest_map_file_count).Save(mlmax_file);
}

void WriteConfig(const fs::path& config_file) { TableBuilder(false).U16(0).U16(0).Save(config_file); }

}  // namespace dw
