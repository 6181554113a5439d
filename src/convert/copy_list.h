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

struct CopyEntry {
  std::string relative;  // '/'-separated, below ZAVO_DS (and below the staging folder)
  bool folder = false;
  uint64_t size = 0;
  uint64_t sum = 0;          // Checksum of the bytes
  long long old_size = -1;   // the card's file replaced, -1 when there was none
  std::filesystem::path source;  // the workspace file (not written to the list)
};

// A 64-bit checksum (FNV-1a) of bytes fed in pieces.
class Checksum {
 public:
  void Add(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i) value_ = (value_ ^ static_cast<unsigned char>(p[i])) * 0x100000001b3ULL;
  }
  uint64_t value() const { return value_; }

 private:
  uint64_t value_ = 0xcbf29ce484222325ULL;
};

std::string CopyListText(const std::vector<CopyEntry>& entries);

// The entries of a list; false when the text is cut short or names anything outside the set.
bool ParseCopyList(std::string_view text, std::vector<CopyEntry>& entries);

}  // namespace dw
