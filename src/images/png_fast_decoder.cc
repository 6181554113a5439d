#include "images/png_fast_decoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "images/png_loader.h"

namespace dw {
namespace {

constexpr size_t kSignatureBytes = 8;
constexpr size_t kChunkOverhead = 12;  // length, type, CRC
constexpr uint32_t kLargestChunkLength = 0x7FFFFFFF;
constexpr uint32_t kIhdrLength = 13;
// CMF byte of a zlib stream: deflate (8) with a 32 KiB window (7). A smaller declared window
// makes zlib refuse distances beyond it, which a whole-stream inflater would not check.
constexpr uint8_t kZlibDeflate32K = 0x78;

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kGreyAlpha = 4, kRgba = 6 };

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsCritical(const uint8_t* type) { return (type[0] & 0x20) == 0; }
bool TypeIs(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

bool CrcMatches(const uint8_t* type, uint32_t length) {
  return libdeflate_crc32(0, type, size_t{length} + 4) == BigEndian32(type + 4 + length);
}

int SamplesOf(uint8_t colour_type) {
  switch (colour_type) {
    case kGrey: return 1;
    case kGreyAlpha: return 2;
    case kRgb: return 3;
    case kRgba: return 4;
    default: return 0;
  }
}

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  int samples = 0;  // bytes per pixel
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
  const uint8_t bit_depth = f[8], colour_type = f[9], compression = f[10], filter = f[11], interlace = f[12];
  h.samples = SamplesOf(colour_type);
  return h.width > 0 && h.height > 0 && h.width <= kMaxPngSide && h.height <= kMaxPngSide &&
         uint64_t{h.width} * h.height <= kMaxPngPixels && bit_depth == 8 && h.samples > 0 && compression == 0 &&
         filter == 0 && interlace == 0;
}

// Joins the data of the IDAT chunks after the header. Takes only a chunk sequence that libpng
// reads without complaint: letter-only types, no critical chunk other than the image data, no
// palette or tRNS, one run of IDAT chunks with good CRCs, none longer than libpng allows (the
// image data with the largest deflate overhead). What follows the run is not read, as libpng's
// row reading does not read it either.
bool JoinImageData(const uint8_t* data, size_t size, size_t row_bytes, uint32_t height, std::vector<uint8_t>& joined) {
  const size_t raw_size = (row_bytes + 1) * height;
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
    } else if (IsCritical(type) || TypeIs(type, "tRNS") || length > kMaxPngChunkBytes) {
      return false;  // IEND before the data, PLTE, a second IHDR, an unknown critical chunk
    }
    at += kChunkOverhead + length;
  }
  return in_run;
}

// The predictor nearest to a + b - c; ties go to a, then b.
inline int Paeth(int a, int b, int c) {
  const int p = b - c, q = a - c;
  int pa = std::abs(p);
  const int pb = std::abs(q), pc = std::abs(p + q);
  if (pb < pa) {
    pa = pb;
    a = b;
  }
  return pc < pa ? c : a;
}

// Undoes the filter of one row of `n` bytes with kBpp bytes per pixel; `prior` is the previous
// unfiltered row (all zero for the first). The three rows never overlap. The left neighbours are
// carried in registers: the filters that use them run along the row one pixel at a time.
template <size_t kBpp>
bool Unfilter(uint8_t filter, const uint8_t* __restrict in, const uint8_t* __restrict prior, uint8_t* __restrict row,
              size_t n) {
  uint8_t a[kBpp], c[kBpp];  // left neighbours in this row and in the prior one
  switch (filter) {
    case 0:
      std::memcpy(row, in, n);
      return true;
    case 1:
      for (size_t k = 0; k < kBpp; ++k) a[k] = row[k] = in[k];
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + a[k]);
      }
      return true;
    case 2:
      for (size_t x = 0; x < n; ++x) row[x] = static_cast<uint8_t>(in[x] + prior[x]);
      return true;
    case 3:
      for (size_t k = 0; k < kBpp; ++k) a[k] = row[k] = static_cast<uint8_t>(in[k] + (prior[k] >> 1));
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) {
          a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + ((a[k] + prior[x + k]) >> 1));
        }
      }
      return true;
    case 4:
      for (size_t k = 0; k < kBpp; ++k) {
        a[k] = row[k] = static_cast<uint8_t>(in[k] + prior[k]);
        c[k] = prior[k];
      }
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) {
          const uint8_t b = prior[x + k];
          a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + Paeth(a[k], b, c[k]));
          c[k] = b;
        }
      }
      return true;
    default:
      return false;
  }
}

