// The list of one copy onto the card (ZAVO_DS.new/SWAPLIST.TXT): every folder and file of the new
// set with the size and checksum of its bytes, and the size of the file it replaces. It is written
// before the first staged file, so any trace of a copy on the card tells what the copy was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// How the sums of a list are made. Lists written before the kind was recorded hold FNV-1a sums;
// a trace such a version left on the card is still finished with them.
enum class SumKind { kFnv1a, kCrcAdler };

struct CopyEntry {
  std::string relative;  // '/'-separated, below ZAVO_DS (and below the staging folder)
  bool folder = false;
  uint64_t size = 0;
  uint64_t sum = 0;          // Checksum of the bytes
  SumKind sum_kind = SumKind::kCrcAdler;
  long long old_size = -1;   // the card's file replaced, -1 when there was none
  std::filesystem::path source;  // the workspace file (not written to the list)
};

// A 64-bit checksum of bytes fed in pieces: CRC-32 in the high half and Adler-32 in the low half,
// or the FNV-1a of older lists.
class Checksum {
 public:
  explicit Checksum(SumKind kind = SumKind::kCrcAdler);
  void Add(const char* p, size_t n);
  uint64_t value() const;

 private:
  SumKind kind_;
  uint64_t fnv_ = 0xcbf29ce484222325ULL;
  uint32_t crc_ = 0;
  uint32_t adler_ = 1;
};

std::string CopyListText(const std::vector<CopyEntry>& entries);

// The entries of a list, each with the list's kind of sum; false when the text is cut short or
// names anything outside the set.
bool ParseCopyList(std::string_view text, std::vector<CopyEntry>& entries);

}  // namespace dw
