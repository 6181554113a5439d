// Searching Shift-JIS text character by character.
#pragma once

#include <string_view>

namespace dw {

// True when `needle` occurs in `haystack` at character boundaries on both ends, so a two-byte
// name is never found across two double-byte characters. An empty needle never occurs.
bool ContainsSjisText(std::string_view haystack, std::string_view needle);

}  // namespace dw
