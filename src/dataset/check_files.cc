#include "dataset/check_files.h"

#include <algorithm>
#include <utility>

#include "dataset/counted_table.h"
#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

uint8_t ByteAt(std::string_view b, size_t offset) { return static_cast<uint8_t>(b[offset]); }

}  // namespace

std::string BuildCheckFile(const std::vector<CheckSlot>& used, size_t capacity) {
  if (used.size() > capacity || used.size() > 0xFFFF) {
    throw CheckSlotsFull(capacity, used.size());
  }
  TableBuilder table;
  for (const CheckSlot& s : used) table.U16(s.circle).U8(s.flags).U8(s.colour);
  for (size_t k = used.size(); k < capacity; ++k) table.U16(0xFFFF).U8(0x00).U8(0xFF);
  table.SetCount(static_cast<uint32_t>(used.size()));
  return table.bytes();
}

std::vector<CheckSlot> ParseCheckFile(std::string_view bytes, const fs::path& path) {
  if (bytes.size() < kCheckHeaderSize) throw Damaged(path, "使用数がありません (" + std::to_string(bytes.size()) + " バイト)");
  const size_t used = ReadU16(bytes, 0);
  const size_t held = (bytes.size() - kCheckHeaderSize) / kCheckSlotSize;
  if (used > held) {
    throw Damaged(path, "使用数 " + std::to_string(used) + " がファイルの枠数 " + std::to_string(held) + " を超えています");
  }
  std::vector<CheckSlot> slots(used);
  for (size_t k = 0; k < used; ++k) {
    const size_t at = kCheckHeaderSize + kCheckSlotSize * k;
    slots[k] = {static_cast<uint16_t>(ReadU16(bytes, at)), ByteAt(bytes, at + 2), ByteAt(bytes, at + 3)};
  }
  return slots;
}

std::vector<CheckSlot> ReadCheckFile(const fs::path& path) { return ParseCheckFile(ReadWholeFile(path), path); }

MemoFileBuilder::MemoFileBuilder(uint16_t circle_count)
    : count_(circle_count), bytes_(kCheckHeaderSize + kMemoBytesPerCircle * circle_count, '\0') {
  bytes_[0] = static_cast<char>(circle_count & 0xFF);
  bytes_[1] = static_cast<char>(circle_count >> 8);
}

bool MemoFileBuilder::Set(long long index, std::string_view memo) {
  if (index < 0 || index >= count_) return false;
  const size_t at = 2 + kMemoSlotSize * static_cast<size_t>(index);
  const size_t n = std::min(memo.size(), kMemoSlotSize - 1);
  bytes_.replace(at, n, memo.substr(0, n));
  bytes_.replace(at + n, kMemoSlotSize - n, kMemoSlotSize - n, '\0');
  return true;
}

std::vector<std::string> ParseMemoFile(std::string_view bytes, const fs::path& path) {
  const size_t n = CheckedRecordCount(bytes, kMemoBytesPerCircle, path);
  std::vector<std::string> memos(n);
  for (size_t i = 0; i < n; ++i) {
    std::string_view slot = bytes.substr(2 + kMemoSlotSize * i, kMemoSlotSize);
    memos[i] = std::string(slot.substr(0, slot.find('\0')));
  }
  return memos;
}

PurchaseFile::PurchaseFile(std::string bytes, fs::path path) : bytes_(std::move(bytes)), path_(std::move(path)) {
  count_ = static_cast<uint16_t>(CheckedRecordCount(bytes_, kPurchaseRecordSize, path_));
}

PurchaseFile PurchaseFile::Read(const fs::path& path) { return PurchaseFile(ReadWholeFile(path), path); }

PurchaseRecord PurchaseFile::Record(size_t index) const {
  const size_t at = 2 + kPurchaseRecordSize * index;
  if (at + kPurchaseRecordSize > bytes_.size()) {
    throw Damaged(path_, "サークル " + std::to_string(index) + " の購入記録がありません (" + std::to_string(bytes_.size()) + " バイト)");
  }
  PurchaseRecord record;
  for (size_t j = 0; j < kPurchaseSlots; ++j) {
    const size_t s = at + 4 * j;
    record[j] = {ByteAt(bytes_, s), ByteAt(bytes_, s + 1), static_cast<uint16_t>(ReadU16(bytes_, s + 2))};
  }
  return record;
}

std::string BuildEmptyPurchaseFile(uint16_t circle_count) {
  TableBuilder table;
  table.Bytes(std::string(kPurchaseRecordSize * circle_count, '\0'));
  table.SetCount(circle_count);
  return table.bytes();
}

}  // namespace dw
