// Splitting a catalog line into its TAB-separated fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dw {

// Appends four TABs, then cuts the line at every TAB that is a single-byte character (a TAB right
// after a Shift-JIS lead byte is that character's second byte). The result is the line's own
// fields, empty ones included, followed by exactly three empty fields.
std::vector<std::string> SplitFields(std::string_view line);

// The same, filling `fields` (cleared first); returns the number of fields.
size_t SplitFields(std::string_view line, std::vector<std::string>& fields);

}  // namespace dw
