// The shared 15-bit palette of one image job.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dataset/image_files.h"

namespace dw {

inline constexpr int kMaxPaletteColours = 255;  // entries 1..255; entry 0 is reserved
inline constexpr int kColour15Count = 32768;
// Pure red after reduction: the mini map's background, written as index 0.
inline constexpr uint16_t kPureRed15 = 0x001F;

// Red in bits 0-4, green in 5-9, blue in 10-14; the three low bits of each channel are dropped.
constexpr uint16_t Colour15(uint8_t blue, uint8_t green, uint8_t red) {
  return static_cast<uint16_t>((red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10));
}

// Indices in the order colours are first met. A colour met when all 255 entries are taken is
// given the nearest entry (smallest squared distance of the 5-bit channels, lowest index on ties)
// and counted as merged.
class SharedPalette {
 public:
  SharedPalette() { Reset(); }

  // All entries 0, no colours, nothing merged.
  void Reset();

  // The index of a 15-bit colour, assigning the next entry when the colour is new.
  uint8_t IndexOfColour(uint16_t colour15) {
    const uint8_t known = lookup_[colour15 & 0x7FFF];
    return known != 0 ? known : Assign(colour15 & 0x7FFF);
  }

  // The index of pixel x of a blue-green-red row.
  uint8_t PaletteIndexOf(const uint8_t* row, int x) {
    const uint8_t* p = row + 3 * static_cast<size_t>(x);
    return IndexOfColour(Colour15(p[0], p[1], p[2]));
  }

  // The index already given to a colour, 0 when it has none yet.
  uint8_t Lookup(uint16_t colour15) const { return lookup_[colour15 & 0x7FFF]; }

  int count() const { return count_; }
  int merged() const { return merged_; }
  uint16_t entry(int index) const { return entries_[static_cast<size_t>(index)]; }

  // Palette.pal: the 256 entries as 16-bit little-endian values, entry 0 first.
  std::string FileBytes() const;

 private:
  uint8_t Assign(uint16_t colour15);
  uint8_t Nearest(uint16_t colour15) const;

  std::array<uint16_t, kPaletteEntries> entries_{};
  std::array<uint8_t, kColour15Count> lookup_{};  // 0: not met yet
  int count_ = 0;
  int merged_ = 0;
};

}  // namespace dw
