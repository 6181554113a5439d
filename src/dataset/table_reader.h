// Names read back from the tables an earlier writer of the same run saved.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dataset/counted_table.h"

namespace dw {


// The block names of L_Block.dat, two bytes each, as stored.
std::vector<std::string> ReadBlockNames(const std::filesystem::path& block_file);

// The first `name_width` bytes of each record, without trailing bytes <= 0x20 (blanks and NULs).
std::vector<std::string> ReadTrimmedNames(const std::filesystem::path& path, size_t record_size,
                                          size_t name_width);

// Name -> position of its first occurrence in `names`: an indexed "first equal slot" look-up.
std::unordered_map<std::string, uint32_t> FirstPositions(const std::vector<std::string>& names);

}  // namespace dw
