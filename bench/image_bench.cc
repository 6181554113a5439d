// Image job benchmark. Generates cut pages (1270 x 1800, 8-bit grey) and hall maps with overlays
// (about 2000 x 1400, RGB), then times in one run:
//   (a) libpng decoding of the same files alone,
//   (b) the image job on one thread,
//   (c) the image job with worker threads,
// and checks that (b) and (c) wrote the same bytes.
//
//   image_bench [--pages N] [--map-days D] [--threads T] [--repeat R] [--only abc] [--keep DIR]
// --only picks the measurements to run (for profiling one of them); --keep generates the images
// into DIR once and reuses them in later runs.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "common/atomic_file.h"
#include "common/status_log.h"
#include "common/table_builder.h"
#include "images/image_conversion.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPageWidth = 1270;
constexpr int kPageHeight = 1800;
constexpr int kMapWidth = 2000;
constexpr int kMapHeight = 1400;
constexpr int kDefaultPages = 40;
constexpr int kDefaultMapDays = 1;
constexpr int kDefaultRepeat = 3;

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

// ---- Timing ------------------------------------------------------------------------------

template <class F>
double BestSeconds(int repeat, F&& f) {
  double best = 1e300;
  for (int r = 0; r < repeat; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

void RunJob(const fs::path& catalog, const fs::path& workspace, int threads) {
  dw::NullStatusLog log;
  dw::ImageConversion job(log);
  job.RootFld = catalog;
  job.DstFld = workspace;
  job.threads = threads;
  job.Run();
}

fs::path MakeWorkspace(const fs::path& base) {
  for (const char* d : {"CDATA", "MDATA", "SYSTEM"}) fs::create_directories(base / d);
  dw::TableBuilder days;  // one day starting at page 2
  days.U8(10).U8(8).U8(13).U8(4).U16(2).SetCount(1);
  days.Save(base / "CDATA" / "L_Date.dat");
  return base;
}

bool SameTree(const fs::path& a, const fs::path& b) {
  for (const auto& e : fs::recursive_directory_iterator(a)) {
    if (!e.is_regular_file()) continue;
    const fs::path other = b / fs::relative(e.path(), a);
    if (!fs::exists(other) || dw::ReadWholeFile(e.path()) != dw::ReadWholeFile(other)) return false;
  }
  return true;
}

const char* Option(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  return fallback;
}

int IntOption(int argc, char** argv, const char* name, int fallback) {
  const char* v = Option(argc, argv, name, nullptr);
  return v ? std::atoi(v) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int pages = std::clamp(IntOption(argc, argv, "--pages", kDefaultPages), 1, 1799);
  const int map_days = std::clamp(IntOption(argc, argv, "--map-days", kDefaultMapDays), 0, 3);
  const int threads = IntOption(argc, argv, "--threads", 0);
  const int repeat = std::max(1, IntOption(argc, argv, "--repeat", kDefaultRepeat));

  const std::string only = Option(argc, argv, "--only", "abc");
  const char* keep = Option(argc, argv, "--keep", nullptr);

  const fs::path base = fs::temp_directory_path() / ("dw-image-bench-" + std::to_string(::getpid()));
  const fs::path catalog = keep ? fs::path(keep) : base / "catalog";
  const bool generate = !keep || !fs::exists(catalog / "PDATA");
  fs::create_directories(catalog / "PDATA");
  fs::create_directories(catalog / "MDATA");
  std::vector<fs::path> files;
  if (generate) {
    std::printf("generating %d pages of %d x %d grey and %d x 3 hall maps of %d x %d RGB ...\n", pages, kPageWidth,
                kPageHeight, map_days, kMapWidth, kMapHeight);
  }
  for (int p = 0; p < pages; ++p) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", p + 2);
    files.push_back(catalog / "PDATA" / name);
    if (generate) WritePng(files.back(), MakePage(p));
  }
  for (int d = 1; d <= map_days; ++d) {
    for (const char* g : {"E123", "E456", "W12"}) {
      const std::string suffix = std::to_string(d) + g + ".png";
      files.push_back(catalog / "MDATA" / ("MAP" + suffix));
      if (generate) WritePng(files.back(), MakeMap(d * 10 + g[1], false));
      files.push_back(catalog / "MDATA" / ("GNR" + suffix));
      if (generate) WritePng(files.back(), MakeMap(d * 10 + g[1], true));
    }
  }
  uintmax_t bytes = 0;
  for (const fs::path& f : files) bytes += fs::file_size(f);
  std::printf("%zu PNG files, %.1f MB\n", files.size(), bytes / 1e6);

  const fs::path single = MakeWorkspace(base / "ws1");
  const fs::path multi = MakeWorkspace(base / "wsN");
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const int worker_threads = threads > 0 ? threads : static_cast<int>(cores);

  const bool run_a = only.find('a') != std::string::npos;
  const bool run_b = only.find('b') != std::string::npos;
  const bool run_c = only.find('c') != std::string::npos;
  const double a = run_a ? BestSeconds(repeat, [&] { DecodeOnly(files); }) : 0;
  const double b = run_b ? BestSeconds(repeat, [&] { RunJob(catalog, single, 1); }) : 0;
  const double c = run_c ? BestSeconds(repeat, [&] { RunJob(catalog, multi, worker_threads); }) : 0;
  const bool same = !run_b || !run_c || (SameTree(single, multi) && SameTree(multi, single));

  std::printf("best of %d runs:\n", repeat);
  if (run_a) std::printf("  (a) libpng decode only      %8.3f s\n", a);
  if (run_b) std::printf("  (b) image job, 1 thread     %8.3f s   b/a = %.2f (target <= 1.5)\n", b, a > 0 ? b / a : 0);
  if (run_c) {
    std::printf("  (c) image job, %d threads    %8.3f s   c/a = %.2f (target <= 0.9)\n", worker_threads, c,
                a > 0 ? c / a : 0);
  }
  if (run_b && run_c) std::printf("  outputs of (b) and (c) %s\n", same ? "are byte-identical" : "DIFFER");
  std::error_code ec;
  fs::remove_all(base, ec);
  return same ? 0 : 1;
}
