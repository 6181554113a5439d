// The two day tables, written by the data conversion and read by the image job and the check-list
// jobs: L_Date.dat (event days) and L_DayTop.dat (each day's first circle number and circle count).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace dw {

// One record of L_Date.dat (6 bytes): year - 2000, month, day and weekday (0 Monday) as one byte
// each, then the day's first page number (u16).
struct EventDay {
  uint8_t year_since_2000 = 0;
  uint8_t month = 0;
  uint8_t day = 0;
  uint8_t weekday = 0;
  uint16_t first_page = 0;
};
void WriteDayList(const std::filesystem::path& l_date, const std::vector<EventDay>& days);

// Day start number of every day in L_Date.dat, in file order (element j - 1 for day j): the u16 at
// offset 4 of each 6-byte record. Every record is read, however many. Throws dw::Error naming the
// file when it cannot be read or holds fewer records than its count.
std::vector<uint16_t> ReadDayStartNumbers(const std::filesystem::path& l_date);

struct DayRange {
  uint16_t first = 0;  // first circle number of the day
  uint16_t count = 0;  // circles of the day
};
// L_DayTop.dat: the day count, then each day's first circle number and circle count (each kept
// modulo 65536).
void WriteDayIndex(const std::filesystem::path& l_daytop, const std::vector<uint32_t>& day_starts,
                   const std::vector<uint32_t>& day_counts);

// The entries of L_DayTop.dat (element d - 1 for day d). Throws dw::Error naming the file when it
// cannot be read or holds fewer entries than its count.
std::vector<DayRange> ReadDayIndex(const std::filesystem::path& l_daytop);

// Entry `day` (1-based) of a day index; throws dw::Error naming `path` when it has none.
DayRange DayRangeOf(const std::vector<DayRange>& index, int day, const std::filesystem::path& path);

}  // namespace dw
