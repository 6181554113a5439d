// The quick decoder against libpng: for every file it takes, the same canvas; every file it does
// not take is left to libpng.
#include "images/png_fast_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "images/png_loader.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

std::string Be32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return Be32(static_cast<uint32_t>(data.size())) + body + Be32(static_cast<uint32_t>(crc));
}

std::string Deflate(const std::string& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 6);
  out.resize(size);
  return out;
}

// A PNG built by hand: `filtered` is the inflated image data (each row behind its filter byte),
// sent in IDAT chunks of `idat_size` bytes; `edit` may change the chunk list before it is joined.
struct HandMadePng {
  uint32_t width = 0, height = 0;
  uint8_t bit_depth = 8, colour_type = 0, interlace = 0;
  std::string filtered;
  std::string extra;  // chunks between the header and the image data
  size_t idat_size = 8192;
  std::function<void(std::vector<std::string>&)> edit;

  std::string Bytes() const {
    std::string ihdr = Be32(width) + Be32(height);
    ihdr += {static_cast<char>(bit_depth), static_cast<char>(colour_type), 0, 0, static_cast<char>(interlace)};
    std::vector<std::string> chunks = {Chunk("IHDR", ihdr) + extra};
    const std::string z = Deflate(filtered);
    for (size_t at = 0; at < z.size(); at += idat_size) chunks.push_back(Chunk("IDAT", z.substr(at, idat_size)));
    chunks.push_back(Chunk("IEND", ""));
    if (edit) edit(chunks);
    std::string png = "\x89PNG\r\n\x1a\n";
    for (const std::string& c : chunks) png += c;
    return png;
  }
};

int SamplesPerPixel(uint8_t colour_type) {
  return colour_type == 0 || colour_type == 3 ? 1 : colour_type == 4 ? 2 : colour_type == 2 ? 3 : 4;
}

// Random rows behind random filter types: both decoders must undo every filter alike. A palette
// has every entry its bit depth allows, each grey when `grey` is set; `trns` adds a tRNS chunk
// (random alphas, or a grey key that the rows hold).
HandMadePng RandomImage(uint32_t w, uint32_t h, uint8_t colour_type, std::mt19937& rng, uint8_t bit_depth = 8,
                        bool trns = false, bool grey = false) {
  HandMadePng png;
  png.width = w;
  png.height = h;
  png.colour_type = colour_type;
  png.bit_depth = bit_depth;
  if (colour_type == 3) {
    std::string entries(3u << bit_depth, '\0'), alphas(1 + rng() % (1u << bit_depth), '\0');
    for (size_t i = 0; i < entries.size(); ++i) entries[i] = grey && i % 3 ? entries[i - 1] : static_cast<char>(rng());
    for (char& c : alphas) c = static_cast<char>(rng() % 3 == 0 ? 255 * (rng() % 2) : rng());
    png.extra = Chunk("PLTE", entries) + (trns ? Chunk("tRNS", alphas) : "");
  } else if (trns) {
    png.extra = Chunk("tRNS", bit_depth == 16 ? std::string("\1\2") : Be32(rng() % (1u << bit_depth)).substr(2));
  }
  const size_t row = (size_t{w} * SamplesPerPixel(colour_type) * bit_depth + 7) / 8;
  for (uint32_t y = 0; y < h; ++y) {
    png.filtered.push_back(static_cast<char>(rng() % 5));
    for (size_t x = 0; x < row; ++x) png.filtered.push_back(static_cast<char>(rng() % 7 == 0 ? rng() : x % 3));
  }
  return png;
}

Bitmap ByLibpng(const std::string& bytes) {
  Bitmap b;
  PngScratch scratch;
  DecodePngWithLibpngInto(bytes, "ref.png", b, scratch);
  return b;
}

void ExpectSameCanvas(const Bitmap& a, const Bitmap& b) {
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.channels, b.channels);
  EXPECT_TRUE(a.pixels == b.pixels);
}

TEST(PngFastDecoder, EveryFilterFormAndShapeDecodesAsLibpngDoes) {
  struct Form {
    uint8_t colour_type, bit_depth;
    bool trns, grey_palette;
  };
  std::vector<Form> forms = {{2, 8, false, false}, {4, 8, false, false}, {6, 8, false, false}};
  for (uint8_t depth : {1, 2, 4, 8, 16}) {
    for (bool trns : {false, true}) {
      forms.push_back({0, depth, trns, false});
      if (depth < 16) forms.push_back({3, depth, trns, false});
      if (depth < 16) forms.push_back({3, depth, trns, true});
    }
  }
  std::mt19937 rng(7);
  PngFastScratch scratch;  // reused across forms and shapes, as a worker does
  Bitmap fast;
  int taken = 0;
  for (const Form& form : forms) {
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {1, 40}, {2, 3}, {5, 9}, {33, 17}, {300, 40}, {1270, 30}}) {
      SCOPED_TRACE(std::to_string(form.colour_type) + "/" + std::to_string(form.bit_depth) + (form.trns ? " tRNS " : " ") +
                   (form.grey_palette ? "grey " : "") + std::to_string(w) + "x" + std::to_string(h));
      HandMadePng png = RandomImage(w, h, form.colour_type, rng, form.bit_depth, form.trns, form.grey_palette);
      png.idat_size = 1 + rng() % 5000;
      const std::string bytes = png.Bytes();
      ASSERT_TRUE(TryDecodePngFast(bytes, fast, scratch));
      ExpectSameCanvas(fast, ByLibpng(bytes));
      if (form.grey_palette) {
        EXPECT_EQ(fast.channels, 1);  // the 24-bit canvas it stands for is grey
      }
      ++taken;
    }
  }
  EXPECT_EQ(taken, 7 * static_cast<int>(forms.size()));
}

