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
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_options.h"
#include "catalog_generator.h"
#include "common/atomic_file.h"
#include "common/status_log.h"
#include "common/table_builder.h"
#include "images/image_conversion.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultPages = 40;
constexpr int kDefaultMapDays = 1;
constexpr int kDefaultRepeat = 3;

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


}  // namespace

int main(int argc, char** argv) {
  const int pages = std::clamp(dw::bench::IntOption(argc, argv, "--pages", kDefaultPages), 1, 1799);
  const int map_days = std::clamp(dw::bench::IntOption(argc, argv, "--map-days", kDefaultMapDays), 0, 3);
  const int threads = dw::bench::IntOption(argc, argv, "--threads", 0);
  const int repeat = std::max(1, dw::bench::IntOption(argc, argv, "--repeat", kDefaultRepeat));

  const std::string only = dw::bench::Option(argc, argv, "--only", "abc");
  const char* keep = dw::bench::Option(argc, argv, "--keep", nullptr);

  const fs::path base = fs::temp_directory_path() / ("dw-image-bench-" + std::to_string(::getpid()));
  const fs::path catalog = keep ? fs::path(keep) : base / "catalog";
  const bool generate = !keep || !fs::exists(catalog / "PDATA");
  if (generate) {
    std::printf("generating %d pages of %d x %d grey and %d x 3 hall maps of %d x %d RGB ...\n", pages,
                dw::bench::kPageWidth, dw::bench::kPageHeight, map_days, dw::bench::kMapWidth,
                dw::bench::kMapHeight);
  }
  const std::vector<fs::path> files = dw::bench::GenerateImages(catalog, pages, map_days, generate);
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
  const double a = run_a ? BestSeconds(repeat, [&] { dw::bench::DecodeOnly(files); }) : 0;
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
