#include "dataset/table_reader.h"

#include "common/atomic_file.h"
#include "common/error.h"
#include "common/numbers.h"
#include "common/table_builder.h"

namespace dw {

std::vector<std::string> ReadTableRecords(const std::filesystem::path& path, size_t record_size) {
  const std::string bytes = ReadWholeFile(path);
  const size_t count = bytes.size() >= 2 ? ReadU16(bytes, 0) : 0;
  if (bytes.size() < 2 || bytes.size() - 2 < count * record_size) {
    throw Error("ファイル \"" + DisplayPath(path) + "\" が壊れています (" + std::to_string(count) + " 件に " +
                std::to_string(2 + count * record_size) + " バイト必要ですが " + std::to_string(bytes.size()) +
                " バイトしかありません)");
  }
  std::vector<std::string> records;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) records.push_back(bytes.substr(2 + i * record_size, record_size));
  return records;
}

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
