// The counted tables of the data set: a u16 record count at offset 0, then fixed-size records.
// Every reader of such a file goes through CheckedRecordCount, so a file shorter than its count
// is reported the same way everywhere and no reader runs past its end.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The record count of `bytes`, after checking that `record_size`-byte records of that count
// follow the header. Throws Error kind kDamaged naming `path` (ShortTable) when they do not.
size_t CheckedRecordCount(std::string_view bytes, size_t record_size, const std::filesystem::path& path);

// The records of a counted table file. Throws CannotOpen when the file cannot be read and
// ShortTable when it is shorter than its count says.
std::vector<std::string> ReadTableRecords(const std::filesystem::path& path, size_t record_size);

}  // namespace dw
