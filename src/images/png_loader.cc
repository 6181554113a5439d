#include "images/png_loader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/messages.h"

namespace dw {
namespace {

constexpr size_t kPngSignatureBytes = 8;
// Signature, IHDR length and type, then width and height (big-endian).
constexpr size_t kIhdrWidthOffset = 16;
constexpr size_t kIhdrEnd = 24;

// Known ancillary chunks that the decoder skips, as NUL-terminated four-letter names.
constexpr png_byte kSkippedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

// The state of one decode that the libpng callbacks and the two C-style steps share. Plain data
// only: a longjmp out of libpng lands in ReadHeader or ReadRows and skips no destructor.
struct PngSession {
  png_structp png;
  png_infop info;
  const unsigned char* data;
  size_t size;
  size_t offset;
  png_uint_32 width;
  png_uint_32 height;
  int channels;
  size_t row_bytes;
  bool grey_palette;  // a palette image whose every entry is grey
  char error[200];
};

void OnPngError(png_structp png, png_const_charp message) {
  PngSession* s = static_cast<PngSession*>(png_get_error_ptr(png));
  std::snprintf(s->error, sizeof s->error, "%s", message ? message : "error");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t n) {
  PngSession* s = static_cast<PngSession*>(png_get_io_ptr(png));
  if (n > s->size - s->offset) png_error(png, "unexpected end of file");
  std::memcpy(out, s->data + s->offset, n);
  s->offset += n;
}

// Reads the chunks up to the image data and sets the conversions to 8-bit grey, grey+alpha,
// blue-green-red or blue-green-red-alpha. Returns false (s->error set) when libpng fails.
bool ReadHeader(PngSession* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_set_read_fn(s->png, s, ReadFromMemory);
  png_set_user_limits(s->png, kMaxPngSide, kMaxPngSide);
  png_set_chunk_malloc_max(s->png, kMaxPngChunkBytes);
  // Ancillary chunks other than tRNS are skipped unread: nothing here uses them, and a chunk
  // that declares a huge length is then never buffered.
  png_set_keep_unknown_chunks(s->png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(s->png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
  png_read_info(s->png, s->info);
  const int colour_type = png_get_color_type(s->png, s->info);
  const int bit_depth = png_get_bit_depth(s->png, s->info);
  if (bit_depth == 16) png_set_scale_16(s->png);
  if (colour_type == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(s->png);
    png_colorp entries = nullptr;
    int count = 0;
    s->grey_palette = png_get_PLTE(s->png, s->info, &entries, &count) != 0;
    for (int i = 0; s->grey_palette && i < count; ++i) {
      s->grey_palette = entries[i].red == entries[i].green && entries[i].red == entries[i].blue;
    }
  }
  if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(s->png);
  if (png_get_valid(s->png, s->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(s->png);
  if (colour_type & PNG_COLOR_MASK_COLOR) png_set_bgr(s->png);
  png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);
  s->width = png_get_image_width(s->png, s->info);
  s->height = png_get_image_height(s->png, s->info);
  s->channels = png_get_channels(s->png, s->info);
  s->row_bytes = png_get_rowbytes(s->png, s->info);
  return true;
}

bool ReadRows(PngSession* s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_read_image(s->png, rows);
  return true;
}

// Owns the libpng objects of one decode.
class PngReader {
 public:
  PngReader() {
    s_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s_, OnPngError, OnPngWarning);
    if (s_.png) s_.info = png_create_info_struct(s_.png);
    if (!s_.png || !s_.info) throw std::bad_alloc();
  }
  ~PngReader() { png_destroy_read_struct(&s_.png, &s_.info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  PngSession& session() { return s_; }

 private:
  PngSession s_{};
};

Error DecodeError(const std::filesystem::path& name, const std::string& reason) {
  return CannotReadImage(name, reason);
}

uint32_t BigEndian32(std::string_view b, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[offset + i]);
  return v;
}

// Refuses a header whose declared size exceeds the limits, before libpng allocates anything.
void CheckDeclaredSize(std::string_view bytes, const std::filesystem::path& name) {
  if (bytes.size() < kIhdrEnd || bytes.substr(12, 4) != "IHDR") return;  // libpng reports it
  const uint32_t w = BigEndian32(bytes, kIhdrWidthOffset);
  const uint32_t h = BigEndian32(bytes, kIhdrWidthOffset + 4);
  if (w > kMaxPngSide || h > kMaxPngSide || static_cast<uint64_t>(w) * h > kMaxPngPixels) {
    throw ImageTooLarge(name, w, h, kMaxPngSide, kMaxPngPixels);
  }
}

// c over white with straight alpha a, rounded to nearest.
inline uint8_t OverWhite(unsigned c, unsigned a) {
  return static_cast<uint8_t>((c * a + 255u * (255u - a) + 127u) / 255u);
}

// The checks both decoders rely on: a PNG signature and a declared size within the limits.
void CheckSignatureAndSize(std::string_view bytes, const std::filesystem::path& name) {
  if (bytes.size() < kPngSignatureBytes ||
      png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, kPngSignatureBytes) != 0) {
    throw DecodeError(name, "PNG ファイルではありません");
  }
  CheckDeclaredSize(bytes, name);
}

}  // namespace

void CompositeOverWhite(const uint8_t* in, int in_bytes_per_pixel, size_t pixels, uint8_t* out) {
  const int colours = in_bytes_per_pixel - 1;
  for (size_t i = 0; i < pixels; ++i, in += in_bytes_per_pixel, out += colours) {
    const unsigned a = in[colours];
    for (int c = 0; c < colours; ++c) out[c] = OverWhite(in[c], a);
  }
}

void DecodePngInto(std::string_view bytes, const std::filesystem::path& name, Bitmap& out, PngScratch& scratch) {
  CheckSignatureAndSize(bytes, name);
  if (TryDecodePngFast(bytes, out, scratch.fast)) return;
  DecodePngWithLibpngInto(bytes, name, out, scratch);
}

void DecodePngWithLibpngInto(std::string_view bytes, const std::filesystem::path& name, Bitmap& out,
                             PngScratch& scratch) {
  CheckSignatureAndSize(bytes, name);

  PngReader reader;
  PngSession& s = reader.session();
  s.data = reinterpret_cast<const unsigned char*>(bytes.data());
  s.size = bytes.size();
  if (!ReadHeader(&s)) throw DecodeError(name, s.error);
  if (s.width == 0 || s.height == 0 || s.channels < 1 || s.channels > 4 ||
      s.row_bytes != static_cast<size_t>(s.width) * s.channels) {
    throw DecodeError(name, "対応していない画素形式です");
  }

  const int out_channels = s.channels <= 2 ? 1 : 3;
  out.width = static_cast<int>(s.width);
  out.height = static_cast<int>(s.height);
  out.channels = out_channels;
  // Opaque images decode straight into the canvas; transparent ones through a buffer.
  uint8_t* decoded;
  if (s.channels == out_channels) {
    out.pixels.resize(s.row_bytes * s.height);
    decoded = out.pixels.data();
  } else {
    scratch.with_alpha.resize(s.row_bytes * s.height);
    decoded = scratch.with_alpha.data();
  }
  std::vector<uint8_t*>& rows = scratch.rows;
  rows.resize(s.height);
  for (png_uint_32 y = 0; y < s.height; ++y) rows[y] = decoded + y * s.row_bytes;
  if (!ReadRows(&s, rows.data())) throw DecodeError(name, s.error);

  if (s.channels != out_channels) {
    const size_t n = static_cast<size_t>(s.width) * s.height;
    out.pixels.resize(n * out_channels);
    CompositeOverWhite(scratch.with_alpha.data(), s.channels, n, out.pixels.data());
  }
  if (s.grey_palette) {  // blue-green-red with every channel equal: keep one
    const size_t n = static_cast<size_t>(s.width) * s.height;
    for (size_t i = 0; i < n; ++i) out.pixels[i] = out.pixels[3 * i];
    out.pixels.resize(n);
    out.channels = 1;
  }
}

Bitmap DecodePng(std::string_view bytes, const std::filesystem::path& name) {
  Bitmap out;
  PngScratch scratch;
  DecodePngInto(bytes, name, out, scratch);
  return out;
}

void LoadPngInto(const std::filesystem::path& path, Bitmap& out, PngScratch& scratch) {
  ReadWholeFileInto(path, scratch.file);
  DecodePngInto(scratch.file, path, out, scratch);
}

Bitmap LoadPngToBitmap(const std::filesystem::path& path) { return DecodePng(ReadWholeFile(path), path); }

}  // namespace dw
