// Code page 932 (Shift-JIS with the Windows extensions) to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace dw::platform {

// Decodes `in`; each byte that starts no valid character (0x80 among them) becomes U+FFFD.
std::string DecodeCp932(std::string_view in);

// Encodes UTF-8 text; false when some character has no code in the code page (or the text is
// not UTF-8). `out` is cleared first.
bool EncodeCp932(std::string_view utf8, std::string& out);

}  // namespace dw::platform
