#include "images/png_fast_decoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "images/channel_order.h"
#include "images/png_loader.h"
#include "images/png_row_expand.h"
#include "images/png_unfilter.h"

namespace dw {
namespace {

constexpr size_t kSignatureBytes = 8;
constexpr size_t kChunkOverhead = 12;  // length, type, CRC
constexpr uint32_t kLargestChunkLength = 0x7FFFFFFF;
constexpr uint32_t kIhdrLength = 13;
// The CMF byte of a zlib stream: the method (deflate, 8) in the low bits, the window's size as
// log2 - 8 in the high bits.
constexpr uint8_t kZlibDeflate = 8;
constexpr int kZlibLargestWindowLog = 15;

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsCritical(const uint8_t* type) { return (type[0] & 0x20) == 0; }
bool TypeIs(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

bool CrcMatches(const uint8_t* type, uint32_t length) {
  return libdeflate_crc32(0, type, size_t{length} + 4) == BigEndian32(type + 4 + length);
}

// Samples per pixel of the colour types and bit depths taken: grey and palette of every bit
// depth but 16-bit palette, the others of 8 bits. 0 for any other.
int SamplesOf(uint8_t colour_type, uint8_t bit_depth) {
  const bool low = bit_depth == 1 || bit_depth == 2 || bit_depth == 4;
  switch (colour_type) {
    case kGrey: return low || bit_depth == 8 || bit_depth == 16 ? 1 : 0;
    case kPalette: return low || bit_depth == 8 ? 1 : 0;
    case kGreyAlpha: return bit_depth == 8 ? 2 : 0;
    case kRgb: return bit_depth == 8 ? 3 : 0;
    case kRgba: return bit_depth == 8 ? 4 : 0;
    default: return 0;
  }
}

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bit_depth = 0;
  uint8_t colour_type = 0;
  int samples = 0;

  // Bytes of a packed row, and the filters' distance to the left neighbour (at least 1).
  size_t RowBytes() const { return (size_t{width} * static_cast<size_t>(samples) * bit_depth + 7) / 8; }
  size_t FilterBpp() const { return std::max<size_t>(1, static_cast<size_t>(samples) * bit_depth / 8); }
  // Rows go through the lookup tables unless they are 8-bit grey, grey + alpha or colour.
  bool Expanded(bool has_trns) const {
    return colour_type == kPalette || (colour_type == kGrey && (bit_depth != 8 || has_trns));
  }
};

// The chunks before the image data that the lookup tables are built from (length 0: absent).
struct Extras {
  const uint8_t* plte = nullptr;
  uint32_t plte_length = 0;
  const uint8_t* trns = nullptr;
  uint32_t trns_length = 0;
};

// The signature and the IHDR chunk after it, if it is one this decoder takes.
bool ReadHeader(const uint8_t* data, size_t size, Header& h) {
  if (size < kSignatureBytes + kChunkOverhead + kIhdrLength) return false;
  if (std::memcmp(data, "\x89PNG\r\n\x1a\n", kSignatureBytes) != 0) return false;
  const uint8_t* chunk = data + kSignatureBytes;
  const uint8_t* type = chunk + 4;
  if (BigEndian32(chunk) != kIhdrLength || !TypeIs(type, "IHDR") || !CrcMatches(type, kIhdrLength)) return false;
  const uint8_t* f = type + 4;
  h.width = BigEndian32(f);
  h.height = BigEndian32(f + 4);
  h.bit_depth = f[8];
  h.colour_type = f[9];
  const uint8_t compression = f[10], filter = f[11], interlace = f[12];
  h.samples = SamplesOf(h.colour_type, h.bit_depth);
  return h.width > 0 && h.height > 0 && h.width <= kMaxPngSide && h.height <= kMaxPngSide &&
         uint64_t{h.width} * h.height <= kMaxPngPixels && h.samples > 0 && compression == 0 && filter == 0 &&
         interlace == 0;
}

// A PLTE or tRNS chunk that libpng takes without complaint, in its place: PLTE once, in a palette
// image only, with 1 to 2^depth entries; tRNS once, after the PLTE of a palette image with no
// more entries than it, or in a grey image as 2 bytes holding a sample that fits the bit depth.
bool TakeExtra(const Header& h, const uint8_t* type, uint32_t length, Extras& x) {
  if (!CrcMatches(type, length)) return false;
  if (TypeIs(type, "PLTE")) {
    if (h.colour_type != kPalette || x.plte != nullptr || length == 0 || length % 3 != 0 ||
        length / 3 > (1u << h.bit_depth)) {
      return false;
    }
    x.plte = type + 4;
    x.plte_length = length;
    return true;
  }
  if (x.trns != nullptr) return false;
  x.trns = type + 4;
  x.trns_length = length;
  if (h.colour_type == kPalette) return x.plte != nullptr && length > 0 && length <= x.plte_length / 3;
  return h.colour_type == kGrey && length == 2 && ((type[4] << 8) | type[5]) < (1 << h.bit_depth);
}

// Joins the data of the IDAT chunks after the header. Takes only a chunk sequence that libpng
// reads without complaint: letter-only types, no critical chunk other than the image data and a
// palette image's PLTE, a tRNS only as TakeExtra allows, one run of IDAT chunks with good CRCs,
// none longer than libpng allows (the image data with the largest deflate overhead). What follows
// the run is not read, as libpng's row reading does not read it either.
bool JoinImageData(const uint8_t* data, size_t size, const Header& h, Extras& extras, std::vector<uint8_t>& joined) {
  const size_t row_bytes = h.RowBytes();
  const size_t raw_size = (row_bytes + 1) * h.height;
  const size_t idat_limit = raw_size + 6 + 5 * (raw_size / std::min<size_t>(row_bytes + 1, 32566) + 1);
  joined.clear();
  size_t at = kSignatureBytes + kChunkOverhead + kIhdrLength;
  bool in_run = false;
  while (size - at >= kChunkOverhead) {
    const uint32_t length = BigEndian32(data + at);
    const uint8_t* type = data + at + 4;
    if (length > kLargestChunkLength || length > size - at - kChunkOverhead) return false;
    if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3])) return false;
    if (TypeIs(type, "IDAT")) {
      if (length > idat_limit || !CrcMatches(type, length)) return false;
      joined.insert(joined.end(), type + 4, type + 4 + length);
      in_run = true;
    } else if (in_run) {
      break;
    } else if (TypeIs(type, "PLTE") || TypeIs(type, "tRNS")) {
      if (!TakeExtra(h, type, length, extras)) return false;
    } else if (IsCritical(type) || length > kMaxPngChunkBytes) {
      return false;  // IEND before the data, a second IHDR, an unknown critical chunk
    }
    at += kChunkOverhead + length;
  }
  return in_run && (h.colour_type != kPalette || extras.plte != nullptr);
}

