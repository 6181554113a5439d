// Shift-JIS (code page 932) helpers. Catalog and card text stays as cp932 bytes; these
// functions convert only for display and for building test data.
#pragma once

#include <string>
#include <string_view>

namespace dw {

// True for a byte that starts a double-byte cp932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at text[i]: 2 for a lead byte followed by
// another byte, else 1.
inline size_t SjisCharLength(std::string_view text, size_t i) {
  return (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// cp932 -> UTF-8 for display. Never fails: a lone lead byte at the end or a byte cp932 does not
// define becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> cp932. Throws dw::Error when a character has no cp932 form or the input is not UTF-8.
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace dw
