#include "images/png_loader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "common/messages.h"
#include "support/image_fixtures.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

std::vector<fs::path> PngsIn(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file() && e.path().extension() == ".png") out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool Malformed(const fs::path& p) {
  const std::string s = p.generic_string();
  return s.find("/crashers/") != std::string::npos || s.find("/badpal/") != std::string::npos;
}

TEST(PngLoader, ConformanceImagesLoadAndMalformedOnesFailCleanly) {
  const fs::path suite = test::PngSuiteDir();
  if (suite.empty()) GTEST_SKIP() << "no PNG conformance images";
  int loaded = 0;
  for (const fs::path& p : PngsIn(suite)) {
    if (Malformed(p)) {
      // libpng reads some of them; the others must fail with a message naming the file.
      const test::ThrownError e = test::Thrown([&] { LoadPngToBitmap(p); });
      if (e.thrown) {
        EXPECT_TRUE(e.Contains(p.filename().string())) << e.what();
      }
      continue;
    }
    SCOPED_TRACE(p.string());
    const Bitmap b = LoadPngToBitmap(p);
    EXPECT_GT(b.width, 0);
    EXPECT_EQ(b.pixels.size(), static_cast<size_t>(b.width) * b.height * b.channels);
    ++loaded;
  }
  EXPECT_GT(loaded, 100);
}

TEST(PngLoader, InterlacedImagesDecodeLikeTheirPlainTwins) {
  const fs::path suite = test::PngSuiteDir();
  if (suite.empty()) GTEST_SKIP() << "no PNG conformance images";
  int pairs = 0;
  for (const fs::path& p : PngsIn(suite / "basic")) {
    const std::string name = p.filename().string();
    if (name[0] != 'i' || !fs::exists(p.parent_path() / name.substr(1))) continue;
    SCOPED_TRACE(name);
    const Bitmap a = LoadPngToBitmap(p), b = LoadPngToBitmap(p.parent_path() / name.substr(1));
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.channels, b.channels);
    EXPECT_EQ(a.pixels, b.pixels);
    ++pairs;
  }
  EXPECT_GT(pairs, 10);
}

TEST(PngLoader, ColourTypesAndBitDepthsOfTheSuite) {
  const fs::path suite = test::PngSuiteDir();
  if (suite.empty()) GTEST_SKIP() << "no PNG conformance images";
  const fs::path basic = suite / "basic";
  EXPECT_EQ(LoadPngToBitmap(basic / "basn0g01.png").channels, 1);
  EXPECT_EQ(LoadPngToBitmap(basic / "basn0g16.png").channels, 1);
  EXPECT_EQ(LoadPngToBitmap(basic / "basn3p08.png").channels, 3);
  EXPECT_EQ(LoadPngToBitmap(basic / "basn6a16.png").channels, 3);
  // A 1-bit grey image holds only black and white.
  for (uint8_t v : LoadPngToBitmap(basic / "basn0g01.png").pixels) EXPECT_TRUE(v == 0 || v == 255);
  // Grey with alpha becomes grey over white.
  EXPECT_EQ(LoadPngToBitmap(basic / "basn4a08.png").channels, 1);
}

TEST(PngLoader, TransparencyIsCompositedOverWhite) {
  // Grey + alpha pixels: (value, alpha).
  const std::vector<uint8_t> ga = {0, 0, 0, 255, 0, 128, 200, 128, 10, 1};
  const Bitmap g = DecodePng(test::EncodePng(5, 1, PNG_FORMAT_GA, ga), "ga.png");
  ASSERT_EQ(g.channels, 1);
  EXPECT_EQ(g.pixels, std::vector<uint8_t>({255, 0, 127, 227, 254}));
  // RGBA: half-transparent red, opaque blue, fully transparent black.
  const std::vector<uint8_t> rgba = {255, 0, 0, 128, 0, 0, 255, 255, 0, 0, 0, 0};
  const Bitmap c = DecodePng(test::EncodePng(3, 1, PNG_FORMAT_RGBA, rgba), "rgba.png");
  ASSERT_EQ(c.channels, 3);
  EXPECT_EQ(c.pixels, std::vector<uint8_t>({127, 127, 255, 255, 0, 0, 255, 255, 255}));  // blue, green, red
}

TEST(PngLoader, OpaqueImagesKeepTheirSamples) {
  const std::vector<uint8_t> rgb = {1, 2, 3, 250, 251, 252};
  EXPECT_EQ(DecodePng(test::EncodePng(2, 1, PNG_FORMAT_RGB, rgb), "rgb.png").pixels,
            std::vector<uint8_t>({3, 2, 1, 252, 251, 250}));
}

TEST(PngLoader, NotAPngNamesTheFile) {
  const test::ThrownError e = test::Thrown([&] { DecodePng("hello, world", "/cat/PDATA/0002.png"); });
  EXPECT_TRUE(e.Contains("0002.png")) << e.what();
  test::TempDir dir;
  EXPECT_THROW(LoadPngToBitmap(dir / "missing.png"), Error);
}

// A PNG cut at any length either decodes or fails with an error; it never crashes.
TEST(PngLoader, TruncatedFilesFailCleanly) {
  Bitmap page = test::PatternPage(23, 17, 3);
  const std::string full = test::EncodePng(page);
  int failures = 0;
  for (size_t n = 0; n < full.size(); ++n) {
    const test::ThrownError e = test::Thrown([&] {
      const Bitmap b = DecodePng(std::string_view(full).substr(0, n), "cut.png");
      EXPECT_EQ(b.pixels, page.pixels) << n;  // only a file missing its last chunk may still load
    });
    if (!e.thrown) continue;
    EXPECT_TRUE(e.Contains("cut.png")) << e.what();
    ++failures;
  }
  EXPECT_GT(failures, static_cast<int>(full.size()) - 20);
  EXPECT_EQ(DecodePng(full, "whole.png").pixels, page.pixels);
}

// A header that declares a huge image is refused before any pixel memory is taken.
TEST(PngLoader, HugeDeclaredSizeIsRefused) {
  auto header = [](uint32_t w, uint32_t h) {
    std::string ihdr = "IHDR";
    for (uint32_t v : {w, h}) {
      for (int s = 24; s >= 0; s -= 8) ihdr.push_back(static_cast<char>((v >> s) & 0xFF));
    }
    ihdr += test::Bytes({8, 0, 0, 0, 0});  // 8-bit grey
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(ihdr.data()), static_cast<uInt>(ihdr.size()));
    std::string png = "\x89PNG\r\n\x1a\n" + test::Bytes({0, 0, 0, 13}) + ihdr;
    for (int s = 24; s >= 0; s -= 8) png.push_back(static_cast<char>((crc >> s) & 0xFF));
    return png;
  };
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{100000, 100000}, {16385, 1}, {1, 16385}, {8000, 8000}}) {
    const test::ThrownError e = test::Thrown([&] { DecodePng(header(w, h), "huge.png"); });
    EXPECT_TRUE(e.Contains("大きすぎます")) << e.what();
  }
  // Within the limits the header passes; the missing image data fails instead.
  const test::ThrownError e = test::Thrown([&] { DecodePng(header(16384, 16), "edge.png"); });
  EXPECT_EQ(std::string(e.what()).find("大きすぎます"), std::string::npos) << e.what();
}

}  // namespace
}  // namespace dw
