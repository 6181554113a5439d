// The vector channel swap against the pixel-by-pixel one: the same bytes for every row length.
// Rows have exactly their pixels' size, so a sanitizer build sees any access past the last one.
#include "images/channel_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace dw {
namespace {

TEST(ChannelOrder, VectorSwapGivesThePlainBytes) {
  for (size_t bpp : {3, 4}) {
    for (size_t pixels = 0; pixels <= 40; ++pixels) {
      std::vector<uint8_t> source(pixels * bpp);
      for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 7 + 1);
      std::vector<uint8_t> plain = source, fast = source;
      SwapRedAndBluePlain(plain.data(), pixels, bpp);
      SwapRedAndBlue(fast.data(), pixels, bpp);
      ASSERT_EQ(fast, plain) << "bpp " << bpp << " pixels " << pixels;
      if (pixels > 0) {
        ASSERT_EQ(plain[0], source[2]);
      }
    }
  }
}

}  // namespace
}  // namespace dw
