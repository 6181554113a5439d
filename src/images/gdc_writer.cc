#include "images/gdc_writer.h"

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"

namespace dw {
namespace {

void PutU16(std::string& out, size_t offset, uint32_t v) {
  out[offset] = static_cast<char>(v & 0xFF);
  out[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

GdcCoder::GdcCoder(uint16_t width, uint16_t height, std::string& buffer, size_t capacity)
    : out_(buffer), size_(kGdcHeaderBytes) {
  capacity = std::max(capacity, kGdcHeaderBytes + 1);
  if (out_.size() < capacity) out_.resize(capacity);
  PutU16(out_, 4, width);
  PutU16(out_, 6, height);
}

void GdcCoder::EmitFullRuns() {
  const uint32_t packets = (pending_ - 1) / kMaxRunLength;
  char* p = Reserve(2 * static_cast<size_t>(packets));
  for (uint32_t k = 0; k < packets; ++k) {
    p[2 * k] = static_cast<char>(kRunFlag | kMaxRunLength);
    p[2 * k + 1] = static_cast<char>(value_);
  }
  size_ += 2 * static_cast<size_t>(packets);
  pending_ -= packets * kMaxRunLength;
}

std::string_view GdcCoder::Finish() {
  Flush();
  *Reserve(1) = static_cast<char>(kEndOfImage);
  ++size_;
  const uint32_t size = static_cast<uint32_t>(size_);
  PutU16(out_, 0, size & 0xFFFF);
  PutU16(out_, 2, size >> 16);
  return std::string_view(out_).substr(0, size_);
}

std::string MakeIndexImage(uint16_t width, uint16_t height, std::string_view indices) {
  TableBuilder t(false);
  t.U16(width).U16(height).Bytes(indices);
  return t.bytes();
}

std::string EncodeGdc(std::string_view index_image) {
  if (index_image.size() < kIndexImageHeaderBytes) throw InternalError("GDC: 索引画像にヘッダーがありません");
  const uint16_t width = static_cast<uint16_t>(ReadU16(index_image, 0));
  const uint16_t height = static_cast<uint16_t>(ReadU16(index_image, 2));
  const size_t total = static_cast<size_t>(width) * height;
  if (index_image.size() - kIndexImageHeaderBytes < total) throw InternalError("GDC: 索引画像がヘッダーの示す大きさより短いです");
  std::string file;
  GdcCoder coder(width, height, file);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(index_image.data()) + kIndexImageHeaderBytes;
  size_t i = 0;
  while (i < total) {
    const uint8_t v = p[i];
    size_t j = i + 1;
    while (j < total && p[j] == v) ++j;
    coder.Add(v, static_cast<uint32_t>(j - i));
    i = j;
  }
  file.resize(coder.Finish().size());
  return file;
}

std::string_view EncodeGdcInto(const ColourRuns& image, const SharedPalette& palette, std::string& buffer) {
  // At most two bytes per run and per 127 pixels: the file never outgrows this.
  const size_t pixels = static_cast<size_t>(image.width) * image.height;
  const size_t bound = kGdcHeaderBytes + 2 * (image.runs.size() + pixels / kMaxRunLength) + 1;
  GdcCoder coder(static_cast<uint16_t>(image.width), static_cast<uint16_t>(image.height), buffer, bound);
  for (const ColourRun& run : image.runs) coder.Add(palette.Lookup(run.colour), run.length);
  return coder.Finish();
}

std::string EncodeGdc(const ColourRuns& image, const SharedPalette& palette) {
  std::string buffer;
  return std::string(EncodeGdcInto(image, palette, buffer));
}

void SaveGdc(std::string_view gdc, const std::filesystem::path& path, GdcStats& stats) {
  AtomicSave(path, gdc);
  if (gdc.size() > stats.largest_file) stats.largest_file = static_cast<uint32_t>(gdc.size());
}

void WriteGdcFile(std::string_view index_image, int /*width*/, int /*height*/, const std::filesystem::path& path,
                  GdcStats& stats) {
  SaveGdc(EncodeGdc(index_image), path, stats);
}

}  // namespace dw
