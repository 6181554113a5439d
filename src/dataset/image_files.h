// The image files of the data set as bytes: GDC images (run-length coded palette indices), the
// 64 x 64 mini maps and the shared palette file. The image job writes them (images/), the checker
// and the picture viewer read them back through the decoders here, over one layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dw {

// GDC: u32 file size, u16 width, u16 height, packets, end byte 0x00.
inline constexpr size_t kGdcHeaderBytes = 8;
inline constexpr int kMaxRunLength = 127;
inline constexpr uint8_t kRunFlag = 0x80;          // control byte 0x80 | n: n pixels of the next byte
inline constexpr uint8_t kLonePixelEscape = 0x81;  // one pixel of the next byte (0x00, 0x80..0xFF)
inline constexpr uint8_t kEndOfImage = 0x00;

// Mini map: u16 map-area width, u16 height, 64 rows of 64 indices (0: outside the map area).
inline constexpr int kMiniMapSide = 64;
inline constexpr size_t kMiniMapFileBytes = 4 + kMiniMapSide * kMiniMapSide;

// Palette.pal: 256 little-endian 15-bit colours, entry 0 reserved and 0.
inline constexpr int kPaletteEntries = 256;
inline constexpr size_t kPaletteFileBytes = 2 * kPaletteEntries;

// Where a file first breaks its layout, and how.
struct LayoutFault {
  size_t offset = 0;
  std::string what;
};

// Palette indices of an image, rows from the top.
struct IndexImage {
  uint16_t width = 0;
  uint16_t height = 0;
  std::string pixels;  // width * height indices
};

// Decodes a GDC file. The packets must end exactly at width x height pixels, followed by the end
// byte as the file's last byte; the size field must equal the file's length and no index may lie
// above `max_index`.
std::optional<LayoutFault> DecodeGdc(std::string_view file, IndexImage& image, int max_index = 255);

// Decodes a mini map: 4100 bytes, an even map area (a map wider than 64 keeps its full size in the
// header), 64 x 64 indices none above `max_index` (0 is the background outside the map area).
std::optional<LayoutFault> DecodeMiniMap(std::string_view file, IndexImage& image, int max_index = 255);

struct PaletteFile {
  std::array<uint16_t, kPaletteEntries> colours{};
  // The highest index an image may use: the last non-zero entry, one more when none of the entries
  // before it is black (the last colour given may be black, stored as 0).
  int usable = 0;
};
std::optional<LayoutFault> DecodePalette(std::string_view file, PaletteFile& palette);

// The same from files; throw dw::Error naming the file and the offset of a fault.
IndexImage ReadGdc(const std::filesystem::path& path);
IndexImage ReadMiniMap(const std::filesystem::path& path);
PaletteFile ReadPalette(const std::filesystem::path& path);

}  // namespace dw