bool UnfilterRow(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n, size_t bpp) {
  switch (bpp) {
    case 1: return Unfilter<1>(filter, in, prior, row, n);
    case 2: return Unfilter<2>(filter, in, prior, row, n);
    case 3: return Unfilter<3>(filter, in, prior, row, n);
    default: return Unfilter<4>(filter, in, prior, row, n);
  }
}

// RGB(A) to BGR(A) in place, `bpp` bytes per pixel.
void SwapRedAndBlue(uint8_t* p, size_t pixels, size_t bpp) {
  for (size_t i = 0; i < pixels; ++i, p += bpp) std::swap(p[0], p[2]);
}

// Unfilters every row into `pixels` (packed rows of `row_bytes`); colour rows are turned into
// blue-green-red one row behind, once the next row no longer needs them, while still in cache.
bool UnfilterImage(const uint8_t* filtered, size_t row_bytes, uint32_t height, size_t bpp, uint8_t* pixels,
                   std::vector<uint8_t>& zero_row) {
  zero_row.assign(row_bytes, 0);
  const bool colour = bpp >= 3;
  const uint8_t* prior = zero_row.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = filtered + y * (row_bytes + 1);
    uint8_t* row = pixels + y * row_bytes;
    if (!UnfilterRow(in[0], in + 1, prior, row, row_bytes, bpp)) return false;
    if (colour && y > 0) SwapRedAndBlue(row - row_bytes, row_bytes / bpp, bpp);
    prior = row;
  }
  if (colour) SwapRedAndBlue(pixels + (height - 1) * row_bytes, row_bytes / bpp, bpp);
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
  const size_t bpp = static_cast<size_t>(h.samples);
  const size_t row_bytes = h.width * bpp;
  const size_t raw_size = (row_bytes + 1) * h.height;
  if (!JoinImageData(data, bytes.size(), row_bytes, h.height, scratch.compressed)) return false;
  if (scratch.compressed.empty() || scratch.compressed[0] != kZlibDeflate32K) return false;

  // The stream must fill the rows exactly and end where the image data ends.
  scratch.filtered.resize(raw_size);
  size_t used = 0, produced = 0;
  if (libdeflate_zlib_decompress_ex(scratch.decompressor(), scratch.compressed.data(), scratch.compressed.size(),
                                    scratch.filtered.data(), raw_size, &used, &produced) != LIBDEFLATE_SUCCESS ||
      used != scratch.compressed.size() || produced != raw_size) {
    return false;
  }

  const bool alpha = h.samples == 2 || h.samples == 4;
  out.width = static_cast<int>(h.width);
  out.height = static_cast<int>(h.height);
  out.channels = h.samples <= 2 ? 1 : 3;
  const size_t pixel_count = size_t{h.width} * h.height;
  out.pixels.resize(pixel_count * static_cast<size_t>(out.channels));
  uint8_t* unfiltered = out.pixels.data();
  if (alpha) {
    scratch.with_alpha.resize(row_bytes * h.height);
    unfiltered = scratch.with_alpha.data();
  }
  if (!UnfilterImage(scratch.filtered.data(), row_bytes, h.height, bpp, unfiltered, scratch.zero_row)) return false;
  if (alpha) CompositeOverWhite(unfiltered, h.samples, pixel_count, out.pixels.data());
  return true;
}

}  // namespace dw
