#include "catalog_generator.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace dw::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kBlocksPerArea = 8;
constexpr const char* kHallGroups[] = {"E123", "E456", "W12"};

// ---- Page and map generation -------------------------------------------------------------

struct Canvas {
  int width, height, channels;
  std::vector<uint8_t> px;
  Canvas(int w, int h, int c) : width(w), height(h), channels(c), px(static_cast<size_t>(w) * h * c, 255) {}
  uint8_t* At(int x, int y) { return px.data() + (static_cast<size_t>(y) * width + x) * channels; }
  void Darken(int x, int y, int value) {  // grey ink, keeping the darker of old and new
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = At(x, y);
    for (int c = 0; c < channels; ++c) p[c] = static_cast<uint8_t>(std::min<int>(p[c], value));
  }
  void Rect(int x0, int y0, int x1, int y1, int value) {
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(width, x1); ++x) Darken(x, y, value);
  }
  void Paint(int x0, int y0, int x1, int y1, const uint8_t* colour) {
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(width, x1); ++x) std::memcpy(At(x, y), colour, channels);
  }
  // A stroke with a soft (anti-aliased) edge, as scanned line art has.
  void Line(double x0, double y0, double x1, double y1, double thickness, int ink) {
    const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
    const int r = static_cast<int>(thickness) + 1;
    for (int s = 0; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      const double cx = x0 + (x1 - x0) * t, cy = y0 + (y1 - y0) * t;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const double d = std::sqrt(double(dx * dx + dy * dy)) - thickness / 2;
          if (d < 1) Darken(int(cx) + dx, int(cy) + dy, d <= 0 ? ink : ink + int((255 - ink) * d));
        }
    }
  }
};

void DrawCut(Canvas& c, std::mt19937& rng, int x0, int y0, int w, int h) {
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  // Frame and the space number box.
  c.Rect(x0, y0, x0 + w, y0 + 2, 0);
  c.Rect(x0, y0 + h - 2, x0 + w, y0 + h, 0);
  c.Rect(x0, y0, x0 + 2, y0 + h, 0);
  c.Rect(x0 + w - 2, y0, x0 + w, y0 + h, 0);
  c.Rect(x0 + 2, y0 + 2, x0 + 50, y0 + 40, 0);
  // Grey fill behind the drawing.
  if (uni(0, 2) == 0) c.Rect(x0 + uni(10, 80), y0 + uni(60, 120), x0 + w - uni(10, 60), y0 + h - uni(60, 120), uni(150, 220));
  // Screentone: regular dots in a block.
  {
    const int bx = x0 + uni(20, w / 2), by = y0 + uni(60, h / 2), bw = uni(60, w / 2), bh = uni(40, h / 3);
    const int pitch = uni(4, 7);
    for (int y = by; y < std::min(by + bh, y0 + h - 4); y += pitch)
      for (int x = bx + ((y / pitch) & 1) * pitch / 2; x < std::min(bx + bw, x0 + w - 4); x += pitch) {
        c.Darken(x, y, 40);
        c.Darken(x + 1, y, 90);
        c.Darken(x, y + 1, 90);
        c.Darken(x + 1, y + 1, 140);
      }
  }
  // Line art: a figure of curves.
  const int cx = x0 + w / 2 + uni(-30, 30), cy = y0 + h / 2 + uni(-20, 40);
  double px = cx, py = cy;
  for (int s = 0; s < 40; ++s) {
    const double nx = std::clamp<double>(px + uni(-25, 25), x0 + 8, x0 + w - 8);
    const double ny = std::clamp<double>(py + uni(-25, 25), y0 + 50, y0 + h - 8);
    c.Line(px, py, nx, ny, uni(1, 3), uni(0, 30));
    px = nx;
    py = ny;
  }
  // Text-like strokes: lines of small glyphs.
  for (int line = 0; line < 4; ++line) {
    const int ty = y0 + h - 20 - line * 16;
    for (int gx = x0 + 8; gx < x0 + w - 16; gx += 13) {
      for (int k = 0; k < 3; ++k) {
        const int ax = gx + uni(0, 9), ay = ty + uni(0, 9);
        c.Line(ax, ay, ax + uni(-4, 4), ay + uni(-4, 4), 1, 0);
      }
    }
  }
}

