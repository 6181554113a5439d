// The PNG loader over arbitrary bytes: every colour type, bit depth and interlacing libpng reads,
// damaged and cut files, and headers that declare huge sizes. A file the quick decoder takes must
// decode through libpng alone to the same canvas.
#include "fuzz_input.h"
#include "images/png_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  fuzz::Guarded([&] {
    const Bitmap image = DecodePng(bytes, "fuzz.png");
    fuzz::Require(image.width > 0 && image.height > 0);
    fuzz::Require(static_cast<uint32_t>(image.width) <= kMaxPngSide &&
                  static_cast<uint32_t>(image.height) <= kMaxPngSide);
    fuzz::Require(image.channels == 1 || image.channels == 3);
    fuzz::Require(image.pixels.size() == image.stride() * static_cast<size_t>(image.height));
    // The job draws every page onto a 24-bit canvas.
    const Bitmap bgr = ToBgr(image);
    fuzz::Require(bgr.channels == 3 && bgr.pixels.size() == bgr.stride() * static_cast<size_t>(bgr.height));
  });
  PngFastScratch fast_scratch;
  Bitmap fast;
  if (TryDecodePngFast(bytes, fast, fast_scratch)) {
    PngScratch scratch;
    Bitmap reference;
    try {
      DecodePngWithLibpngInto(bytes, "fuzz.png", reference, scratch);
    } catch (const Error&) {
      fuzz::Require(false);  // taken by the quick decoder, refused by libpng
    }
    fuzz::Require(fast.width == reference.width && fast.height == reference.height &&
                  fast.channels == reference.channels && fast.pixels == reference.pixels);
  }
  return 0;
}
