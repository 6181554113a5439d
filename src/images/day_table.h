// The day start table of the image job, read from the workspace's L_Date.dat.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace dw {

// The start page number of every day record, in file order (see ReadDayStartNumbers). A missing
// file gets a message telling the user to convert data and images first; a file shorter than its
// count throws dw::Error naming it.
std::vector<uint16_t> LoadDayTable(const std::filesystem::path& l_date);

}  // namespace dw
