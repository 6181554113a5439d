// The vector overlay blend against the pixel-by-pixel one: every pair of channel values in every
// channel position, white and near-white overlay pixels, dark results, rows cut at any length.
#include "images/overlay_blend.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace dw {
namespace {

void ExpectSameAsPlain(const std::vector<uint8_t>& map, const std::vector<uint8_t>& overlay, int pixels) {
  std::vector<uint8_t> plain = map, fast = map;
  BlendRowPlain(plain.data(), overlay.data(), pixels);
  BlendRow(fast.data(), overlay.data(), pixels);
  for (int x = 0; x < static_cast<int>(map.size() / 3); ++x) {
    ASSERT_TRUE(std::equal(plain.begin() + 3 * x, plain.begin() + 3 * x + 3, fast.begin() + 3 * x))
        << "pixel " << x << " of " << pixels;
  }
}

TEST(OverlayBlend, EveryChannelPairGivesThePlainBytes) {
  // Pixel i pairs map value i / 256 with overlay value i % 256 in one channel; the other two
  // channels take values that sometimes leave the result dark and the overlay white.
  constexpr int kPixels = 65536;
  std::mt19937 rng(3);
  for (int channel = 0; channel < 3; ++channel) {
    std::vector<uint8_t> map(3 * kPixels), overlay(3 * kPixels);
    for (int i = 0; i < kPixels; ++i) {
      for (int c = 0; c < 3; ++c) {
        const bool mine = c == channel;
        map[3 * i + c] = static_cast<uint8_t>(mine ? i / 256 : (rng() % 2 ? rng() % 130 : rng()));
        overlay[3 * i + c] = static_cast<uint8_t>(mine ? i % 256 : (rng() % 2 ? 255 : rng()));
      }
    }
    ExpectSameAsPlain(map, overlay, kPixels);
  }
}

TEST(OverlayBlend, WhiteStretchesAndRowEndsGiveThePlainBytes) {
  std::mt19937 rng(5);
  for (int pixels = 0; pixels <= 70; ++pixels) {
    std::vector<uint8_t> map(3 * 70), overlay(3 * 70, 255);
    for (uint8_t& v : map) v = static_cast<uint8_t>(rng());
    // A coloured pixel here and there among white ones; the pixels past the row's end are
    // coloured too, and must stay as they are.
    for (int x = 0; x < 70; x += 1 + static_cast<int>(rng() % 23)) {
      for (int c = 0; c < 3; ++c) overlay[3 * x + c] = static_cast<uint8_t>(rng());
    }
    ExpectSameAsPlain(map, overlay, pixels);
  }
}

}  // namespace
}  // namespace dw
