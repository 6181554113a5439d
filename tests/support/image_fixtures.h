// Test images and workspaces for the image job's tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "images/bitmap.h"
#include "common/table_builder.h"
#include "support/test_support.h"
#include "support/workspace_fixtures.h"

namespace dw::test {

// PNG bytes of raw pixels in one of libpng's simplified formats (PNG_FORMAT_GRAY, _GA, _RGB,
// _RGBA, _BGR, ...), 8 bits per channel.
inline std::string EncodePng(int width, int height, png_uint_32 format, const std::vector<uint8_t>& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  out.resize(size);
  return out;
}

// A canvas as PNG bytes: grey, or blue-green-red.
inline std::string EncodePng(const Bitmap& b) {
  return EncodePng(b.width, b.height, b.channels == 1 ? PNG_FORMAT_GRAY : PNG_FORMAT_BGR, b.pixels);
}

inline void WritePng(const std::filesystem::path& path, const Bitmap& b) { WriteFile(path, EncodePng(b)); }

// A grey canvas with a deterministic pattern of line-art-like strokes and grey tones.
inline Bitmap PatternPage(int width, int height, unsigned seed) {
  Bitmap b(width, height, 1);
  uint32_t state = seed * 2654435761u + 1;
  auto next = [&] { return state = state * 1664525u + 1013904223u; };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t v = 255;
      if ((x + y + static_cast<int>(seed)) % 17 == 0) v = 0;
      if (y % 23 < 3 && x % 5 != 0) v = static_cast<uint8_t>(90 + seed % 100);
      if ((next() >> 24) < 12) v = static_cast<uint8_t>(next() >> 24);
      b.Row(y)[x] = v;
    }
  }
  return b;
}

// A blue-green-red canvas filled with one colour.
inline Bitmap Solid(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
  Bitmap b(width, height, 3);
  for (size_t i = 0; i < b.pixels.size(); i += 3) {
    b.pixels[i] = blue;
    b.pixels[i + 1] = green;
    b.pixels[i + 2] = red;
  }
  return b;
}

// The workspace folders the catalog job creates, with L_Date.dat listing the day start pages.
inline void MakeWorkspace(const std::filesystem::path& workspace, const std::vector<uint16_t>& starts) {
  MakeWorkspace(workspace);
  WriteDayStarts(workspace, starts);
}

}  // namespace dw::test
