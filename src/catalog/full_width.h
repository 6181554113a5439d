// The full-width form of a Shift-JIS text, as the handheld's area list (L_KArea.dat) shows it.
#pragma once

#include <string>
#include <string_view>

namespace dw {

// Maps every single-byte character to its double-byte full-width form: the space and the 94
// printable ASCII characters, and the 63 half-width katakana, where a katakana followed by a
// voicing mark (ﾞ or ﾟ) becomes one voiced character when Shift-JIS has it (ｶﾞ -> ガ, ﾊﾟ -> パ,
// ｳﾞ -> ヴ). Double-byte characters are copied byte for byte, so the catalog's own codes (NEC and
// IBM duplicates included) stay; other bytes stay as they are. The result ends before the first
// NUL byte.
std::string ToFullWidth(std::string_view sjis);

}  // namespace dw