// Whether the stream is deflate with a window holding all `raw_size` bytes, or the largest window.
// zlib refuses a distance beyond a smaller declared window, which a whole-stream inflater would
// not check; within the data inflated so far, both check every distance.
bool WindowCoversDistances(const std::vector<uint8_t>& stream, size_t raw_size) {
  if (stream.empty() || (stream[0] & 0x0F) != kZlibDeflate) return false;
  const int window_log = (stream[0] >> 4) + 8;
  return window_log == kZlibLargestWindowLog ||
         (window_log < kZlibLargestWindowLog && raw_size <= (size_t{1} << window_log));
}

// Unfilters the rows in `data` (each behind its filter byte) in place into packed rows of
// `row_bytes` from the start of `data`; colour rows are turned into blue-green-red one row behind,
// once the next row no longer needs them, while still in cache.
bool UnfilterImageInPlace(uint8_t* data, size_t row_bytes, uint32_t height, size_t bpp,
                          std::vector<uint8_t>& zero_row) {
  zero_row.assign(row_bytes, 0);
  const bool colour = bpp >= 3;
  const uint8_t* prior = zero_row.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = data + y * (row_bytes + 1);
    uint8_t* row = data + y * row_bytes;
    if (!UnfilterRow(in[0], in + 1, prior, row, row_bytes, bpp)) return false;
    if (colour && y > 0) SwapRedAndBlue(row - row_bytes, row_bytes / bpp, bpp);
    prior = row;
  }
  if (colour) SwapRedAndBlue(data + (height - 1) * row_bytes, row_bytes / bpp, bpp);
  return true;
}

