// GDC image files: 8-bit palette indices in a run-length code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "dataset/image_files.h"
#include "images/colour_runs.h"
#include "images/palette.h"

namespace dw {

inline constexpr size_t kIndexImageHeaderBytes = 4;

// Job statistic: the size of the largest .gdc file written so far.
struct GdcStats {
  uint32_t largest_file = 0;
};

// Builds a GDC file from runs of indices: greedy packets of up to 127 pixels, 0x81 for a lone
// pixel of index 0x00 or 0x80..0xFF, a literal byte for other lone pixels, the end byte 0x00 and
// the total size in the first four bytes. Adjacent runs of one index join.
class GdcCoder {
 public:
  // Codes into `buffer`, which keeps its memory from file to file (it is never shrunk, so its
  // size is not the file's). `capacity`: bytes to set aside for the file (it grows beyond when
  // needed).
  GdcCoder(uint16_t width, uint16_t height, std::string& buffer, size_t capacity = 256);
  void Add(uint8_t index, uint32_t count) {
    if (count == 0) return;
    if (pending_ != 0 && index == value_) {
      pending_ += count;
    } else {
      Flush();
      value_ = index;
      pending_ = count;
    }
    if (pending_ > kMaxRunLength) EmitFullRuns();
  }
  // The complete file, in the buffer; the coder is spent afterwards.
  std::string_view Finish();

 private:
  // Room for `n` more bytes.
  char* Reserve(size_t n) {
    if (size_ + n > out_.size()) out_.resize(std::max(out_.size() * 2, size_ + n));
    return out_.data() + size_;
  }
  void Flush() {
    char* p = Reserve(2);
    if (pending_ >= 2) {
      p[0] = static_cast<char>(kRunFlag | pending_);
      p[1] = static_cast<char>(value_);
      size_ += 2;
    } else if (pending_ == 1) {
      const bool escaped = value_ >= kRunFlag || value_ == kEndOfImage;
      p[0] = static_cast<char>(escaped ? kLonePixelEscape : value_);
      p[1] = static_cast<char>(value_);
      size_ += escaped ? 2 : 1;
    }
    pending_ = 0;
  }
  // Packets of 127 while more than 127 pixels wait: the greedy run is cut at 127.
  void EmitFullRuns();

  std::string& out_;
  size_t size_ = 0;
  uint8_t value_ = 0;
  uint32_t pending_ = 0;
};

// An index image: 16-bit width and height, then one index per pixel.
std::string MakeIndexImage(uint16_t width, uint16_t height, std::string_view indices);

// The GDC file of an index image (width and height from its header). Throws dw::Error when the
// image holds fewer pixels than its header declares.
std::string EncodeGdc(std::string_view index_image);

// The GDC file of an image whose colours all have palette indices already.
std::string EncodeGdc(const ColourRuns& image, const SharedPalette& palette);
// The same coded in `buffer` (see GdcCoder); the file is valid until the buffer is used again.
std::string_view EncodeGdcInto(const ColourRuns& image, const SharedPalette& palette, std::string& buffer);

// Saves GDC bytes atomically at `path` and raises the largest-file statistic.
void SaveGdc(std::string_view gdc, const std::filesystem::path& path, GdcStats& stats);

// Codes an index image and saves it as a GDC file at `path`. The width and height written are
// the index image's own; the two arguments only name them.
void WriteGdcFile(std::string_view index_image, int width, int height, const std::filesystem::path& path,
                  GdcStats& stats);

}  // namespace dw
