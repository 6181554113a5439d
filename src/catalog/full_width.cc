#include "catalog/full_width.h"

#include <array>
#include <cstdint>

#include "common/sjis.h"

namespace dw {
namespace {

constexpr unsigned char kFirstKana = 0xA1;  // ｡
constexpr unsigned char kLastKana = 0xDF;   // ﾟ
constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

// Full-width code points of the half-width katakana U+FF61 .. U+FF9F (bytes 0xA1 .. 0xDF).
constexpr std::array<char32_t, 63> kKanaFullWidth = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string Sjis(char32_t c) { return Utf8ToCp932(Utf8Of(c)); }

// The voiced forms that Shift-JIS has: ｳﾞ, ｶﾞ .. ﾄﾞ, ﾊﾞ .. ﾎﾞ and ﾊﾟ .. ﾎﾟ (ﾜﾞ and ｦﾞ have none).
char32_t VoicedForm(unsigned char kana, unsigned char mark) {
  const char32_t base = kKanaFullWidth[kana - kFirstKana];
  const bool ha_row = kana >= 0xCA && kana <= 0xCE;  // ﾊ ﾋ ﾌ ﾍ ﾎ
  if (mark == kVoicedMark) {
    if (kana == 0xB3) return 0x30F4;  // ヴ
    if ((kana >= 0xB6 && kana <= 0xC4) || ha_row) return base + 1;
  } else if (mark == kSemiVoicedMark && ha_row) {
    return base + 2;
  }
  return 0;
}

struct Table {
  std::array<std::string, 256> single;                // full-width form per byte, empty = keep
  std::array<std::string, 64> voiced, semi_voiced;    // per katakana byte - kFirstKana
};

Table BuildTable() {
  Table t;
  t.single[0x20] = Sjis(0x3000);
  for (char32_t c = 0x21; c <= 0x7E; ++c) t.single[c] = Sjis(c + 0xFEE0);
  for (unsigned b = kFirstKana; b <= kLastKana; ++b) {
    t.single[b] = Sjis(kKanaFullWidth[b - kFirstKana]);
    if (char32_t v = VoicedForm(static_cast<unsigned char>(b), kVoicedMark)) t.voiced[b - kFirstKana] = Sjis(v);
    if (char32_t v = VoicedForm(static_cast<unsigned char>(b), kSemiVoicedMark)) {
      t.semi_voiced[b - kFirstKana] = Sjis(v);
    }
  }
  return t;
}

const Table& FullWidthTable() {
  static const Table table = BuildTable();
  return table;
}

}  // namespace

std::string ToFullWidth(std::string_view text) {
  const Table& t = FullWidthTable();
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == 0) break;
    if (SjisCharLength(text, i) == 2) {
      out.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    if (b >= kFirstKana && b <= kLastKana && i + 1 < text.size()) {
      const auto mark = static_cast<unsigned char>(text[i + 1]);
      const std::string* joined = mark == kVoicedMark       ? &t.voiced[b - kFirstKana]
                                  : mark == kSemiVoicedMark ? &t.semi_voiced[b - kFirstKana]
                                                            : nullptr;
      if (joined && !joined->empty()) {
        out += *joined;
        i += 2;
        continue;
      }
    }
    if (t.single[b].empty()) {
      out += static_cast<char>(b);
    } else {
      out += t.single[b];
    }
    ++i;
  }
  // A NUL inside a double-byte character also ends the text.
  return out.substr(0, out.find('\0'));
}

}  // namespace dw
