// Grey and palette PNG rows of any bit depth onto the canvas, through small lookup tables, giving
// the bytes of the loader's libpng path: grey of 1, 2 or 4 bits scaled to 8 bits, 16 bits reduced
// with rounding, palettes expanded to blue-green-red (or to grey when every entry is grey), and
// tRNS composited over white.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dw {

// What the table of a PNG image is built from: its header's bit depth and colour type, and its
// PLTE and tRNS chunk data (null with length 0 when absent). The caller has checked the
// combination: grey of 1, 2, 4, 8 or 16 bits with a tRNS of 2 bytes holding a sample that fits
// the bit depth; palette of 1, 2, 4 or 8 bits with 1 to 2^depth entries and no more tRNS entries
// than that.
struct PngRowForm {
  uint8_t bit_depth = 8;
  bool palette = false;
  const uint8_t* plte = nullptr;
  size_t plte_length = 0;
  const uint8_t* trns = nullptr;
  size_t trns_length = 0;
};

// Whether every entry of PLTE chunk data is grey (red = green = blue). Such a palette image comes
// out as a grey canvas, which stands for the 24-bit one: grey composited over white stays grey.
bool PaletteIsGrey(const uint8_t* plte, size_t length);

class PngRowExpander {
 public:
  explicit PngRowExpander(const PngRowForm& form);

  // Canvas bytes per pixel: 3 (blue-green-red) for a palette with a colour entry, else 1.
  int channels() const { return channels_; }

  // Expands the unfiltered row `in` of `width` pixels onto `out`. Returns false when a pixel's
  // palette index lies beyond the palette (the padding bits at the row's end are not read).
  bool Expand(const uint8_t* in, uint32_t width, uint8_t* out) const;

 private:
  template <int kBitDepth, int kChannels, bool kPalette = kChannels == 3>
  bool ExpandPacked(const uint8_t* in, uint32_t width, uint8_t* out) const;
  void ExpandGrey16(const uint8_t* in, uint32_t width, uint8_t* out) const;

  int bit_depth_;
  bool palette_;
  int palette_entries_;
  int channels_;
  int grey16_key_ = -1;  // the 16-bit sample that tRNS makes transparent, -1 for none
  // For each byte of packed samples: the canvas bytes of its 8 / bit depth pixels, and whether
  // one of them lies beyond the palette.
  uint8_t bytes_[256][24] = {};
  bool beyond_[256] = {};
};

}  // namespace dw
