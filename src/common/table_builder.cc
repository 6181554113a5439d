#include "common/table_builder.h"

#include <cassert>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/numbers.h"

namespace dw {

TableBuilder& TableBuilder::Name(std::string_view text, size_t width) {
  bytes_ += NameField(text, width);
  return *this;
}

TableBuilder& TableBuilder::SetCount(uint32_t n) {
  count_ = n;
  return PatchU16(0, n);
}

TableBuilder& TableBuilder::PatchU16(size_t offset, uint32_t v) {
  assert(offset + 2 <= bytes_.size());
  bytes_[offset] = static_cast<char>(v & 0xFF);
  bytes_[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
  return *this;
}

void TableBuilder::Save(const std::filesystem::path& path) const {
  if (count_ > kMaxCount) {
    throw TooManyRecords(path, count_, kMaxCount);
  }
  AtomicSave(path, bytes_);
}

}  // namespace dw
