#include "images/gdc_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "common/messages.h"
#include "common/table_builder.h"
#include "support/test_support.h"

namespace dw {
namespace {

using test::Bytes;
using test::Hex;

std::string Encode(uint16_t w, uint16_t h, const std::string& indices) { return EncodeGdc(MakeIndexImage(w, h, indices)); }

// The packets of a GDC file, without the size, width, height and end byte.
std::string Packets(const std::string& gdc) { return gdc.substr(8, gdc.size() - 9); }

// Reads a GDC file back through the data set's reader, which checks its structure.
std::string Decode(const std::string& gdc) {
  IndexImage image;
  const std::optional<LayoutFault> fault = DecodeGdc(gdc, image);
  EXPECT_FALSE(fault) << fault->offset << ": " << fault->what;
  return image.pixels;
}

TEST(GdcWriter, UniformImageIsOneRunPacket) {
  EXPECT_EQ(Hex(Encode(8, 8, std::string(64, '\x01'))), "0B 00 00 00 08 00 08 00 C0 01 00");
}

TEST(GdcWriter, LongRunsSplitGreedilyAt127) {
  EXPECT_EQ(Hex(Packets(Encode(300, 1, std::string(300, '\x05')))), "FF 05 FF 05 AE 05");
  EXPECT_EQ(Hex(Packets(Encode(127, 1, std::string(127, '\x05')))), "FF 05");
  EXPECT_EQ(Hex(Packets(Encode(128, 1, std::string(128, '\x05')))), "FF 05 05");
  EXPECT_EQ(Hex(Packets(Encode(128, 1, std::string(128, '\x90')))), "FF 90 81 90");
  EXPECT_EQ(Hex(Packets(Encode(254, 1, std::string(254, '\x05')))), "FF 05 FF 05");
}

TEST(GdcWriter, LonePixelsAndPairs) {
  EXPECT_EQ(Hex(Packets(Encode(4, 1, Bytes({0x12, 0x85, 0x00, 0x80})))), "12 81 85 81 00 81 80");
  EXPECT_EQ(Hex(Packets(Encode(3, 1, Bytes({0x7F, 0x33, 0x33})))), "7F 82 33");
  EXPECT_EQ(Hex(Packets(Encode(2, 1, Bytes({0x00, 0x00})))), "82 00");
}

TEST(GdcWriter, RunsContinueIntoTheNextRow) {
  EXPECT_EQ(Hex(Packets(Encode(4, 2, Bytes({1, 1, 1, 2, 2, 2, 3, 3})))), "83 01 83 02 82 03");
}

TEST(GdcWriter, ShortIndexImageIsRefused) { EXPECT_THROW(EncodeGdc(MakeIndexImage(4, 4, "abc")), Error); }

TEST(GdcWriter, RandomImagesDecodeBackAndRunFormMatches) {
  std::mt19937 rng(7);
  std::string reused;  // one buffer for every round: a smaller file after a larger one
  for (int round = 0; round < 200; ++round) {
    const uint16_t w = static_cast<uint16_t>(1 + rng() % 40), h = static_cast<uint16_t>(1 + rng() % 40);
    // Few colours and long stretches, so that runs of every length occur.
    SharedPalette palette;
    std::vector<uint16_t> colours(w * h);
    uint16_t c = 0;
    for (auto& v : colours) {
      if (rng() % 4 == 0) c = static_cast<uint16_t>(rng() % (round % 3 ? 6 : 400));
      v = c;
    }
    ColourRuns runs;
    runs.width = w;
    runs.height = h;
    std::string indices;
    for (uint16_t v : colours) {
      indices.push_back(static_cast<char>(palette.IndexOfColour(v)));
      if (!runs.runs.empty() && runs.runs.back().colour == v) {
        ++runs.runs.back().length;
      } else {
        runs.runs.push_back({v, 1});
      }
    }
    const std::string gdc = Encode(w, h, indices);
    ASSERT_EQ(Decode(gdc), indices);
    EXPECT_LE(gdc.size(), 8u + 2u * w * h + 1u);
    // Colours merged into one index (400 colours) join into one run.
    ASSERT_EQ(Hex(EncodeGdc(runs, palette)), Hex(gdc)) << round;
    ASSERT_EQ(Hex(std::string(EncodeGdcInto(runs, palette, reused))), Hex(gdc)) << round;
  }
}

TEST(GdcWriter, WriteGdcFileSavesAndKeepsTheLargestSize) {
  test::TempDir dir;
  GdcStats stats;
  WriteGdcFile(MakeIndexImage(8, 8, std::string(64, '\x01')), 8, 8, dir / "a.gdc", stats);
  EXPECT_EQ(test::Hex(test::ReadFile(dir / "a.gdc")), "0B 00 00 00 08 00 08 00 C0 01 00");
  EXPECT_EQ(stats.largest_file, 11u);
  std::string mixed;
  for (int i = 0; i < 64; ++i) mixed.push_back(static_cast<char>(i % 2 + 1));
  WriteGdcFile(MakeIndexImage(8, 8, mixed), 8, 8, dir / "b.gdc", stats);
  EXPECT_EQ(stats.largest_file, 73u);
  WriteGdcFile(MakeIndexImage(8, 8, std::string(64, '\x02')), 8, 8, dir / "c.gdc", stats);
  EXPECT_EQ(stats.largest_file, 73u);
  EXPECT_THROW(WriteGdcFile(MakeIndexImage(8, 8, mixed), 8, 8, dir / "missing" / "d.gdc", stats), Error);
}

}  // namespace
}  // namespace dw
