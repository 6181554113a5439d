// The handheld's per-day check, memo and purchase files (CheckList/Check<d>.dat, C_Memo<d>.dat,
// D_Buy<d>.dat). The handheld rewrites them on its memory card, so every reader checks the bounds
// and reports a short or inconsistent file as an error naming it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// Check file: u16 used-slot count, then 4-byte slots {u16 circle, u8 flags, u8 colour}.
inline constexpr size_t kCheckHeaderSize = 2;
inline constexpr size_t kCheckSlotSize = 4;
inline constexpr size_t kEmptyCheckFileSlots = 10240;  // written by the catalog conversion
inline constexpr size_t kImportCheckFileSlots = 1024;  // written by the import
inline constexpr uint8_t kImportedCheckFlags = 1;
inline constexpr uint8_t kVisitedFlag = 8;

// Memo file: u16 circle count n, memo slots of 160 bytes, 2 + 162·n bytes in all.
inline constexpr size_t kMemoSlotSize = 160;
inline constexpr size_t kMemoBytesPerCircle = 162;

// Purchase file: u16 circle count, then per circle ten slots {u8 kind, u8 quantity, u16 price/10}.
inline constexpr size_t kPurchaseSlots = 10;
inline constexpr size_t kPurchaseRecordSize = 4 * kPurchaseSlots;

struct CheckSlot {
  uint16_t circle = 0xFFFF;
  uint8_t flags = 0;
  uint8_t colour = 0xFF;
  bool operator==(const CheckSlot&) const = default;
};

struct PurchaseSlot {
  uint8_t kind = 0;
  uint8_t quantity = 0;
  uint16_t unit_price = 0;  // in units of 10 yen
  bool empty() const { return kind == 0 && quantity == 0 && unit_price == 0; }
};
using PurchaseRecord = std::array<PurchaseSlot, kPurchaseSlots>;

// A check file of `capacity` slots holding `used` in order, the rest unused (FF FF 00 FF).
// Throws dw::Error when `used` does not fit.
std::string BuildCheckFile(const std::vector<CheckSlot>& used, size_t capacity);

// The used slots of a check file's bytes. Throws dw::Error naming `path` when the file is
// shorter than its header or holds fewer slots than its used-slot count.
std::vector<CheckSlot> ParseCheckFile(std::string_view bytes, const std::filesystem::path& path);
std::vector<CheckSlot> ReadCheckFile(const std::filesystem::path& path);

// A memo file being filled: count n and n zeroed slots.
class MemoFileBuilder {
 public:
  explicit MemoFileBuilder(uint16_t circle_count);
  uint16_t circle_count() const { return count_; }
  // Stores at most 159 bytes of `memo` (cut by bytes) in slot `index`, zero-padded; byte 159 of
  // the slot stays zero. Returns false, storing nothing, when index is outside 0 .. n - 1.
  bool Set(long long index, std::string_view memo);
  const std::string& bytes() const { return bytes_; }

 private:
  uint16_t count_;
  std::string bytes_;
};

// The memo texts of a memo file (each up to its first NUL). Throws dw::Error naming `path` when
// the file is shorter than 2 + 162·n bytes.
std::vector<std::string> ParseMemoFile(std::string_view bytes, const std::filesystem::path& path);

// A purchase file read from a card. Records are looked up by day-relative index.
class PurchaseFile {
 public:
  // Throws dw::Error naming `path` when the file is shorter than 2 + 40·n bytes.
  PurchaseFile(std::string bytes, std::filesystem::path path);
  static PurchaseFile Read(const std::filesystem::path& path);

  uint16_t circle_count() const { return count_; }
  // Record `index`; throws dw::Error naming the file when it lies beyond the records it holds.
  PurchaseRecord Record(size_t index) const;

 private:
  std::string bytes_;
  std::filesystem::path path_;
  uint16_t count_ = 0;
};

// Empty purchase file of n circles: the count, then 40·n zero bytes.
std::string BuildEmptyPurchaseFile(uint16_t circle_count);


}  // namespace dw
