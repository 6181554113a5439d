// The PNG loader over arbitrary bytes: every colour type, bit depth and interlacing libpng reads,
// damaged and cut files, and headers that declare huge sizes.
#include "fuzz_input.h"
#include "images/png_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  fuzz::Guarded([&] {
    const Bitmap image = DecodePng(fuzz::AsBytes(data, size), "fuzz.png");
    fuzz::Require(image.width > 0 && image.height > 0);
    fuzz::Require(static_cast<uint32_t>(image.width) <= kMaxPngSide &&
                  static_cast<uint32_t>(image.height) <= kMaxPngSide);
    fuzz::Require(image.channels == 1 || image.channels == 3);
    fuzz::Require(image.pixels.size() == image.stride() * static_cast<size_t>(image.height));
    // The job draws every page onto a 24-bit canvas.
    const Bitmap bgr = ToBgr(image);
    fuzz::Require(bgr.channels == 3 && bgr.pixels.size() == bgr.stride() * static_cast<size_t>(bgr.height));
  });
  return 0;
}
