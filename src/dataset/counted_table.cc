#include "dataset/counted_table.h"

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"

namespace dw {

size_t CheckedRecordCount(std::string_view bytes, size_t record_size, const std::filesystem::path& path) {
  const size_t count = bytes.size() >= 2 ? ReadU16(bytes, 0) : 0;
  if (bytes.size() < 2 || bytes.size() - 2 < count * record_size) {
    throw ShortTable(path, count, record_size, bytes.size());
  }
  return count;
}

std::vector<std::string> ReadTableRecords(const std::filesystem::path& path, size_t record_size) {
  const std::string bytes = ReadWholeFile(path);
  const size_t count = CheckedRecordCount(bytes, record_size, path);
  std::vector<std::string> records;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) records.push_back(bytes.substr(2 + i * record_size, record_size));
  return records;
}

}  // namespace dw