Canvas MakePage(int seed) {
  Canvas c(kPageWidth, kPageHeight, 1);
  std::mt19937 rng(static_cast<unsigned>(seed));
  // Page header and number strip.
  c.Rect(60, 30, kPageWidth - 60, 34, 0);
  for (int x = 80; x < 600; x += 14) c.Line(x, 45, x + 6, 55, 1, 0);
  const int cols = 4, rows = 6, mx = 60, my = 80, gap = 14;
  const int w = (kPageWidth - 2 * mx - (cols - 1) * gap) / cols;
  const int h = (kPageHeight - my - 40 - (rows - 1) * gap) / rows;
  for (int r = 0; r < rows; ++r)
    for (int col = 0; col < cols; ++col) DrawCut(c, rng, mx + col * (w + gap), my + r * (h + gap), w, h);
  return c;
}

// A hall map: white floor, grey block rows with black outlines, coloured halls; the overlay paints
// areas in a few flat colours on white.
Canvas MakeMap(int seed, bool overlay) {
  Canvas c(kMapWidth, kMapHeight, 3);
  std::mt19937 rng(static_cast<unsigned>(seed));
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const uint8_t area_colours[][3] = {{255, 200, 200}, {200, 255, 200}, {200, 200, 255}, {255, 255, 160}};
  for (int block = 0; block < 24; ++block) {
    const int bx = 80 + (block % 8) * 230, by = 120 + (block / 8) * 420;
    if (overlay) {
      c.Paint(bx - 10, by - 10, bx + 200, by + 360, area_colours[block % 4]);
      continue;
    }
    const uint8_t floor_grey[3] = {230, 230, 230};
    c.Paint(bx, by, bx + 190, by + 350, floor_grey);
    for (int s = 0; s < 20; ++s) {
      const int sy = by + 5 + s * 17;
      c.Line(bx + 5, sy, bx + 185, sy, 1, 0);
      if (uni(0, 3) == 0) c.Line(bx + 90, sy + 2, bx + 100, sy + 12, 2, 60);
    }
    c.Line(bx, by, bx + 190, by, 2, 0);
    c.Line(bx, by + 350, bx + 190, by + 350, 2, 0);
  }
  return c;
}

void WritePng(const fs::path& path, const Canvas& c) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(c.width);
  image.height = static_cast<png_uint_32>(c.height);
  image.format = c.channels == 1 ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, c.px.data(), 0, nullptr)) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), image.message);
    std::exit(1);
  }
}

// The page in `form`: one row of PNG samples (big-endian, packed high bits first) per canvas row.
struct PageRows {
  std::vector<uint8_t> bytes;
  size_t row_bytes;
  std::vector<png_color> palette;
  std::vector<png_byte> alphas;
};

PageRows InForm(const Canvas& grey, const PageForm& form) {
  const int depth = form.bit_depth;
  const int samples = form.colour_type == 2 ? 3 : form.colour_type == 6 ? 4 : 1;
  PageRows out;
  out.row_bytes = (static_cast<size_t>(grey.width) * samples * depth + 7) / 8;
  out.bytes.assign(out.row_bytes * grey.height, 0);
  if (form.colour_type == 3) {
    const int entries = 1 << depth;
    for (int i = 0; i < entries; ++i) {
      const auto v = static_cast<png_byte>(i * 255 / (entries - 1));
      out.palette.push_back({v, v, v});
    }
    if (form.trns) {
      out.alphas.assign(static_cast<size_t>(entries), 255);
      out.alphas.back() = 0;
      if (entries >= 4) out.alphas[1] = 128;
    }
  }
  for (int y = 0; y < grey.height; ++y) {
    uint8_t* row = out.bytes.data() + y * out.row_bytes;
    const uint8_t* in = grey.px.data() + static_cast<size_t>(y) * grey.width;
    for (int x = 0; x < grey.width; ++x) {
      const int v = in[x];
      if (depth < 8) {  // grey levels or palette indices, high bits first
        const int bit = x * depth;
        row[bit / 8] |= static_cast<uint8_t>((v >> (8 - depth)) << (8 - depth - bit % 8));
      } else if (depth == 16) {
        row[2 * x] = row[2 * x + 1] = static_cast<uint8_t>(v);  // v * 257
      } else if (samples == 1) {
        row[x] = static_cast<uint8_t>(v);
      } else {  // a warm tint; white stays white (and transparent with alpha)
        uint8_t* p = row + x * samples;
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v * 245 / 255);
        p[2] = static_cast<uint8_t>(v * 225 / 255 + (v == 255 ? 30 : 0));
        if (samples == 4) p[3] = v == 255 ? 0 : 255;
      }
    }
  }
  return out;
}

