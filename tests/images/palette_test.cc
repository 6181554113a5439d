#include "images/palette.h"

#include <gtest/gtest.h>

#include "common/table_builder.h"
#include "dataset/image_files.h"

namespace dw {
namespace {

TEST(Palette, FifteenBitColourDropsTheLowBits) {
  EXPECT_EQ(Colour15(255, 255, 255), 0x7FFF);
  EXPECT_EQ(Colour15(0, 0, 255), 0x001F);  // pure red (blue, green, red order)
  EXPECT_EQ(Colour15(255, 0, 0), 0x7C00);  // pure blue
  EXPECT_EQ(Colour15(0x0F, 0x17, 0x1F), Colour15(0x08, 0x10, 0x18));
}

TEST(Palette, IndicesInOrderOfFirstAppearanceFromOne) {
  SharedPalette p;
  const uint8_t row[] = {255, 255, 255, 0, 0, 255, 7, 7, 7, 250, 252, 249, 0, 0, 0};
  EXPECT_EQ(p.PaletteIndexOf(row, 0), 1);  // white
  EXPECT_EQ(p.PaletteIndexOf(row, 1), 2);  // red
  EXPECT_EQ(p.PaletteIndexOf(row, 2), 3);  // black
  EXPECT_EQ(p.PaletteIndexOf(row, 3), 1);  // white again after reduction
  EXPECT_EQ(p.PaletteIndexOf(row, 4), 3);
  EXPECT_EQ(p.count(), 3);
  const std::string file = p.FileBytes();
  ASSERT_EQ(file.size(), 512u);
  EXPECT_EQ(ReadU16(file, 0), 0u);
  EXPECT_EQ(ReadU16(file, 2), 0x7FFFu);
  EXPECT_EQ(ReadU16(file, 4), 0x001Fu);
  EXPECT_EQ(ReadU16(file, 6), 0u);  // black is colour 0, stored in entry 3
  EXPECT_EQ(ReadU16(file, 8), 0u);
  p.Reset();
  EXPECT_EQ(p.count(), 0);
  EXPECT_EQ(p.PaletteIndexOf(row, 2), 1);
}

TEST(Palette, ColoursBeyond255MergeIntoTheNearestEntry) {
  SharedPalette p;
  // 255 greys-and-reds: colour k has red = k % 32 and green = k / 32.
  for (int k = 0; k < 255; ++k) ASSERT_EQ(p.IndexOfColour(static_cast<uint16_t>(k)), k + 1);
  // 0x7FFF (white) is nearest to colour 254 (red 30, green 7): distance 1 + 576 + 961.
  EXPECT_EQ(p.IndexOfColour(0x7FFF), 255);
  // Colour 255 (red 31, green 7) ties between 254 (red 30, green 7) and 223 (red 31, green 6):
  // both at distance 1; the lower index wins.
  EXPECT_EQ(p.IndexOfColour(255), 224);
  EXPECT_EQ(p.IndexOfColour(255), 224);  // counted once
  EXPECT_EQ(p.count(), 255);
  EXPECT_EQ(p.merged(), 2);
  EXPECT_EQ(p.Lookup(0x7FFF), 255);
  EXPECT_EQ(ReadU16(p.FileBytes(), 2 * 255), 254u);
}

TEST(Palette, FileReadsBackWithTheHighestIndexInUse) {
  // Black is stored as 0: the last colour given may be black unless black came earlier.
  SharedPalette p;
  p.IndexOfColour(0x7FFF);
  p.IndexOfColour(0x001F);
  PaletteFile file;
  ASSERT_FALSE(DecodePalette(p.FileBytes(), file));
  EXPECT_EQ(file.colours[2], 0x001F);
  EXPECT_EQ(file.usable, 3);
  p.Reset();
  p.IndexOfColour(0x0000);
  p.IndexOfColour(0x7FFF);
  ASSERT_FALSE(DecodePalette(p.FileBytes(), file));
  EXPECT_EQ(file.usable, 2);
}

}  // namespace
}  // namespace dw
