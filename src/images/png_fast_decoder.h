// The quick decoder for the PNG files a catalog holds: grey of 1, 2, 4, 8 or 16 bits (with or
// without tRNS), palette of 1, 2, 4 or 8 bits (with or without tRNS), and 8-bit grey + alpha, RGB
// and RGBA, without interlacing, their image data one zlib stream with a 32 KiB window. It
// inflates the whole stream in one call, for 8-bit grey and the colour forms straight onto the
// canvas (or the alpha buffer) where the rows are unfiltered in place, for the others into a buffer
// whose rows are unfiltered and expanded through the lookup tables of png_row_expand.h; this takes
// well under half the time of libpng's row-by-row reading.
//
// It takes only files that are plainly well formed and leaves every other file to libpng,
// which stays the reference: for a file it takes, the canvas is the one libpng's path gives.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "images/bitmap.h"

struct libdeflate_decompressor;

namespace dw {

// The memory one decoder reuses from image to image. Not shared between threads.
class PngFastScratch {
 public:
  PngFastScratch();
  ~PngFastScratch();
  PngFastScratch(PngFastScratch&&) noexcept;
  PngFastScratch& operator=(PngFastScratch&&) noexcept;

  libdeflate_decompressor* decompressor();
  std::vector<uint8_t> compressed;  // the IDAT chunks' data, joined
  std::vector<uint8_t> filtered;    // the inflated rows of an expanded image, each behind its filter byte
  std::vector<uint8_t> with_alpha;  // the rows of an image with alpha, inflated and unfiltered in place
  std::vector<uint8_t> zero_row;    // the row above the first
  std::vector<uint8_t> rows;        // two unfiltered rows of a grey or palette image, before expanding

 private:
  struct Free {
    void operator()(libdeflate_decompressor* d) const;
  };
  std::unique_ptr<libdeflate_decompressor, Free> decompressor_;
};

// Decodes the PNG file `bytes` into `out` as the loader's libpng path does: grey as 1-byte
// grey, colour and palette as blue-green-red, alpha and tRNS composited over white. Returns false, with `out`
// unspecified, for any file outside the forms above or with any fault (the signature, a size
// beyond the loader's limits, a CRC, the stream, a filter type, the chunk order); the caller then
// decodes it with libpng, which reports the fault.
bool TryDecodePngFast(std::string_view bytes, Bitmap& out, PngFastScratch& scratch);

}  // namespace dw
