#include "dataset/field_splitter.h"

#include <cstdint>
#include <cstring>

#include "common/sjis.h"

namespace dw {
namespace {

// Whether the eight bytes at `p` hold neither a TAB nor a byte of 0x80 or above (so no lead byte):
// they are skipped whole.
bool PlainEight(const char* p) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  uint64_t bytes;
  std::memcpy(&bytes, p, 8);
  const uint64_t tabs = bytes ^ (kOnes * '\t');  // a zero byte where a TAB is
  return ((bytes | ((tabs - kOnes) & ~tabs)) & kHigh) == 0;
}

}  // namespace

size_t SplitFields(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  size_t start = 0;
  size_t i = 0;
  while (i < line.size()) {
    if (i + 8 <= line.size() && PlainEight(line.data() + i)) {
      i += 8;
    } else if (line[i] == '\t') {
      fields.emplace_back(line.substr(start, i - start));
      start = ++i;
    } else {
      i += IsSjisLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    }
  }
  // The four appended TABs: the first ends the last own field, the other three add empty fields.
  // A lead byte at the very end takes the first appended TAB as its second byte.
  if (i > line.size()) {
    fields.emplace_back(std::string(line.substr(start)) + '\t');
  } else {
    fields.emplace_back(line.substr(start));
    fields.emplace_back();
  }
  fields.emplace_back();
  fields.emplace_back();
  return fields.size();
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  SplitFields(line, fields);
  return fields;
}

}  // namespace dw
