#include "images/bitmap.h"

// The reference sums must not depend on the compiler fusing a multiply and an add either.
// The build passes -ffp-contract=off; clang also honours the pragma.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/messages.h"
#include "support/thrown.h"

namespace dw {
namespace {

// The box filter written out plainly, pixel by pixel, on a 24-bit copy of the source.
Bitmap ReferenceResample(const Bitmap& source, int w, int h) {
  const Bitmap src = ToBgr(source);
  const int W = src.width, H = src.height;
  const float A = static_cast<float>(static_cast<double>(W * H) / w / h);
  const double sx = static_cast<double>(W) / w, sy = static_cast<double>(H) / h;
  const double eps = 0.000001;
  auto weight = [](int i, double a0, double a1) {
    if (i > a0 && i + 1 < a1) return 1.0;
    if (i <= a0 && i + 1 < a1) return (i + 1) - a0;
    if (i > a0 && i + 1 >= a1) return a1 - i;
    return a1 - a0;
  };
  Bitmap out(w, h, 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double x0 = x * sx, y0 = y * sy, x1 = (x + 1) * sx - eps, y1 = (y + 1) * sy - eps;
      double r = 0, g = 0, b = 0;
      for (int j = static_cast<int>(std::floor(y0)); j <= static_cast<int>(std::floor(y1)); ++j) {
        for (int i = static_cast<int>(std::floor(x0)); i <= static_cast<int>(std::floor(x1)); ++i) {
          const double wx = weight(i, x0, x1), wy = weight(j, y0, y1);
          const uint8_t* p = src.Row(j) + 3 * i;
          b += (wx * wy) * p[0];
          g += (wx * wy) * p[1];
          r += (wx * wy) * p[2];
        }
      }
      uint8_t* q = out.Row(y) + 3 * x;
      q[0] = static_cast<uint8_t>(std::nearbyint(b / A));
      q[1] = static_cast<uint8_t>(std::nearbyint(g / A));
      q[2] = static_cast<uint8_t>(std::nearbyint(r / A));
    }
  }
  return out;
}

Bitmap Grey(int w, int h, std::initializer_list<int> values) {
  Bitmap b(w, h, 1);
  size_t i = 0;
  for (int v : values) b.pixels[i++] = static_cast<uint8_t>(v);
  return b;
}

TEST(Resample, HalvingWeighsTheSecondColumnAndRowShort) {
  EXPECT_EQ(ResampleBitmap(Bitmap(4, 4, 3, 255), 2, 2).pixels, std::vector<uint8_t>(12, 255));
  EXPECT_EQ(ResampleBitmap(Bitmap(4, 4, 3, 0), 2, 2).pixels, std::vector<uint8_t>(12, 0));
  // (2 + 4 * 0.999999^2) / 4 = 1.499998 rounds to 1; a plain average would give 1.5 -> 2.
  EXPECT_EQ(ResampleBitmap(Grey(2, 2, {2, 0, 0, 4}), 1, 1).pixels[0], 1);
}

TEST(Resample, TiesRoundToEven) {
  // Only the top-left pixel of a 2 x 2 block weighs exactly 1, so v / 4 is exact.
  const std::pair<int, int> cases[] = {{2, 0}, {6, 2}, {250, 62}, {254, 64}, {3, 1}};
  for (auto [v, expected] : cases) {
    EXPECT_EQ(ResampleBitmap(Grey(2, 2, {v, 0, 0, 0}), 1, 1).pixels[0], expected) << v;
  }
}

TEST(Resample, ShrinkByTwentyWeighsTheTwentiethColumnShort) {
  EXPECT_EQ(ResampleBitmap(Bitmap(20, 20, 3, 255), 1, 1).pixels, std::vector<uint8_t>(3, 255));
  Bitmap last_column(20, 20, 1, 0);
  for (int y = 0; y < 20; ++y) last_column.Row(y)[19] = 30;
  // 30 * 19.999999 * 0.999999 / 400 = 1.4999985 -> 1 (a full weight would give 1.5 -> 2).
  EXPECT_EQ(ResampleBitmap(last_column, 1, 1).pixels[0], 1);
  Bitmap first_pixel(20, 20, 1, 0);
  first_pixel.Row(0)[0] = 200;
  EXPECT_EQ(ResampleBitmap(first_pixel, 1, 1).pixels[0], 0);  // exactly 0.5
}

TEST(Resample, OnePixelKeepsItsValue) {
  Bitmap one(1, 1, 3);
  one.pixels = {7, 128, 255};
  EXPECT_EQ(ResampleBitmap(one, 1, 1).pixels, one.pixels);
}

TEST(Resample, EmptySourceOrTargetIsAnAssertionFailure) {
  for (auto [W, H, w, h] : {std::array{0, 4, 1, 1}, {4, 0, 1, 1}, {4, 4, 0, 1}, {4, 4, 1, 0}}) {
    const test::ThrownError e = test::Thrown([&] { ResampleBitmap(Bitmap(W, H, 3), w, h); });
    EXPECT_TRUE(e.Contains("Assertion failure"));
    EXPECT_TRUE(e.Contains("common/BitmapUtils"));
  }
}

TEST(Resample, GreySourceGivesEachChannelOfItsColourForm) {
  std::mt19937 rng(5);
  Bitmap grey(37, 23, 1);
  for (auto& p : grey.pixels) p = static_cast<uint8_t>(rng());
  const Bitmap before = grey;
  const Bitmap g = ResampleBitmap(grey, 11, 9);
  const Bitmap c = ResampleBitmap(ToBgr(grey), 11, 9);
  ASSERT_EQ(g.channels, 1);
  EXPECT_EQ(ToBgr(g).pixels, c.pixels);
  EXPECT_EQ(grey.pixels, before.pixels);
}

// Every pixel loop, on random images of random sizes and scales, against the plain form.
TEST(Resample, EveryLoopMatchesThePlainForm) {
  std::mt19937 rng(20240501);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (ResampleLoops loops : {ResampleLoops::kFastest, ResampleLoops::kSse2, ResampleLoops::kPortable}) {
    SetResampleLoops(loops);
    for (int round = 0; round < 150; ++round) {
      const int channels = round % 2 ? 3 : 1;
      const int W = pick(1, round < 120 ? 70 : 400), H = pick(1, 50);
      int w, h;
      switch (round % 5) {
        case 0:  // exact halving, the page case
        case 1:
          w = std::max(1, W / 2), h = std::max(1, H / 2);
          if (W % 2 == 0 && H % 2 == 0) break;
          [[fallthrough]];
        case 2:  // any shrink
          w = pick(1, W), h = pick(1, H);
          break;
        case 3:  // the mini map scale
          w = std::max(1, W / 20), h = std::max(1, H / 20);
          break;
        default:  // enlarging
          w = pick(1, 3 * W), h = pick(1, 3 * H);
          break;
      }
      Bitmap src(W, H, channels);
      const int style = pick(0, 2);  // noise, few levels, mostly white
      for (auto& p : src.pixels) {
        p = style == 0 ? static_cast<uint8_t>(rng()) : style == 1 ? static_cast<uint8_t>(pick(0, 3) * 85)
                                                                   : (pick(0, 9) ? 255 : 0);
      }
      const Bitmap got = ResampleBitmap(src, w, h);
      ASSERT_EQ(ToBgr(got).pixels, ReferenceResample(src, w, h).pixels)
          << "loops " << static_cast<int>(loops) << ", " << channels << " channels, " << W << "x" << H << " -> "
          << w << "x" << h;
    }
  }
  SetResampleLoops(ResampleLoops::kFastest);
}

TEST(Resample, IntoLeavesTheRestOfTheTarget) {
  Bitmap target(5, 3, 1, 200);
  ResampleInto(Bitmap(4, 4, 1, 0), 2, 2, target);
  EXPECT_EQ(target.pixels, std::vector<uint8_t>({0, 0, 200, 200, 200, 0, 0, 200, 200, 200, 200, 200, 200, 200, 200}));
  Bitmap small(1, 1, 1);
  EXPECT_THROW(ResampleInto(Bitmap(4, 4, 1), 2, 2, small), Error);
}

}  // namespace
}  // namespace dw
