// The generated catalog that the benchmarks share: cut pages of 1270 x 1800 grey, hall maps with
// their colour overlays, and the text tables of 3 days of 12,000 circles.
#pragma once

#include <array>
#include <filesystem>
#include <vector>

namespace dw::bench {

inline constexpr int kPageWidth = 1270;
inline constexpr int kPageHeight = 1800;
inline constexpr int kMapWidth = 2000;
inline constexpr int kMapHeight = 1400;
inline constexpr int kDays = 3;
inline constexpr int kCirclesPerDay = 12000;
inline constexpr int kBlocks = 256;
inline constexpr int kSpacesPerBlock = 27;

// Writes PDATA/0002.png .. (pages of line art, screentone and text strokes) and, for days
// 1..map_days, MDATA/MAP<d><group>.png and GNR<d><group>.png. With `generate` false the files
// are only listed (a kept catalog). Returns the PNG files in that order.
std::vector<std::filesystem::path> GenerateImages(const std::filesystem::path& root, int pages, int map_days,
                                                  bool generate = true);

// The text tables (CDATA/C99DEF.TXT, C99MAP.TXT, C99ROM1..3.TXT) of 3 days x 12,000 circles in
// 256 blocks. Day d starts at page day_first_page[d-1]; its circles fill circles_per_page cuts a
// page from there.
struct DataTableShape {
  std::array<int, kDays> day_first_page = {1, 1, 1};
  int circles_per_page = 20;
};
void GenerateDataTables(const std::filesystem::path& root, const DataTableShape& shape = {});

// Decodes every file with libpng's own row reader on this thread, as a baseline for the image
// job (file reading included). Exits the program when a file does not decode.
void DecodeOnly(const std::vector<std::filesystem::path>& files);

}  // namespace dw::bench
