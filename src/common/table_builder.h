// Little-endian binary table built in memory: a 16-bit record count at offset 0, then records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace dw {

class TableBuilder {
 public:
  // Starts with the 16-bit count placeholder (0) unless `with_count` is false.
  explicit TableBuilder(bool with_count = true) {
    if (with_count) U16(0);
  }

  TableBuilder& U8(uint32_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  TableBuilder& U16(uint32_t v) {
    U8(v);
    return U8(v >> 8);
  }
  TableBuilder& U32(uint32_t v) {
    U16(v & 0xFFFF);
    return U16(v >> 16);
  }
  TableBuilder& Bytes(std::string_view b) {
    bytes_.append(b);
    return *this;
  }
  // A name field of `width` bytes (see NameField).
  TableBuilder& Name(std::string_view text, size_t width);
  // Room for `more` bytes beyond the current size, for a table whose size is known ahead.
  TableBuilder& Reserve(size_t more) {
    bytes_.reserve(bytes_.size() + more);
    return *this;
  }
  // Overwrites the 16-bit count at offset 0. A count above 65535 cannot be stored: Save then
  // refuses the table instead of writing a wrapped count the handheld would misread.
  TableBuilder& SetCount(uint32_t n);
  // Overwrites a 16-bit value at `offset`, which must lie inside the table.
  TableBuilder& PatchU16(size_t offset, uint32_t v);

  const std::string& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

  // Saves the table atomically over `path` (see AtomicSave).
  void Save(const std::filesystem::path& path) const;

  static constexpr uint32_t kMaxCount = 0xFFFF;

 private:
  std::string bytes_;
  uint32_t count_ = 0;
};

// Little-endian reads from a byte buffer; the caller checks the bounds.
inline uint32_t ReadU16(std::string_view b, size_t offset) {
  return static_cast<unsigned char>(b[offset]) | (static_cast<unsigned char>(b[offset + 1]) << 8);
}
inline uint32_t ReadU32(std::string_view b, size_t offset) {
  return ReadU16(b, offset) | (ReadU16(b, offset + 2) << 16);
}

}  // namespace dw