// Unfilters each row into one of two alternating rows and expands it onto the canvas, still in
// cache. Returns false for a bad filter type or a palette index beyond the palette.
bool UnfilterAndExpand(const uint8_t* filtered, const Header& h, const PngRowExpander& expander, uint8_t* canvas,
                       std::vector<uint8_t>& rows) {
  const size_t row_bytes = h.RowBytes(), bpp = h.FilterBpp();
  const size_t canvas_stride = size_t{h.width} * static_cast<size_t>(expander.channels());
  rows.assign(2 * row_bytes, 0);
  uint8_t* prior = rows.data();  // all zero for the first row
  uint8_t* row = prior + row_bytes;
  for (uint32_t y = 0; y < h.height; ++y) {
    const uint8_t* in = filtered + y * (row_bytes + 1);
    if (!UnfilterRow(in[0], in + 1, prior, row, row_bytes, bpp)) return false;
    if (!expander.Expand(row, h.width, canvas + y * canvas_stride)) return false;
    std::swap(prior, row);
  }
  return true;
}

}  // namespace

PngFastScratch::PngFastScratch() = default;
PngFastScratch::~PngFastScratch() = default;
PngFastScratch::PngFastScratch(PngFastScratch&&) noexcept = default;
PngFastScratch& PngFastScratch::operator=(PngFastScratch&&) noexcept = default;

void PngFastScratch::Free::operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }

libdeflate_decompressor* PngFastScratch::decompressor() {
  if (!decompressor_) {
    decompressor_.reset(libdeflate_alloc_decompressor());
    if (!decompressor_) throw std::bad_alloc();
  }
  return decompressor_.get();
}

bool TryDecodePngFast(std::string_view bytes, Bitmap& out, PngFastScratch& scratch) {
  const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
  Header h;
  if (!ReadHeader(data, bytes.size(), h)) return false;
  const size_t row_bytes = h.RowBytes();
  const size_t raw_size = (row_bytes + 1) * h.height;
  Extras extras;
  if (!JoinImageData(data, bytes.size(), h, extras, scratch.compressed)) return false;
  if (!WindowCoversDistances(scratch.compressed, raw_size)) return false;

  // Forms without lookup tables are inflated where their rows end up (the canvas, or the buffer
  // of an image with alpha) and unfiltered there in place, so that no second image-sized buffer
  // is touched.
  const bool expanded = h.Expanded(extras.trns != nullptr);
  const bool alpha = h.samples == 2 || h.samples == 4;
  std::vector<uint8_t>& inflated = expanded ? scratch.filtered : alpha ? scratch.with_alpha : out.pixels;
  inflated.resize(raw_size);
  // The stream must fill the rows exactly and end where the image data ends.
  size_t used = 0, produced = 0;
  if (libdeflate_zlib_decompress_ex(scratch.decompressor(), scratch.compressed.data(), scratch.compressed.size(),
                                    inflated.data(), raw_size, &used, &produced) != LIBDEFLATE_SUCCESS ||
      used != scratch.compressed.size() || produced != raw_size) {
    return false;
  }

  out.width = static_cast<int>(h.width);
  out.height = static_cast<int>(h.height);
  const size_t pixel_count = size_t{h.width} * h.height;
  if (expanded) {
    const PngRowExpander expander({h.bit_depth, h.colour_type == kPalette, extras.plte, extras.plte_length, extras.trns,
                                   extras.trns_length});
    out.channels = expander.channels();
    out.pixels.resize(pixel_count * static_cast<size_t>(out.channels));
    return UnfilterAndExpand(scratch.filtered.data(), h, expander, out.pixels.data(), scratch.rows);
  }

  const size_t bpp = static_cast<size_t>(h.samples);
  out.channels = h.samples <= 2 ? 1 : 3;
  if (!UnfilterImageInPlace(inflated.data(), row_bytes, h.height, bpp, scratch.zero_row)) return false;
  out.pixels.resize(pixel_count * static_cast<size_t>(out.channels));
  if (alpha) CompositeOverWhite(scratch.with_alpha.data(), h.samples, pixel_count, out.pixels.data());
  return true;
}

}  // namespace dw
