// ResampleBitmap: the area-averaging resize, its plain loops and the choice among the loop forms.
// The bytes must not depend on the compiler fusing a multiply and an add: the build passes
// -ffp-contract=off for this library; clang also honours the pragma.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

#include <algorithm>
#include <atomic>
#include <cmath>

#include "common/messages.h"
#include "images/bitmap.h"
#include "images/resample_parts.h"

namespace dw {
namespace {

using resample::AxisSpan;
using resample::AxisTable;
using resample::RoundHalfEven;

std::atomic<ResampleLoops> g_loops{ResampleLoops::kFastest};

// Footprint [t*scale, (t+1)*scale - EPS] of every target position t, and the covered part of each
// source unit [i, i+1] in it, by the four cases of the box filter.
void BuildAxis(int target_length, int source_length, double scale, AxisTable& table) {
  table.spans.resize(static_cast<size_t>(target_length));
  table.weights.clear();
  for (int t = 0; t < target_length; ++t) {
    const double a0 = static_cast<double>(t) * scale;
    const double a1 = static_cast<double>(t + 1) * scale - kResampleEps;
    const int first = static_cast<int>(std::floor(a0));
    // The last footprint ends EPS short of the source's end; the bound only guards the memory.
    const int last = std::min(static_cast<int>(std::floor(a1)), source_length - 1);
    AxisSpan& span = table.spans[static_cast<size_t>(t)];
    span.first = first;
    span.count = std::max(0, last - first + 1);
    span.weights = table.weights.size();
    for (int i = first; i <= last; ++i) {
      const double lo = static_cast<double>(i);
      const double hi = static_cast<double>(i + 1);
      double w;
      if (lo > a0 && hi < a1) {
        w = 1;
      } else if (lo <= a0 && hi < a1) {
        w = hi - a0;
      } else if (lo > a0 && hi >= a1) {
        w = a1 - lo;
      } else {
        w = a1 - a0;
      }
      table.weights.push_back(w);
    }
  }
}

// Rows outer, columns inner; per source pixel (wx*wy)*channel is added to each channel's sum.
template <int C>
void ResampleChannels(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area,
                      int w, int h, Bitmap& target, ResampleScratch& scratch) {
  std::vector<const uint8_t*>& source_rows = scratch.source_rows;
  source_rows.resize(static_cast<size_t>(source.height));
  for (int j = 0; j < source.height; ++j) source_rows[static_cast<size_t>(j)] = source.Row(j);
  std::vector<uint8_t*>& target_rows = scratch.target_rows;
  target_rows.resize(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) target_rows[static_cast<size_t>(y)] = target.Row(y);

  for (int y = 0; y < h; ++y) {
    const AxisSpan& rs = rows.spans[static_cast<size_t>(y)];
    const double* wy = rows.weights.data() + rs.weights;
    const uint8_t* const* src = source_rows.data() + rs.first;
    uint8_t* out = target_rows[static_cast<size_t>(y)];
    for (int x = 0; x < w; ++x) {
      const AxisSpan& cs = columns.spans[static_cast<size_t>(x)];
      const double* wx = columns.weights.data() + cs.weights;
      double sum[C] = {};
      for (int jj = 0; jj < rs.count; ++jj) {
        const uint8_t* p = src[jj] + static_cast<size_t>(cs.first) * C;
        const double wyj = wy[jj];
        for (int ii = 0; ii < cs.count; ++ii) {
          const double weight = wx[ii] * wyj;
          for (int c = 0; c < C; ++c) sum[c] += weight * p[ii * C + c];
        }
      }
      for (int c = 0; c < C; ++c) out[x * C + c] = RoundHalfEven(sum[c] / area);
    }
  }
}

// The same sums for the halving case, where every footprint covers source columns 2x, 2x+1 and
// rows 2y, 2y+1, with the span look-ups taken out of the pixel loop. The additions keep their
// order (row 2y: column 2x, then 2x+1; then row 2y+1).
template <int C>
void HalveChannels(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area, int w,
                   int h, Bitmap& target, ResampleScratch& scratch) {
  std::vector<double>& wx0 = scratch.wx0;
  std::vector<double>& wx1 = scratch.wx1;
  wx0.resize(static_cast<size_t>(w));
  wx1.resize(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    const size_t k = columns.spans[static_cast<size_t>(x)].weights;
    wx0[static_cast<size_t>(x)] = columns.weights[k];
    wx1[static_cast<size_t>(x)] = columns.weights[k + 1];
  }
  for (int y = 0; y < h; ++y) {
    const size_t k = rows.spans[static_cast<size_t>(y)].weights;
    const double wy0 = rows.weights[k], wy1 = rows.weights[k + 1];
    const uint8_t* __restrict r0 = source.Row(2 * y);
    const uint8_t* __restrict r1 = source.Row(2 * y + 1);
    uint8_t* __restrict out = target.Row(y);
    for (int x = 0; x < w; ++x) {
      const double a = wx0[static_cast<size_t>(x)], b = wx1[static_cast<size_t>(x)];
      const double w00 = a * wy0, w01 = b * wy0, w10 = a * wy1, w11 = b * wy1;
      for (int c = 0; c < C; ++c) {
        double sum = w00 * r0[(2 * x) * C + c];
        sum += w01 * r0[(2 * x + 1) * C + c];
        sum += w10 * r1[(2 * x) * C + c];
        sum += w11 * r1[(2 * x + 1) * C + c];
        out[x * C + c] = RoundHalfEven(sum / area);
      }
    }
  }
}

// True when every footprint covers exactly the units 2t and 2t+1.
bool IsHalving(const AxisTable& axis) {
  for (size_t t = 0; t < axis.spans.size(); ++t) {
    if (axis.spans[t].count != 2 || axis.spans[t].first != static_cast<int>(2 * t)) return false;
  }
  return true;
}

}  // namespace

void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target) {
  ResampleScratch scratch;
  ResampleInto(source, w, h, target, scratch);
}