struct WriteState {
  png_structp png;
  png_infop info;
  FILE* file;
};

// Plain locals only around setjmp.
bool WriteRows(WriteState* s, const PageForm* form, const PageRows* rows, int width, int height) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_init_io(s->png, s->file);
  png_set_IHDR(s->png, s->info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), form->bit_depth,
               form->colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!rows->palette.empty()) {
    png_set_PLTE(s->png, s->info, rows->palette.data(), static_cast<int>(rows->palette.size()));
  }
  if (!rows->alphas.empty()) {
    png_set_tRNS(s->png, s->info, rows->alphas.data(), static_cast<int>(rows->alphas.size()), nullptr);
  }
  png_set_filter(s->png, PNG_FILTER_TYPE_BASE, form->adaptive_filters ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
  png_write_info(s->png, s->info);
  for (int y = 0; y < height; ++y) png_write_row(s->png, rows->bytes.data() + y * rows->row_bytes);
  png_write_end(s->png, nullptr);
  return true;
}

void WritePage(const fs::path& path, const Canvas& grey, const PageForm& form) {
  const PageRows rows = InForm(grey, form);
  WriteState s{};
  s.file = std::fopen(path.c_str(), "wb");
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  s.info = png_create_info_struct(s.png);
  const bool ok = s.file && WriteRows(&s, &form, &rows, grey.width, grey.height);
  png_destroy_write_struct(&s.png, &s.info);
  if (s.file && std::fclose(s.file) != 0) s.file = nullptr;
  if (!ok || !s.file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// ---- (a): decoding alone -----------------------------------------------------------------

struct DecodeState {
  png_structp png;
  png_infop info;
  FILE* file;
};

// Reads the whole image with libpng's own row reader; plain locals only around setjmp.
bool DecodeFile(DecodeState* s, std::vector<uint8_t>* pixels, std::vector<png_bytep>* rows) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_init_io(s->png, s->file);
  png_read_info(s->png, s->info);
  png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);
  const size_t row_bytes = png_get_rowbytes(s->png, s->info);
  const png_uint_32 height = png_get_image_height(s->png, s->info);
  pixels->resize(row_bytes * height);
  rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = pixels->data() + y * row_bytes;
  png_read_image(s->png, rows->data());
  return true;
}

// ---- Text tables ---------------------------------------------------------------------------

// 256 distinct double-byte block names: level-1 kanji from 0x8940 on.
std::vector<std::string> BlockNames() {
  std::vector<std::string> names;
  for (int lead = 0x89; names.size() < kBlocks; ++lead) {
    for (int trail = 0x40; trail <= 0xFC && names.size() < kBlocks; ++trail) {
      if (trail == 0x7F) continue;
      names.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return names;
}

void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
  return line;
}

}  // namespace

const PageForm* FindPageForm(std::string_view name) {
  for (const PageForm& f : kPageForms) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

std::vector<fs::path> GenerateImages(const fs::path& root, int pages, int map_days, bool generate,
                                     const PageForm& form) {
  fs::create_directories(root / "PDATA");
  fs::create_directories(root / "MDATA");
  std::vector<fs::path> files;
  for (int p = 0; p < pages; ++p) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", p + 2);
    files.push_back(root / "PDATA" / name);
    if (generate) WritePage(files.back(), MakePage(p), form);
  }
  for (int d = 1; d <= map_days; ++d) {
    for (const char* g : kHallGroups) {
      const std::string suffix = std::to_string(d) + g + ".png";
      files.push_back(root / "MDATA" / ("MAP" + suffix));
      if (generate) WritePng(files.back(), MakeMap(d * 10 + g[1], false));
      files.push_back(root / "MDATA" / ("GNR" + suffix));
      if (generate) WritePng(files.back(), MakeMap(d * 10 + g[1], true));
    }
  }
  return files;
}