// Every file the quick decoder refuses still decodes, or fails, exactly as libpng alone does.
TEST(PngFastDecoder, FilesOutsideItsFormsAreLeftToLibpng) {
  std::mt19937 rng(11);
  auto base = [&] { return RandomImage(40, 30, 2, rng); };
  auto flip_byte = [](size_t chunk, size_t offset) {
    return [=](std::vector<std::string>& c) { c[chunk][offset] = static_cast<char>(c[chunk][offset] ^ 0x40); };
  };
  std::vector<std::pair<std::string, HandMadePng>> cases;
  auto add = [&](const std::string& what, const std::function<void(HandMadePng&)>& change) {
    HandMadePng png = base();
    change(png);
    cases.emplace_back(what, png);
  };
  add("16-bit colour", [](HandMadePng& p) { p.bit_depth = 16, p.filtered += p.filtered; });
  add("palette image", [](HandMadePng& p) { p.colour_type = 3, p.filtered.resize(30 * 41, '\1'); });
  add("palette chunk in an RGB image", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.insert(c.begin() + 1, Chunk("PLTE", std::string(6, '\7'))); };
  });
  add("tRNS", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.insert(c.begin() + 1, Chunk("tRNS", std::string(6, '\0'))); };
  });
  auto palette = [&](uint8_t depth, const std::string& extra) {
    return [&, depth, extra](HandMadePng& p) {
      p = RandomImage(40, 30, 3, rng, depth);
      p.extra = extra;
    };
  };
  const std::string two_entries = Chunk("PLTE", std::string(6, '\x40'));
  add("palette index beyond the palette", palette(4, two_entries));
  add("palette longer than its bit depth allows", palette(1, Chunk("PLTE", std::string(9, '\x40'))));
  add("tRNS before PLTE", palette(2, Chunk("tRNS", "\1") + two_entries));
  add("tRNS longer than the palette", palette(1, two_entries + Chunk("tRNS", "\1\2\3")));
  add("grey key beyond the bit depth", [&](HandMadePng& p) {
    p = RandomImage(40, 30, 0, rng, 2);
    p.extra = Chunk("tRNS", std::string("\0\4", 2));
  });
  add("interlaced", [](HandMadePng& p) { p.interlace = 1; });
  add("filter type 5", [](HandMadePng& p) { p.filtered[121 * 3] = 5; });
  add("rows missing", [](HandMadePng& p) { p.filtered.resize(121 * 29); });
  add("rows to spare", [](HandMadePng& p) { p.filtered += std::string(121, '\0'); });
  add("bad IDAT CRC", [&](HandMadePng& p) { p.idat_size = 500, p.edit = flip_byte(2, 20); });
  add("bad stream check", [&](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) {
      std::string data = c[1].substr(8, c[1].size() - 12);
      data.back() = static_cast<char>(data.back() ^ 1);
      c[1] = Chunk("IDAT", data);
    };
  });
  add("bytes after the stream", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.insert(c.end() - 1, Chunk("IDAT", "junk")); };
  });
  add("data split by another chunk", [](HandMadePng& p) {
    p.idat_size = 300;
    p.edit = [](std::vector<std::string>& c) { c.insert(c.begin() + 2, Chunk("tEXt", "a\0b")); };
  });
  add("unknown critical chunk", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.insert(c.begin() + 1, Chunk("XYZW", "")); };
  });
  add("chunk type not letters", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.insert(c.begin() + 1, Chunk("te#t", "")); };
  });
  add("declared window smaller than the rows", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) {
      std::string data = c[1].substr(8, c[1].size() - 12);
      data[0] = 0x08, data[1] = 0x1d;  // 256-byte window, header check kept valid
      c[1] = Chunk("IDAT", data);
    };
  });
  add("header without image data", [](HandMadePng& p) {
    p.edit = [](std::vector<std::string>& c) { c.erase(c.begin() + 1, c.end() - 1); };
  });
  for (const auto& [what, png] : cases) {
    SCOPED_TRACE(what);
    const std::string bytes = png.Bytes();
    PngFastScratch fast_scratch;
    Bitmap fast;
    EXPECT_FALSE(TryDecodePngFast(bytes, fast, fast_scratch));
    PngScratch scratch;
    Bitmap loaded;
    const test::ThrownError loader = test::Thrown([&] { DecodePngInto(bytes, "x.png", loaded, scratch); });
    const test::ThrownError reference = test::Thrown([&] { fast = ByLibpng(bytes); });
    EXPECT_EQ(loader.thrown, reference.thrown) << loader.what() << " / " << reference.what();
    if (!loader.thrown && !reference.thrown) ExpectSameCanvas(loaded, fast);
  }
}

TEST(PngFastDecoder, ConformanceImagesItTakesDecodeAsLibpngDoes) {
  const fs::path suite = test::PngSuiteDir();
  if (suite.empty()) GTEST_SKIP() << "no PNG conformance images";
  PngFastScratch scratch;
  Bitmap fast;
  int taken = 0;
  for (const auto& e : fs::recursive_directory_iterator(suite)) {
    if (!e.is_regular_file() || e.path().extension() != ".png") continue;
    SCOPED_TRACE(e.path().string());
    const std::string bytes = test::ReadFile(e.path());
    if (!TryDecodePngFast(bytes, fast, scratch)) continue;
    ExpectSameCanvas(fast, ByLibpng(bytes));
    ++taken;
  }
  EXPECT_GE(taken, 100);  // every bit depth and colour type but 16-bit colour, not interlaced
}

}  // namespace
}  // namespace dw