void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target, ResampleScratch& scratch) {
  if (source.width <= 0 || source.height <= 0 || w <= 0 || h <= 0 || target.width < w ||
      target.height < h || target.channels != source.channels) {
    throw InternalError("Assertion failure (common/BitmapUtils)");
  }
  const int W = source.width, H = source.height;
  const double sx = static_cast<double>(W) / w;
  const double sy = static_cast<double>(H) / h;
  // The area ratio is held in single precision; every channel is divided by that value.
  const float area = static_cast<float>(static_cast<double>(static_cast<int64_t>(W) * H) / w / h);
  const AxisTable& columns = scratch.columns;
  const AxisTable& rows = scratch.rows;
  BuildAxis(w, W, sx, scratch.columns);
  BuildAxis(h, H, sy, scratch.rows);
  const bool halving = IsHalving(columns) && IsHalving(rows);
  const ResampleLoops loops = g_loops.load(std::memory_order_relaxed);
#if defined(DW_RESAMPLE_AVX2)
  const bool avx2 = loops == ResampleLoops::kFastest && resample::HasAvx2();
#else
  const bool avx2 = false;
#endif
#if defined(__SSE2__)
  const bool sse2 = loops != ResampleLoops::kPortable;
#else
  const bool sse2 = false;
#endif
  if (source.channels == 1) {
    if (!halving) {
      ResampleChannels<1>(source, columns, rows, area, w, h, target, scratch);
#if defined(DW_RESAMPLE_AVX2)
    } else if (avx2) {
      resample::HalveGreyAvx2(source, columns, rows, area, w, h, target, scratch);
#endif
#if defined(__SSE2__)
    } else if (sse2) {
      resample::HalveGreySse2(source, columns, rows, area, w, h, target, scratch);
#endif
    } else {
      HalveChannels<1>(source, columns, rows, area, w, h, target, scratch);
    }
  } else {
#if defined(DW_RESAMPLE_AVX2)
    if (avx2) {
      resample::ResampleBgrAvx2(source, columns, rows, area, w, h, target, scratch);
      return;
    }
#endif
    (halving ? HalveChannels<3> : ResampleChannels<3>)(source, columns, rows, area, w, h, target, scratch);
  }
  (void)sse2;
}

void SetResampleLoops(ResampleLoops loops) { g_loops.store(loops, std::memory_order_relaxed); }

Bitmap ResampleBitmap(const Bitmap& source, int w, int h) {
  if (source.width <= 0 || source.height <= 0 || w <= 0 || h <= 0) {
    throw InternalError("Assertion failure (common/BitmapUtils)");
  }
  Bitmap target(w, h, source.channels);
  ResampleInto(source, w, h, target);
  return target;
}

}  // namespace dw
