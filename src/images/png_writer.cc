#include "images/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "common/atomic_file.h"
#include "common/messages.h"

namespace dw {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

}  // namespace

uint32_t Rgb888(uint16_t colour15) {
  auto spread = [](uint32_t v) { return (v << 3) | (v >> 2); };
  const uint32_t r = spread(colour15 & 0x1F), g = spread((colour15 >> 5) & 0x1F), b = spread((colour15 >> 10) & 0x1F);
  return (r << 16) | (g << 8) | b;
}

std::string EncodeIndexedPng(const IndexImage& image, const std::array<uint32_t, kPaletteEntries>& colours) {
  if (image.width == 0 || image.height == 0 || image.pixels.size() != size_t{image.width} * image.height) {
    throw InternalError("EncodeIndexedPng: " + std::to_string(image.width) + " x " + std::to_string(image.height));
  }
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    throw InternalError("libpng: out of memory");
  }
  std::vector<png_color> palette(kPaletteEntries);
  for (int i = 0; i < kPaletteEntries; ++i) {
    palette[i] = {static_cast<png_byte>(colours[i] >> 16), static_cast<png_byte>(colours[i] >> 8),
                  static_cast<png_byte>(colours[i])};
  }
  std::vector<png_bytep> rows(image.height);
  for (size_t y = 0; y < image.height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(const_cast<char*>(image.pixels.data() + y * image.width));
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw InternalError("libpng could not encode the picture");
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, palette.data(), kPaletteEntries);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void WriteIndexedPng(const std::filesystem::path& path, const IndexImage& image,
                     const std::array<uint32_t, kPaletteEntries>& colours) {
  AtomicSave(path, EncodeIndexedPng(image, colours));
}

}  // namespace dw
