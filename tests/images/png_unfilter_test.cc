// The vector filter loops against the plain ones: the same bytes for every filter, pixel size and
// row length, with rows apart and with rows packed over their input as the decoder lays them.
#include "images/png_unfilter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace dw {
namespace {

std::vector<uint8_t> RandomBytes(std::mt19937& rng, size_t n) {
  std::vector<uint8_t> bytes(n);
  // Mostly small values, so that the Paeth distances often tie; some of any value.
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng() % 4 == 0 ? rng() : rng() % 3);
  return bytes;
}

TEST(PngUnfilter, VectorLoopsGiveThePlainBytes) {
  std::mt19937 rng(7);
  for (size_t bpp = 1; bpp <= 4; ++bpp) {
    for (size_t pixels : {1, 2, 3, 5, 16, 17, 333}) {
      const size_t n = pixels * bpp;
      for (uint8_t filter = 0; filter <= 4; ++filter) {
        for (int round = 0; round < 20; ++round) {
          const std::vector<uint8_t> in = RandomBytes(rng, n), prior = RandomBytes(rng, n);
          std::vector<uint8_t> plain(n), fast(n);
          ASSERT_TRUE(UnfilterRowPlain(filter, in.data(), prior.data(), plain.data(), n, bpp));
          ASSERT_TRUE(UnfilterRow(filter, in.data(), prior.data(), fast.data(), n, bpp));
          ASSERT_EQ(fast, plain) << "bpp " << bpp << " pixels " << pixels << " filter " << int{filter};

          // Packed in place: the row starts `gap` bytes below its input, as row y lies y + 1 bytes
          // below it when the filter bytes are dropped.
          for (size_t gap : {size_t{1}, size_t{2}, size_t{5}}) {
            std::vector<uint8_t> packed(gap + n);
            std::copy(in.begin(), in.end(), packed.begin() + static_cast<long>(gap));
            ASSERT_TRUE(UnfilterRow(filter, packed.data() + gap, prior.data(), packed.data(), n, bpp));
            ASSERT_TRUE(std::equal(plain.begin(), plain.end(), packed.begin()))
                << "in place, gap " << gap << " bpp " << bpp << " filter " << int{filter};
          }
        }
      }
    }
  }
}

TEST(PngUnfilter, UnknownFilterTypeIsRefused) {
  const uint8_t in[4] = {}, prior[4] = {};
  uint8_t row[4];
  for (size_t bpp : {1, 3, 4}) {
    EXPECT_FALSE(UnfilterRow(5, in, prior, row, 4 / bpp * bpp, bpp));
    EXPECT_FALSE(UnfilterRow(255, in, prior, row, 4 / bpp * bpp, bpp));
  }
}

}  // namespace
}  // namespace dw
