#include "dataset/table_reader.h"

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/table_builder.h"

namespace dw {

std::vector<std::string> ReadBlockNames(const std::filesystem::path& block_file) {
  return ReadTableRecords(block_file, 2);
}

std::vector<std::string> ReadTrimmedNames(const std::filesystem::path& path, size_t record_size,
                                          size_t name_width) {
  std::vector<std::string> names = ReadTableRecords(path, record_size);
  for (std::string& name : names) name = std::string(RightTrim(std::string_view(name).substr(0, name_width)));
  return names;
}

std::unordered_map<std::string, uint32_t> FirstPositions(const std::vector<std::string>& names) {
  std::unordered_map<std::string, uint32_t> first;
  first.reserve(names.size());
  for (uint32_t k = 0; k < names.size(); ++k) first.emplace(names[k], k);
  return first;
}

}  // namespace dw