void DecodeOnly(const std::vector<fs::path>& files) {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  for (const fs::path& f : files) {
    DecodeState s{};
    s.file = std::fopen(f.c_str(), "rb");
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    s.info = png_create_info_struct(s.png);
    const bool ok = s.file && DecodeFile(&s, &pixels, &rows);
    png_destroy_read_struct(&s.png, &s.info, nullptr);
    if (s.file) std::fclose(s.file);
    if (!ok) {
      std::fprintf(stderr, "decode failed: %s\n", f.c_str());
      std::exit(1);
    }
  }
}

void GenerateDataTables(const fs::path& root, const DataTableShape& shape) {
  const fs::path cdata = root / "CDATA";
  fs::create_directories(cdata);
  const std::vector<std::string> blocks = BlockNames();
  const std::string east = "\x93\x8C", west = "\x90\xBC";  // 東, 西

  std::vector<std::string> map = {"# block\tspace\tx\ty\tlayout"};
  for (int b = 0; b < kBlocks; ++b) {
    for (int s = 1; s <= kSpacesPerBlock; ++s) {
      map.push_back(Join({blocks[b], std::to_string(s), std::to_string(20 + (b % 32) * 40 + (s > 13 ? 20 : 0)),
                          std::to_string(20 + (b / 32) * 120 + ((s - 1) % 13) * 8), std::to_string(1 + s % 4)}));
    }
  }
  WriteLines(cdata / "C99MAP.TXT", map);

  std::vector<std::string> def = {"*Vandrel", "99\tBench", "*cutInfo", "211\t300\t10\t10\t30\t20", "*mapTableInfo",
                                  "20\t16\t50\t36", "*VandrelGenre"};
  for (int g = 1; g <= 40; ++g) def.push_back(std::to_string(g * 10) + "\tGenre" + std::to_string(g));
  def.push_back("*VandrelMap");
  for (int m = 0; m < 5; ++m) def.push_back("MAP" + std::to_string(m) + "\tHall" + std::to_string(m));
  def.push_back("*VandrelArea");
  for (int a = 0; a < kBlocks / kBlocksPerArea; ++a) {
    std::string set;
    for (int b = a * kBlocksPerArea; b < (a + 1) * kBlocksPerArea; ++b) set += blocks[b];
    def.push_back(Join({"AREA" + std::to_string(a), "MAP" + std::to_string(a % 5), set}));
  }
  def.push_back("*VandrelDate");
  for (int d = 1; d <= kDays; ++d) def.push_back(Join({"2010", "8", std::to_string(12 + d), "\x8B\xE0",
                                                   std::to_string(shape.day_first_page[d - 1])}));
  WriteLines(cdata / "C99DEF.TXT", def);

  std::mt19937 rng(99);
  for (int d = 1; d <= kDays; ++d) {
    const int first_page = shape.day_first_page[d - 1];
    std::vector<std::string> rows;
    rows.reserve(kCirclesPerDay);
    for (int i = 0; i < kCirclesPerDay; ++i) {
      const int b = i * kBlocks / kCirclesPerDay;
      const int within = i - (b * kCirclesPerDay + kBlocks - 1) / kBlocks;
      const std::string n = std::to_string(i);
      rows.push_back(Join({std::to_string(d * 100000 + i), "1", std::to_string(first_page + i / shape.circles_per_page),
                           std::to_string(1 + i % shape.circles_per_page), std::to_string(d), b < 128 ? east : west,
                           blocks[b], std::to_string(1 + (within / 2) % kSpacesPerBlock),
                           std::to_string(10 * (1 + rng() % 40)), "Circle name " + n, "kana" + n,
                           "Author " + n, "http://example.jp/" + n + "/", "c" + n + "@example.jp", "note",
                           "A description of circle " + n + " and of what it brings to the event."}));
    }
    WriteLines(cdata / ("C99ROM" + std::to_string(d) + ".TXT"), rows);
  }
}

}  // namespace dw::bench
