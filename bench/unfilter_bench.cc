// Row filter benchmark: the time per row of 2000 pixels of UnfilterRow (vector loops where the
// processor has them) and of UnfilterRowPlain, for each filter type at 3 and 4 bytes per pixel,
// on rows of random bytes. Each row's result feeds the next row's prior, as in an image.
//
//   unfilter_bench [--rows R]
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "bench_options.h"
#include "images/png_unfilter.h"

int main(int argc, char** argv) {
  const int rows = dw::bench::IntOption(argc, argv, "--rows", 5000);
  constexpr size_t kPixels = 2000;
  std::mt19937 rng(1);
  std::printf("microseconds per row of %zu pixels (%d rows), plain / vector loops:\n", kPixels, rows);
  for (size_t bpp : {3, 4}) {
    const size_t n = kPixels * bpp;
    std::vector<uint8_t> in(n), prior(n), row(n);
    for (uint8_t& b : in) b = static_cast<uint8_t>(rng());
    for (uint8_t& b : prior) b = static_cast<uint8_t>(rng());
    for (uint8_t filter = 1; filter <= 4; ++filter) {
      double micros[2];
      for (int vector = 0; vector < 2; ++vector) {
        const auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < rows; ++r) {
          (vector ? dw::UnfilterRow : dw::UnfilterRowPlain)(filter, in.data(), prior.data(), row.data(), n, bpp);
          prior.swap(row);
        }
        micros[vector] = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rows;
      }
      std::printf("  %zu bytes per pixel, filter %d: %7.2f / %7.2f  (%.2f x)\n", bpp, filter, micros[0], micros[1],
                  micros[1] / micros[0]);
    }
  }
}
