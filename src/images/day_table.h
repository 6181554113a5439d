// The day start table of the image job, read from the workspace's L_Date.dat.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace dw {

inline constexpr size_t kDayRecordBytes = 6;
inline constexpr size_t kDayStartOffset = 4;  // of the 16-bit start page number in a record

// The start page number of every day record, in file order: the file's 16-bit count at offset 0,
// then 6-byte records with the start page at offset 4 of each. Every record is read, however
// many. Throws dw::Error when the file is missing (the data must be converted first) or shorter
// than its count says.
std::vector<uint16_t> LoadDayTable(const std::filesystem::path& l_date);

}  // namespace dw
