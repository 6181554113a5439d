#include "images/hall_maps.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/table_builder.h"
#include "support/image_fixtures.h"

namespace dw {
namespace {

// Blends one pixel given as red, green, blue; returns red, green, blue.
std::array<int, 3> Blend(std::array<int, 3> map_rgb, std::array<int, 3> overlay_rgb) {
  uint8_t a[3] = {static_cast<uint8_t>(map_rgb[2]), static_cast<uint8_t>(map_rgb[1]), static_cast<uint8_t>(map_rgb[0])};
  const uint8_t b[3] = {static_cast<uint8_t>(overlay_rgb[2]), static_cast<uint8_t>(overlay_rgb[1]),
                        static_cast<uint8_t>(overlay_rgb[0])};
  BlendPixel(a, b);
  return {a[2], a[1], a[0]};
}

TEST(HallMaps, BlendExamples) {
  using C = std::array<int, 3>;
  EXPECT_EQ(Blend({0, 0, 0}, {0, 0, 0}), (C{0, 0, 0}));
  EXPECT_EQ(Blend({0, 0, 0}, {255, 0, 0}), (C{0, 0, 0}));  // (127, 0, 0) is too dark
  EXPECT_EQ(Blend({255, 255, 255}, {255, 0, 0}), (C{255, 128, 128}));
  EXPECT_EQ(Blend({128, 128, 128}, {0, 0, 255}), (C{65, 65, 191}));
  EXPECT_EQ(Blend({12, 200, 77}, {255, 255, 255}), (C{12, 200, 77}));
  EXPECT_EQ(Blend({0, 0, 0}, {255, 255, 0}), (C{0, 0, 0}));  // (127, 127, 0): kept black
  EXPECT_EQ(Blend({2, 0, 0}, {255, 255, 0}), (C{128, 127, 0}));
}

TEST(HallMaps, MiniMapOfA1000By700Map) {
  uint16_t ew = 0, eh = 0;
  const Bitmap mini = MiniCanvas(test::Solid(1000, 700, 40, 80, 120), ew, eh);
  EXPECT_EQ(ew, 50);
  EXPECT_EQ(eh, 36);
  ASSERT_EQ(mini.width, 64);
  EXPECT_EQ(mini.Row(0)[0], 40);                                    // the map
  EXPECT_EQ(std::vector<uint8_t>(mini.Row(35), mini.Row(35) + 3), std::vector<uint8_t>({255, 255, 255}));
  EXPECT_EQ(std::vector<uint8_t>(mini.Row(0) + 150, mini.Row(0) + 153), std::vector<uint8_t>({0, 0, 255}));

  MiniMap m = MapMini_Convert(test::Solid(1000, 700, 40, 80, 120));
  SharedPalette palette;
  for (uint16_t c : m.canvas.first_seen) palette.IndexOfColour(c);
  EXPECT_EQ(palette.count(), 2);  // the map colour and white; the red background stays out
  const std::string record = MiniMapRecord(m, palette);
  ASSERT_EQ(record.size(), kMiniMapFileBytes);
  EXPECT_EQ(ReadU16(record, 0), 50u);
  EXPECT_EQ(ReadU16(record, 2), 36u);
  EXPECT_EQ(record[4], 1);            // (0, 0)
  EXPECT_EQ(record[4 + 49], 1);       // last map column
  EXPECT_EQ(record[4 + 50], 0);       // background
  EXPECT_EQ(record[4 + 35 * 64], 2);  // the white row that evens the height
  EXPECT_EQ(record[4 + 36 * 64], 0);
}

TEST(HallMaps, PureRedMapPixelsCountAsBackground) {
  MiniMap m = MapMini_Convert(test::Solid(40, 40, 7, 5, 250));  // red 250, green 5, blue 7
  SharedPalette palette;
  for (uint16_t c : m.canvas.first_seen) palette.IndexOfColour(c);
  EXPECT_EQ(palette.count(), 0);
  const std::string record = MiniMapRecord(m, palette);
  EXPECT_EQ(record.substr(4), std::string(4096, '\0'));
}

TEST(HallMaps, WideMapShowsItsFirst64ColumnsButKeepsItsArea) {
  uint16_t ew = 0, eh = 0;
  Bitmap map = test::Solid(1400, 100, 0, 255, 0);
  for (int y = 0; y < 100; ++y) std::fill_n(map.Row(y) + 3 * 1260, 3 * 140, 0);  // black from x 1260
  const Bitmap mini = MiniCanvas(map, ew, eh);
  EXPECT_EQ(ew, 70);
  EXPECT_EQ(eh, 6);
  EXPECT_EQ(mini.Row(0)[3 * 62 + 1], 255);  // green
  EXPECT_EQ(mini.Row(0)[3 * 63 + 1], 0);    // black: x 1260 .. 1279 of the map
}

TEST(HallMaps, LargeMapOfA1000By700Map) {
  Bitmap canvas;
  ColourRuns large;
  Bitmap map = test::Solid(1000, 700, 9, 9, 9);
  MapLarge_Convert(map, Bitmap(1000, 700, 3), canvas, large);
  EXPECT_EQ(large.width, 1000);
  EXPECT_EQ(large.height, 704);
  EXPECT_EQ(BlankLayerFile(large.width, large.height).size(), 704008u);
  const std::string layer = BlankLayerFile(large.width, large.height);
  EXPECT_EQ(ReadU16(layer, 0), 1000u);
  EXPECT_EQ(ReadU16(layer, 2), 704u);
  EXPECT_EQ(layer.find_first_not_of('\0', 4), std::string::npos);
}

TEST(HallMaps, OddMapLosesItsLastColumnInTheLargeMapOnly) {
  Bitmap map = test::Solid(1001, 41, 0, 0, 0);
  const Bitmap large = LargeMapCanvas(map, Bitmap(1001, 41, 3));
  EXPECT_EQ(large.width, 1000);
  EXPECT_EQ(large.height, 40);
  uint16_t ew = 0, eh = 0;
  MiniCanvas(map, ew, eh);
  EXPECT_EQ(ew, 52);  // 1020 / 20 = 51, evened
  EXPECT_EQ(eh, 4);
}

TEST(HallMaps, OverlaySmallerThanTheMapCountsAsWhite) {
  const Bitmap map = test::Solid(10, 6, 255, 255, 255);
  const Bitmap overlay = test::Solid(4, 3, 0, 0, 255);  // red
  const Bitmap large = LargeMapCanvas(map, overlay);
  ASSERT_EQ(large.width, 16);
  ASSERT_EQ(large.height, 8);
  EXPECT_EQ(std::vector<uint8_t>(large.Row(2) + 9, large.Row(2) + 12), std::vector<uint8_t>({128, 128, 255}));
  EXPECT_EQ(std::vector<uint8_t>(large.Row(2) + 12, large.Row(2) + 15), std::vector<uint8_t>({255, 255, 255}));
  EXPECT_EQ(large.Row(3)[0], 255);
  // A grey map and a larger overlay work too.
  const Bitmap grey_large = LargeMapCanvas(Bitmap(6, 6, 1, 255), test::Solid(30, 30, 255, 0, 0));
  EXPECT_EQ(std::vector<uint8_t>(grey_large.Row(5) + 15, grey_large.Row(5) + 18),
            std::vector<uint8_t>({255, 128, 128}));
}

TEST(HallMaps, TheMapMadeItsOwnCanvasMatchesEveryPixelBlendedOnAWhiteCanvas) {
  // Rows that move down (13 -> 16 wide), up (17 -> 16) and stay; overlay stretches white,
  // coloured, and cut short.
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{13, 7}, {17, 9}, {48, 16}}) {
    Bitmap map(w, h, 3);
    for (size_t i = 0; i < map.pixels.size(); ++i) map.pixels[i] = static_cast<uint8_t>(i * 37 % 251);
    Bitmap overlay(40, h - 2, 3);
    for (size_t i = 0; i < overlay.pixels.size(); i += 57) overlay.pixels[i] = static_cast<uint8_t>(i % 200);
    const int ew = w / 2 * 2, eh = h / 2 * 2;
    Bitmap want(RoundUpTo(ew, 8), RoundUpTo(eh, 8), 3);
    for (int y = 0; y < eh; ++y) {
      for (int x = 0; x < ew; ++x) {
        std::copy_n(map.Row(y) + 3 * x, 3, want.Row(y) + 3 * x);
        if (x < overlay.width && y < overlay.height) BlendPixel(want.Row(y) + 3 * x, overlay.Row(y) + 3 * x);
      }
    }
    EXPECT_EQ(LargeMapCanvas(map, overlay).pixels, want.pixels) << w;
    LargeMapCanvasInPlace(map, overlay);
    EXPECT_EQ(map.width, want.width);
    EXPECT_EQ(map.height, want.height);
    EXPECT_EQ(map.pixels, want.pixels) << w;
  }
}

}  // namespace
}  // namespace dw
