// Pictures of the data set's images for people: an index image with its palette as a PNG file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "dataset/image_files.h"

namespace dw {

// 0xRRGGBB of a 15-bit colour, each 5-bit channel spread over 8 bits (31 -> 255).
uint32_t Rgb888(uint16_t colour15);

// The PNG bytes (8-bit palette colour type) of `image` with its 256 colours as 0xRRGGBB.
std::string EncodeIndexedPng(const IndexImage& image, const std::array<uint32_t, kPaletteEntries>& colours);

// Saves those bytes at `path` (atomically); throws dw::Error.
void WriteIndexedPng(const std::filesystem::path& path, const IndexImage& image,
                     const std::array<uint32_t, kPaletteEntries>& colours);

}  // namespace dw
