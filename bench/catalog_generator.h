// The generated catalog that the benchmarks share: cut pages of 1270 x 1800 grey, hall maps with
// their colour overlays, and the text tables of 3 days of 12,000 circles.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>
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

// A PNG form the pages are written in, by libpng's writer: the same grey drawing as 8-bit grey,
// reduced to 1, 2 or 4 bits, widened to 16, as palette indices into as many grey entries as the
// bit depth allows (with tRNS: the white entry transparent and, from 2 bits, the next-to-black one
// half so), or as a tinted RGB or RGBA (white transparent). Filter type 0 on every row, or
// libpng's per-row choice among the five filters as encoders write by default.
struct PageForm {
  const char* name;
  int colour_type;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 6 RGBA
  int bit_depth;
  bool trns;
  bool adaptive_filters;
};
inline constexpr PageForm kPageForms[] = {
    {"grey8", 0, 8, false, false},         {"grey8-adaptive", 0, 8, false, true},
    {"grey1", 0, 1, false, false},         {"grey2", 0, 2, false, false},
    {"grey4", 0, 4, false, false},         {"grey16", 0, 16, false, true},
    {"palette1", 3, 1, false, false},      {"palette1-trns", 3, 1, true, false},
    {"palette2", 3, 2, false, false},      {"palette2-trns", 3, 2, true, false},
    {"palette4", 3, 4, false, false},      {"palette4-trns", 3, 4, true, false},
    {"palette8", 3, 8, false, false},      {"palette8-trns", 3, 8, true, false},
    {"rgb8", 2, 8, false, true},           {"rgba8", 6, 8, false, true},
};
// The form of that name, or null.
const PageForm* FindPageForm(std::string_view name);

// Writes PDATA/0002.png .. (pages of line art, screentone and text strokes, in `form`) and, for
// days 1..map_days, MDATA/MAP<d><group>.png and GNR<d><group>.png (8-bit RGB). With
// `generate` false the files are only listed (a kept catalog). Returns the PNG files in that
// order.
std::vector<std::filesystem::path> GenerateImages(const std::filesystem::path& root, int pages, int map_days,
                                                  bool generate = true, const PageForm& form = kPageForms[0]);

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
