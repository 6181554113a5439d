#include "common/table_builder.h"

#include <algorithm>
#include <cassert>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/numbers.h"

namespace dw {

TableBuilder& TableBuilder::Name(std::string_view text, size_t width) {
  // NameField in place: the text cut to width - 1 bytes, then NULs up to the width.
  const size_t kept = width == 0 ? 0 : std::min(text.size(), width - 1);
  bytes_.append(text.substr(0, kept)).append(width - kept, '\0');
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
