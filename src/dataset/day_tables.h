// The two day tables the check-list jobs read: L_Date.dat (event days) and L_DayTop.dat (each
// day's first circle number and circle count).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace dw {

// Day start number of every day in L_Date.dat, in file order (element j - 1 for day j): the u16 at
// offset 4 of each 6-byte record. Every record is read, however many. Throws dw::Error naming the
// file when it cannot be read or holds fewer records than its count.
std::vector<uint16_t> ReadDayStartNumbers(const std::filesystem::path& l_date);

struct DayRange {
  uint16_t first = 0;  // first circle number of the day
  uint16_t count = 0;  // circles of the day
};

// The entries of L_DayTop.dat (element d - 1 for day d). Throws dw::Error naming the file when it
// cannot be read or holds fewer entries than its count.
std::vector<DayRange> ReadDayIndex(const std::filesystem::path& l_daytop);

// Entry `day` (1-based) of a day index; throws dw::Error naming `path` when it has none.
DayRange DayRangeOf(const std::vector<DayRange>& index, int day, const std::filesystem::path& path);

}  // namespace dw
