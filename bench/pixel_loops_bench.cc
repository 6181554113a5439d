// Pixel loop benchmark: the time per row of 2000 pixels of the vector loops where the processor
// has them against their plain forms:
//   - UnfilterRow / UnfilterRowPlain for each filter type at 3 and 4 bytes per pixel, on rows of
//     random bytes, each row's result the next row's prior, as in an image;
//   - BlendRow / BlendRowPlain on a hall-map row under an overlay of coloured areas 210 pixels
//     wide with 20 white pixels between them;
//   - SwapRedAndBlue / SwapRedAndBluePlain on rows of 3 bytes per pixel.
//
//   pixel_loops_bench [--rows R]
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "bench_options.h"
#include "images/channel_order.h"
#include "images/overlay_blend.h"
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
      std::printf("  unfilter, %zu bytes per pixel, filter %d: %7.2f / %7.2f  (%.2f x)\n", bpp, filter, micros[0],
                  micros[1], micros[1] / micros[0]);
    }
  }

  std::vector<uint8_t> map(3 * kPixels), overlay(3 * kPixels, 255), row(3 * kPixels);
  for (uint8_t& b : map) b = static_cast<uint8_t>(200 + rng() % 56);
  for (size_t x = 0; x < kPixels; ++x) {
    if (x % 230 >= 210) continue;
    overlay[3 * x] = 200;
    overlay[3 * x + 1] = 255;
    overlay[3 * x + 2] = static_cast<uint8_t>(200 + x / 230 % 2 * 55);
  }
  double micros[2];
  for (int vector = 0; vector < 2; ++vector) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rows; ++r) {
      row = map;
      (vector ? dw::BlendRow : dw::BlendRowPlain)(row.data(), overlay.data(), static_cast<int>(kPixels));
    }
    micros[vector] = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rows;
  }
  std::printf("  overlay blend (the row's copy included): %7.2f / %7.2f  (%.2f x)\n", micros[0], micros[1],
              micros[1] / micros[0]);

  std::vector<uint8_t> rgb(3 * kPixels);
  for (uint8_t& b : rgb) b = static_cast<uint8_t>(rng());
  for (int vector = 0; vector < 2; ++vector) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rows; ++r) (vector ? dw::SwapRedAndBlue : dw::SwapRedAndBluePlain)(rgb.data(), kPixels, 3);
    micros[vector] = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rows;
  }
  std::printf("  red and blue swapped, 3 bytes per pixel: %7.2f / %7.2f  (%.2f x)\n", micros[0], micros[1],
              micros[1] / micros[0]);
}
