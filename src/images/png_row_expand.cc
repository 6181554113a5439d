#include "images/png_row_expand.h"

#include <cstring>

#include "images/png_loader.h"

namespace dw {
namespace {

// 16 bits to 8 with rounding, in the integer form libpng uses (equal to round(v * 255 / 65535)).
inline uint8_t Scale16(int high, int low) {
  return static_cast<uint8_t>(high + (((low - high + 128) * 65535) >> 24));
}

}  // namespace

bool PaletteIsGrey(const uint8_t* plte, size_t length) {
  for (size_t i = 0; i + 2 < length; i += 3) {
    if (plte[i] != plte[i + 1] || plte[i] != plte[i + 2]) return false;
  }
  return true;
}

PngRowExpander::PngRowExpander(const PngRowForm& form)
    : bit_depth_(form.bit_depth),
      palette_(form.palette),
      palette_entries_(static_cast<int>(form.plte_length / 3)),
      channels_(palette_ && !PaletteIsGrey(form.plte, form.plte_length) ? 3 : 1) {
  if (bit_depth_ == 16) {
    if (form.trns_length == 2) grey16_key_ = (form.trns[0] << 8) | form.trns[1];
    return;
  }
  // The canvas bytes of every sample value.
  const int values = 1 << bit_depth_;
  uint8_t value_bytes[256][3] = {};
  bool value_beyond[256] = {};
  for (int v = 0; v < values; ++v) {
    if (!palette_) {
      const bool transparent = form.trns_length == 2 && ((form.trns[0] << 8) | form.trns[1]) == v;
      value_bytes[v][0] = transparent ? 255 : static_cast<uint8_t>(v * 255 / (values - 1));
    } else if (static_cast<size_t>(v) * 3 < form.plte_length) {
      const uint8_t* rgb = form.plte + v * 3;
      const uint8_t alpha = static_cast<size_t>(v) < form.trns_length ? form.trns[v] : 255;
      const uint8_t bgra[4] = {rgb[2], rgb[1], rgb[0], alpha};
      CompositeOverWhite(bgra, 4, 1, value_bytes[v]);
    } else {
      value_beyond[v] = true;
    }
  }
  // Then of every byte of packed samples, the first sample in the high bits.
  const int per_byte = 8 / bit_depth_, ch = channels_;
  for (int b = 0; b < 256; ++b) {
    for (int k = 0; k < per_byte; ++k) {
      const int v = (b >> (8 - bit_depth_ * (k + 1))) & (values - 1);
      std::memcpy(bytes_[b] + k * ch, value_bytes[v], static_cast<size_t>(ch));
      beyond_[b] = beyond_[b] || value_beyond[v];
    }
  }
}

template <int kBitDepth, int kChannels, bool kPalette>
bool PngRowExpander::ExpandPacked(const uint8_t* in, uint32_t width, uint8_t* out) const {
  constexpr uint32_t kPerByte = 8 / kBitDepth;
  constexpr size_t kStep = kPerByte * kChannels;
  const uint32_t whole = width / kPerByte;
  bool beyond = false;
  for (uint32_t i = 0; i < whole; ++i, out += kStep) {
    std::memcpy(out, bytes_[in[i]], kStep);
    if constexpr (kPalette) beyond |= beyond_[in[i]];
  }
  const uint32_t rest = width % kPerByte;
  if (rest > 0) {
    const uint8_t last = in[whole];
    std::memcpy(out, bytes_[last], rest * kChannels);
    if constexpr (kPalette) {
      // Only the pixels used: the bits after them are padding.
      for (uint32_t k = 0; k < rest; ++k) {
        const int index = (last >> (8 - kBitDepth * (k + 1))) & ((1 << kBitDepth) - 1);
        beyond |= index >= palette_entries_;
      }
    }
  }
  return !beyond;
}

void PngRowExpander::ExpandGrey16(const uint8_t* in, uint32_t width, uint8_t* out) const {
  for (uint32_t x = 0; x < width; ++x, in += 2) {
    const int v = (in[0] << 8) | in[1];
    out[x] = v == grey16_key_ ? 255 : Scale16(in[0], in[1]);
  }
}

bool PngRowExpander::Expand(const uint8_t* in, uint32_t width, uint8_t* out) const {
  if (channels_ == 3) {
    switch (bit_depth_) {
      case 1: return ExpandPacked<1, 3>(in, width, out);
      case 2: return ExpandPacked<2, 3>(in, width, out);
      case 4: return ExpandPacked<4, 3>(in, width, out);
      default: return ExpandPacked<8, 3>(in, width, out);
    }
  }
  if (palette_) {
    switch (bit_depth_) {
      case 1: return ExpandPacked<1, 1, true>(in, width, out);
      case 2: return ExpandPacked<2, 1, true>(in, width, out);
      case 4: return ExpandPacked<4, 1, true>(in, width, out);
      default: return ExpandPacked<8, 1, true>(in, width, out);
    }
  }
  switch (bit_depth_) {
    case 1: return ExpandPacked<1, 1>(in, width, out);
    case 2: return ExpandPacked<2, 1>(in, width, out);
    case 4: return ExpandPacked<4, 1>(in, width, out);
    case 8: return ExpandPacked<8, 1>(in, width, out);
    default: ExpandGrey16(in, width, out); return true;
  }
}

}  // namespace dw
