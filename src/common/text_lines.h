// Reading a text file line by line, as the catalog's tables and the check lists are read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

enum class LoneCr {
  kDrop,     // catalog tables: a CR not followed by LF is removed from the line
  kEndsLine  // check-list CSV: a lone CR ends the line like LF
};

// Splits bytes into lines: LF and CR LF end a line, a lone CR is handled as `lone_cr` says, and
// a byte 0x1A ends the text. A last line without a line end counts; a final line end does not
// start an empty line.
std::vector<std::string> SplitTextLines(std::string_view bytes, LoneCr lone_cr = LoneCr::kDrop);

// Reads a text file and splits it; a file that cannot be opened throws TextFileError
// ("ファイルが見つかりません (...)" for a missing one).
std::vector<std::string> ReadTextLines(const std::filesystem::path& path, LoneCr lone_cr = LoneCr::kDrop);

}  // namespace dw
