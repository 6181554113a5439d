// Number parsing, trimming and name fields as the catalog tables use them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dw {

// Removes trailing bytes of value 0x20 or less.
std::string_view RightTrim(std::string_view text);

// Parses a catalog cell as a 32-bit decimal integer: trailing bytes <= 0x20 removed, leading
// blanks and one sign allowed. Anything else (an empty cell included) throws NotAnInteger with
// the cell's text. 16- and 8-bit fields keep the low bits of the result.
int32_t ParseInt(std::string_view cell);

// The text's first width-1 bytes (cut by bytes, regardless of double-byte characters), padded
// with NUL bytes to `width`; the last byte is always NUL.
std::string NameField(std::string_view text, size_t width);

}  // namespace dw
