// The pieces that the plain and the SIMD resampling loops share: the footprint tables of one
// axis and the rounding of a channel mean. Internal to the image library.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "images/bitmap.h"

namespace dw::resample {

using AxisSpan = ResampleScratch::Span;
using AxisTable = ResampleScratch::Axis;

// Rounds a channel mean (0 to just above 255) to the nearest byte, ties to even: adding and
// taking away 1.5 * 2^52 leaves the value rounded to an integer in the default rounding mode,
// which is round half to even. Branch-free, so the pixel loops vectorise.
inline uint8_t RoundHalfEven(double value) {
  constexpr double kRoundingShift = 6755399441055744.0;  // 1.5 * 2^52
  const double rounded = (value + kRoundingShift) - kRoundingShift;
  return static_cast<uint8_t>(static_cast<int>(std::clamp(rounded, 0.0, 255.0)));
}

// The SIMD forms of the pixel loops (resample_simd.cc). Each gives the plain loop's bytes and
// keeps its working rows in `scratch`.
#if defined(__SSE2__)
void HalveGreySse2(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area, int w,
                   int h, Bitmap& target, ResampleScratch& scratch);
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define DW_RESAMPLE_AVX2 1
bool HasAvx2();
void HalveGreyAvx2(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area, int w,
                   int h, Bitmap& target, ResampleScratch& scratch);
void ResampleBgrAvx2(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area, int w,
                   int h, Bitmap& target, ResampleScratch& scratch);
#endif

}  // namespace dw::resample
