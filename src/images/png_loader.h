// PNG decoding onto the image job's canvases: the quick decoder for the usual catalog files,
// libpng for every other file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "images/bitmap.h"
#include "images/png_fast_decoder.h"

namespace dw {

// Larger images are refused before anything is allocated for their pixels: a header may declare
// any size. The side limit also keeps every GDC width and height within 16 bits.
inline constexpr uint32_t kMaxPngSide = 16384;
inline constexpr uint64_t kMaxPngPixels = 32ull * 1024 * 1024;
// Largest ancillary chunk libpng may buffer (image data is streamed and not affected).
inline constexpr size_t kMaxPngChunkBytes = 8u * 1024 * 1024;

// Decodes PNG bytes of any colour type, bit depth and interlacing. Grey images (with or without
// transparency) and palette images whose every entry is grey come out as 1-byte grey canvases,
// all others as blue-green-red canvases; a grey canvas stands for the 24-bit one with every
// channel equal, which the job treats alike.
//   - 16-bit samples are scaled to 8 bits with rounding; palettes are expanded; gamma, colour
//     profiles and the background chunk are ignored.
//   - Transparency (alpha channel or tRNS) is composited over white in the file's sample values:
//     out = (c*a + 255*(255-a) + 127) div 255, so alpha 0 gives white and alpha 255 keeps c.
// Throws dw::Error naming `name` when the bytes are not a PNG libpng can decode or the image is
// larger than the limits above.
Bitmap DecodePng(std::string_view bytes, const std::filesystem::path& name);

// Memory that one decoder reuses from image to image: the file's bytes, the rows of a
// transparent image before compositing, the row table, and the quick decoder's buffers.
struct PngScratch {
  std::string file;
  std::vector<uint8_t> with_alpha;
  std::vector<uint8_t*> rows;
  PngFastScratch fast;
};

// DecodePng into `out`, whose memory is reused when it is large enough (out's old pixels are
// lost, also on failure).
void DecodePngInto(std::string_view bytes, const std::filesystem::path& name, Bitmap& out, PngScratch& scratch);

// The same through libpng alone: the reference that the quick decoder is checked against.
void DecodePngWithLibpngInto(std::string_view bytes, const std::filesystem::path& name, Bitmap& out,
                             PngScratch& scratch);

// Grey + alpha (2 bytes per pixel) or blue-green-red-alpha (4) pixels over white, into grey or
// blue-green-red: out = (c*a + 255*(255-a) + 127) div 255.
void CompositeOverWhite(const uint8_t* in, int in_bytes_per_pixel, size_t pixels, uint8_t* out);

// Reads a PNG file and decodes it as DecodePng does: the image over white, on a canvas of its own
// size. Throws CannotOpen for a file that cannot be read.
Bitmap LoadPngToBitmap(const std::filesystem::path& path);
void LoadPngInto(const std::filesystem::path& path, Bitmap& out, PngScratch& scratch);

}  // namespace dw
