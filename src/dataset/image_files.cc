#include "dataset/image_files.h"

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

LayoutFault Fault(size_t offset, std::string what) { return {offset, std::move(what)}; }

std::string IndexFault(unsigned index, int max_index) {
  return "色番号 " + std::to_string(index) + " がパレットの色数 " + std::to_string(max_index) + " を超えています";
}

template <typename Decode>
IndexImage ReadImage(const fs::path& path, Decode decode) {
  IndexImage image;
  if (std::optional<LayoutFault> fault = decode(ReadWholeFile(path), image)) {
    throw Damaged(path, "オフセット " + std::to_string(fault->offset) + ": " + fault->what);
  }
  return image;
}

}  // namespace

std::optional<LayoutFault> DecodeGdc(std::string_view file, IndexImage& image, int max_index) {
  if (file.size() < kGdcHeaderBytes + 1)
    return Fault(0, "ヘッダーがありません (" + std::to_string(file.size()) + " バイト)");
  if (ReadU32(file, 0) != file.size()) {
    return Fault(0, "サイズ欄 " + std::to_string(ReadU32(file, 0)) + " がファイルの長さ " +
                        std::to_string(file.size()) + " と違います");
  }
  image.width = static_cast<uint16_t>(ReadU16(file, 4));
  image.height = static_cast<uint16_t>(ReadU16(file, 6));
  const size_t total = size_t{image.width} * image.height;
  image.pixels.clear();
  image.pixels.reserve(total);
  size_t at = kGdcHeaderBytes;
  while (image.pixels.size() < total) {
    if (at >= file.size()) return Fault(at, "画素が " + std::to_string(total - image.pixels.size()) + " 個足りません");
    const uint8_t c = static_cast<uint8_t>(file[at]);
    size_t count = 1;
    size_t value_at = at;
    if (c == kEndOfImage) return Fault(at, "画素が " + std::to_string(total - image.pixels.size()) + " 個足りません");
    if (c == kRunFlag) return Fault(at, "制御バイト 0x80 は使われません");
    if (c > kRunFlag) {
      count = c == kLonePixelEscape ? 1 : c & 0x7F;
      value_at = at + 1;
      if (value_at >= file.size()) return Fault(at, "色番号のバイトがありません");
    }
    const uint8_t value = static_cast<uint8_t>(file[value_at]);
    if (value > max_index) return Fault(value_at, IndexFault(value, max_index));
    if (image.pixels.size() + count > total) return Fault(at, "画素数 " + std::to_string(total) + " を超えます");
    image.pixels.append(count, static_cast<char>(value));
    at = value_at + 1;
  }
  if (at != file.size() - 1 || static_cast<uint8_t>(file[at]) != kEndOfImage) {
    return Fault(at, "最後の画素の後が終了バイトだけではありません");
  }
  return std::nullopt;
}

std::optional<LayoutFault> DecodeMiniMap(std::string_view file, IndexImage& image, int max_index) {
  if (file.size() != kMiniMapFileBytes) {
    return Fault(0, "長さが " + std::to_string(file.size()) + " バイトです (" + std::to_string(kMiniMapFileBytes) +
                        " バイトのはず)");
  }
  const uint32_t area_width = ReadU16(file, 0), area_height = ReadU16(file, 2);
  if (area_width % 2 != 0 || area_height % 2 != 0) {
    return Fault(
        0, "地図の範囲 " + std::to_string(area_width) + " x " + std::to_string(area_height) + " が偶数ではありません");
  }
  image.width = image.height = kMiniMapSide;
  image.pixels.assign(file.substr(4));
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const uint8_t value = static_cast<uint8_t>(image.pixels[i]);
    if (value > max_index) return Fault(4 + i, IndexFault(value, max_index));
  }
  return std::nullopt;
}

std::optional<LayoutFault> DecodePalette(std::string_view file, PaletteFile& palette) {
  if (file.size() != kPaletteFileBytes) {
    return Fault(0, "長さが " + std::to_string(file.size()) + " バイトです (" + std::to_string(kPaletteFileBytes) +
                        " バイトのはず)");
  }
  for (int i = 0; i < kPaletteEntries; ++i) palette.colours[i] = static_cast<uint16_t>(ReadU16(file, 2 * i));
  if (palette.colours[0] != 0) return Fault(0, "0 番の色が 0 ではありません");
  int last = 0;
  bool black_given = false;
  for (int i = 1; i < kPaletteEntries; ++i) {
    if (palette.colours[i] & 0x8000) return Fault(2 * i, "15 ビットの色ではありません");
    if (palette.colours[i] != 0) last = i;
  }
  for (int i = 1; i < last; ++i) black_given = black_given || palette.colours[i] == 0;
  palette.usable = black_given || last == kPaletteEntries - 1 ? last : last + 1;
  return std::nullopt;
}

IndexImage ReadGdc(const fs::path& path) {
  return ReadImage(path, [](std::string_view file, IndexImage& image) { return DecodeGdc(file, image); });
}

IndexImage ReadMiniMap(const fs::path& path) {
  return ReadImage(path, [](std::string_view file, IndexImage& image) { return DecodeMiniMap(file, image); });
}

PaletteFile ReadPalette(const fs::path& path) {
  PaletteFile palette;
  if (std::optional<LayoutFault> fault = DecodePalette(ReadWholeFile(path), palette)) {
    throw Damaged(path, "オフセット " + std::to_string(fault->offset) + ": " + fault->what);
  }
  return palette;
}

}  // namespace dw
