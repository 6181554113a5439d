#include "convert/copy_list.h"

#include <libdeflate.h>

#include <cstdio>

namespace dw {

namespace {

// The first line of a list whose sums are CRC-32 and Adler-32; lists without it hold FNV-1a sums.
constexpr std::string_view kCrcAdlerHeader = "SUMS\tCRC32+ADLER32\n";

// A path below the set: not empty, relative, no ".." part, no control character.
bool InsideSet(const std::string& relative) {
  if (relative.empty() || relative[0] == '/' || relative.back() == '/') return false;
  for (char c : relative) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\\') return false;
  }
  return ("/" + relative + "/").find("/../") == std::string::npos &&
         ("/" + relative + "/").find("/./") == std::string::npos;
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  size_t at = 0;
  for (size_t tab; (tab = line.find('\t', at)) != std::string_view::npos; at = tab + 1) {
    fields.emplace_back(line.substr(at, tab - at));
  }
  fields.emplace_back(line.substr(at));
  return fields;
}

bool Number(const std::string& text, int base, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, base);
  return end == text.c_str() + text.size() && text[0] != '-' && text[0] != '+' && text[0] != ' ';
}

}  // namespace

Checksum::Checksum(SumKind kind) : kind_(kind) {}

void Checksum::Add(const char* p, size_t n) {
  if (kind_ == SumKind::kCrcAdler) {
    crc_ = libdeflate_crc32(crc_, p, n);
    adler_ = libdeflate_adler32(adler_, p, n);
    return;
  }
  for (size_t i = 0; i < n; ++i) fnv_ = (fnv_ ^ static_cast<unsigned char>(p[i])) * 0x100000001b3ULL;
}

uint64_t Checksum::value() const {
  return kind_ == SumKind::kCrcAdler ? (uint64_t{crc_} << 32) | adler_ : fnv_;
}

// The header line, then one line per entry: "D\t<relative>" or
// "F\t<size>\t<checksum>\t<old size or ->\t<relative>", then "END".
std::string CopyListText(const std::vector<CopyEntry>& entries) {
  std::string text(kCrcAdlerHeader);
  for (const CopyEntry& e : entries) {
    if (e.folder) {
      text += "D\t" + e.relative + "\n";
      continue;
    }
    char sum[17];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(e.sum));
    text += "F\t" + std::to_string(e.size) + "\t" + sum + "\t" +
            (e.old_size < 0 ? std::string("-") : std::to_string(e.old_size)) + "\t" + e.relative + "\n";
  }
  return text + "END\n";
}

bool ParseCopyList(std::string_view text, std::vector<CopyEntry>& entries) {
  if (text.size() < 4 || text.substr(text.size() - 4) != "END\n") return false;
  text.remove_suffix(4);
  const bool crc_adler = text.substr(0, kCrcAdlerHeader.size()) == kCrcAdlerHeader;
  if (crc_adler) text.remove_prefix(kCrcAdlerHeader.size());
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    const std::vector<std::string> f = Fields(text.substr(0, end));
    text.remove_prefix(end + 1);
    CopyEntry e;
    e.sum_kind = crc_adler ? SumKind::kCrcAdler : SumKind::kFnv1a;
    if (f.size() == 2 && f[0] == "D") {
      e.folder = true;
      e.relative = f[1];
    } else if (f.size() == 5 && f[0] == "F") {
      uint64_t old = 0;
      if (!Number(f[1], 10, e.size) || f[2].size() != 16 || !Number(f[2], 16, e.sum)) return false;
      if (f[3] != "-" && !Number(f[3], 10, old)) return false;
      e.old_size = f[3] == "-" ? -1 : static_cast<long long>(old);
      e.relative = f[4];
    } else {
      return false;
    }
    if (!InsideSet(e.relative)) return false;
    entries.push_back(std::move(e));
  }
  return true;
}

}  // namespace dw
