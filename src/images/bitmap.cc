#include "images/bitmap.h"

// The resampled bytes must not depend on the compiler fusing a multiply and an add.
// The build passes -ffp-contract=off; clang also honours the pragma.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

#include "common/error.h"

namespace dw {
namespace {

std::atomic<ResampleLoops> g_loops{ResampleLoops::kFastest};

using AxisSpan = ResampleScratch::Span;
using AxisTable = ResampleScratch::Axis;

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

// Rounds a channel mean (0 to just above 255) to the nearest byte, ties to even: adding and
// taking away 1.5 * 2^52 leaves the value rounded to an integer in the default rounding mode,
// which is round half to even. Branch-free, so the pixel loops vectorise.
inline uint8_t RoundHalfEven(double value) {
  constexpr double kRoundingShift = 6755399441055744.0;  // 1.5 * 2^52
  const double rounded = (value + kRoundingShift) - kRoundingShift;
  return static_cast<uint8_t>(static_cast<int>(std::clamp(rounded, 0.0, 255.0)));
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

#if defined(__SSE2__)
// Divides a row of channel sums by the area ratio and rounds them, as RoundHalfEven(sum / area)
// does. A multiplication by 1/area differs from the quotient by far less than 1e-9, so it rounds
// the same way unless it lies that close to a half; only those values are divided.
void DivideAndRound(const double* sums, size_t n, double area, uint8_t* out) {
  constexpr double kTieMargin = 1e-9;
  const __m128d inverse = _mm_set1_pd(1.0 / area);
  const __m128d shift = _mm_set1_pd(6755399441055744.0);  // see RoundHalfEven
  const __m128d half = _mm_set1_pd(0.5);
  const __m128d margin = _mm_set1_pd(kTieMargin);
  const __m128d sign = _mm_set1_pd(-0.0);
  const __m128d zero = _mm_setzero_pd();
  const __m128d top = _mm_set1_pd(255.0);
  size_t i = 0;
  for (; i + 2 <= n; i += 2) {
    const __m128d sum = _mm_loadu_pd(sums + i);
    const __m128d q = _mm_mul_pd(sum, inverse);
    const __m128d r = _mm_sub_pd(_mm_add_pd(q, shift), shift);
    const __m128d off_half = _mm_andnot_pd(sign, _mm_sub_pd(_mm_andnot_pd(sign, _mm_sub_pd(q, r)), half));
    if (_mm_movemask_pd(_mm_cmplt_pd(off_half, margin)) != 0) {
      out[i] = RoundHalfEven(sums[i] / area);
      out[i + 1] = RoundHalfEven(sums[i + 1] / area);
      continue;
    }
    const __m128i bytes = _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(r, zero), top));
    out[i] = static_cast<uint8_t>(_mm_cvtsi128_si32(bytes));
    out[i + 1] = static_cast<uint8_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 4)));
  }
  for (; i < n; ++i) out[i] = RoundHalfEven(sums[i] / area);
}

// HalveChannels<1> four target pixels at a time. SSE2 double arithmetic is the same IEEE
// arithmetic as the scalar form, operation for operation, so the sums are the same.
void HalveGreySse2(const Bitmap& source, const AxisTable& columns, const AxisTable& rows, double area, int w,
                   int h, Bitmap& target, ResampleScratch& scratch) {
  std::vector<double>& wx0 = scratch.wx0;
  std::vector<double>& wx1 = scratch.wx1;
  std::vector<double>& sums = scratch.sums;
  wx0.resize(static_cast<size_t>(w));
  wx1.resize(static_cast<size_t>(w));
  sums.resize(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    const size_t k = columns.spans[static_cast<size_t>(x)].weights;
    wx0[static_cast<size_t>(x)] = columns.weights[k];
    wx1[static_cast<size_t>(x)] = columns.weights[k + 1];
  }
  const __m128i low16 = _mm_set1_epi32(0xFFFF);
  const __m128i no_bytes = _mm_setzero_si128();
  for (int y = 0; y < h; ++y) {
    const size_t k = rows.spans[static_cast<size_t>(y)].weights;
    const double wy0s = rows.weights[k], wy1s = rows.weights[k + 1];
    const __m128d wy0 = _mm_set1_pd(wy0s), wy1 = _mm_set1_pd(wy1s);
    const uint8_t* r0 = source.Row(2 * y);
    const uint8_t* r1 = source.Row(2 * y + 1);
    int x = 0;
    for (; x + 4 <= w; x += 4) {
      // Source columns 2x .. 2x+7 of both rows: even columns and odd columns as 32-bit integers.
      const __m128i v0 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + 2 * x)), no_bytes);
      const __m128i v1 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1 + 2 * x)), no_bytes);
      const __m128i e0 = _mm_and_si128(v0, low16), o0 = _mm_srli_epi32(v0, 16);
      const __m128i e1 = _mm_and_si128(v1, low16), o1 = _mm_srli_epi32(v1, 16);
      for (int half = 0; half < 2; ++half) {
        const __m128i se0 = half ? _mm_srli_si128(e0, 8) : e0, so0 = half ? _mm_srli_si128(o0, 8) : o0;
        const __m128i se1 = half ? _mm_srli_si128(e1, 8) : e1, so1 = half ? _mm_srli_si128(o1, 8) : o1;
        const int xx = x + 2 * half;
        const __m128d a = _mm_loadu_pd(wx0.data() + xx), b = _mm_loadu_pd(wx1.data() + xx);
        __m128d sum = _mm_mul_pd(_mm_mul_pd(a, wy0), _mm_cvtepi32_pd(se0));
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_mul_pd(b, wy0), _mm_cvtepi32_pd(so0)));
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_mul_pd(a, wy1), _mm_cvtepi32_pd(se1)));
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_mul_pd(b, wy1), _mm_cvtepi32_pd(so1)));
        _mm_storeu_pd(sums.data() + xx, sum);
      }
    }
    for (; x < w; ++x) {
      const double a = wx0[static_cast<size_t>(x)], b = wx1[static_cast<size_t>(x)];
      double sum = (a * wy0s) * r0[2 * x];
      sum += (b * wy0s) * r0[2 * x + 1];
      sum += (a * wy1s) * r1[2 * x];
      sum += (b * wy1s) * r1[2 * x + 1];
      sums[static_cast<size_t>(x)] = sum;
    }
    DivideAndRound(sums.data(), static_cast<size_t>(w), area, target.Row(y));
  }
}
#endif

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define DW_RESAMPLE_AVX2 1
// The SSE2 pair of functions four lanes wide, for processors with AVX2 (chosen at run time).
// AVX2 brings no fused multiply-add, so every operation stays the scalar one.
__attribute__((target("avx2"))) void DivideAndRoundAvx2(const double* sums, size_t n, double area, uint8_t* out) {
  constexpr double kTieMargin = 1e-9;
  const __m256d inverse = _mm256_set1_pd(1.0 / area);
  const __m256d shift = _mm256_set1_pd(6755399441055744.0);  // see RoundHalfEven
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d margin = _mm256_set1_pd(kTieMargin);
  const __m256d sign = _mm256_set1_pd(-0.0);
  const __m256d zero = _mm256_setzero_pd();
  const __m256d top = _mm256_set1_pd(255.0);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d sum = _mm256_loadu_pd(sums + i);
    const __m256d q = _mm256_mul_pd(sum, inverse);
    const __m256d r = _mm256_sub_pd(_mm256_add_pd(q, shift), shift);
    const __m256d off_half =
        _mm256_andnot_pd(sign, _mm256_sub_pd(_mm256_andnot_pd(sign, _mm256_sub_pd(q, r)), half));
    if (_mm256_movemask_pd(_mm256_cmp_pd(off_half, margin, _CMP_LT_OQ)) != 0) {
      for (size_t k = i; k < i + 4; ++k) out[k] = RoundHalfEven(sums[k] / area);
      continue;
    }
    const __m128i ints = _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(r, zero), top));
    const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(ints, ints), _mm_setzero_si128());
    const int32_t four = _mm_cvtsi128_si32(bytes);
    std::memcpy(out + i, &four, 4);
  }
  for (; i < n; ++i) out[i] = RoundHalfEven(sums[i] / area);
}

// Four 16-bit lanes (the low or the high half of v) as doubles. A lambda would not inherit the
// enclosing function's target, so this is a function of its own.
__attribute__((target("avx2"))) inline __m256d WidenLanes(__m128i v, int high_half) {
  return _mm256_cvtepi32_pd(_mm_cvtepu16_epi32(high_half ? _mm_srli_si128(v, 8) : v));
}

__attribute__((target("avx2"))) void HalveGreyAvx2(const Bitmap& source, const AxisTable& columns,
                                                   const AxisTable& rows, double area, int w, int h,
                                                   Bitmap& target, ResampleScratch& scratch) {
  std::vector<double>& wx0 = scratch.wx0;
  std::vector<double>& wx1 = scratch.wx1;
  std::vector<double>& sums = scratch.sums;
  wx0.resize(static_cast<size_t>(w));
  wx1.resize(static_cast<size_t>(w));
  sums.resize(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    const size_t k = columns.spans[static_cast<size_t>(x)].weights;
    wx0[static_cast<size_t>(x)] = columns.weights[k];
    wx1[static_cast<size_t>(x)] = columns.weights[k + 1];
  }
  const __m128i low8 = _mm_set1_epi16(0xFF);
  for (int y = 0; y < h; ++y) {
    const size_t k = rows.spans[static_cast<size_t>(y)].weights;
    const double wy0s = rows.weights[k], wy1s = rows.weights[k + 1];
    const __m256d wy0 = _mm256_set1_pd(wy0s), wy1 = _mm256_set1_pd(wy1s);
    const uint8_t* r0 = source.Row(2 * y);
    const uint8_t* r1 = source.Row(2 * y + 1);
    int x = 0;
    for (; x + 8 <= w; x += 8) {
      // Source columns 2x .. 2x+15 of both rows: even columns and odd columns as 16-bit values.
      const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + 2 * x));
      const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + 2 * x));
      const __m128i e0 = _mm_and_si128(v0, low8), o0 = _mm_srli_epi16(v0, 8);
      const __m128i e1 = _mm_and_si128(v1, low8), o1 = _mm_srli_epi16(v1, 8);
      for (int part = 0; part < 2; ++part) {
        const int xx = x + 4 * part;
        const __m256d a = _mm256_loadu_pd(wx0.data() + xx), b = _mm256_loadu_pd(wx1.data() + xx);
        __m256d sum = _mm256_mul_pd(_mm256_mul_pd(a, wy0), WidenLanes(e0, part));
        sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_mul_pd(b, wy0), WidenLanes(o0, part)));
        sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_mul_pd(a, wy1), WidenLanes(e1, part)));
        sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_mul_pd(b, wy1), WidenLanes(o1, part)));
        _mm256_storeu_pd(sums.data() + xx, sum);
      }
    }
    for (; x < w; ++x) {
      const double a = wx0[static_cast<size_t>(x)], b = wx1[static_cast<size_t>(x)];
      double sum = (a * wy0s) * r0[2 * x];
      sum += (b * wy0s) * r0[2 * x + 1];
      sum += (a * wy1s) * r1[2 * x];
      sum += (b * wy1s) * r1[2 * x + 1];
      sums[static_cast<size_t>(x)] = sum;
    }
    DivideAndRoundAvx2(sums.data(), static_cast<size_t>(w), area, target.Row(y));
  }
}

// Blue, green and red of a 3-byte pixel as the lanes 0..2 of a vector of doubles. The 4-byte
// load takes the next pixel's first byte into lane 3, except at the buffer's very last pixel.
__attribute__((target("avx2"))) inline __m256d LoadBgr(const uint8_t* p, const uint8_t* last_pixel) {
  int32_t v;
  if (p != last_pixel) {
    std::memcpy(&v, p, 4);
  } else {
    v = p[0] | (p[1] << 8) | (p[2] << 16);
  }
  return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(v)));
}

// ResampleChannels<3> with the three channel sums of a target pixel in one vector, G target
// pixels (whose column spans have one count) interleaved so that their sums do not wait on each
// other. Each sum receives the same products in the same order as in the scalar form.
template <int G>
__attribute__((target("avx2"))) inline void BgrGroup(const uint8_t* const* src, const AxisSpan& rs, const double* wy,
                                                     const AxisTable& columns, int x, const uint8_t* last_pixel,
                                                     double area, uint8_t* out) {
  const AxisSpan* cs = columns.spans.data() + x;
  const double* wx[G];
  for (int t = 0; t < G; ++t) wx[t] = columns.weights.data() + cs[t].weights;
  __m256d sum[G];
  for (int t = 0; t < G; ++t) sum[t] = _mm256_setzero_pd();
  const int count = cs[0].count;
  for (int jj = 0; jj < rs.count; ++jj) {
    const double wyj = wy[jj];
    const uint8_t* row = src[jj];
    for (int ii = 0; ii < count; ++ii) {
      for (int t = 0; t < G; ++t) {
        const __m256d weight = _mm256_set1_pd(wx[t][ii] * wyj);
        const __m256d px = LoadBgr(row + static_cast<size_t>(cs[t].first + ii) * 3, last_pixel);
        sum[t] = _mm256_add_pd(sum[t], _mm256_mul_pd(weight, px));
      }
    }
  }
  for (int t = 0; t < G; ++t) {
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, sum[t]);
    for (int c = 0; c < 3; ++c) out[(x + t) * 3 + c] = RoundHalfEven(lanes[c] / area);
  }
}

__attribute__((target("avx2"))) void ResampleBgrAvx2(const Bitmap& source, const AxisTable& columns,
                                                     const AxisTable& rows, double area, int w, int h,
                                                     Bitmap& target, ResampleScratch& scratch) {
  constexpr int kGroup = 4;
  std::vector<const uint8_t*>& source_rows = scratch.source_rows;
  source_rows.resize(static_cast<size_t>(source.height));
  for (int j = 0; j < source.height; ++j) source_rows[static_cast<size_t>(j)] = source.Row(j);
  const uint8_t* last_pixel = source.pixels.data() + source.pixels.size() - 3;
  for (int y = 0; y < h; ++y) {
    const AxisSpan& rs = rows.spans[static_cast<size_t>(y)];
    const double* wy = rows.weights.data() + rs.weights;
    const uint8_t* const* src = source_rows.data() + rs.first;
    uint8_t* out = target.Row(y);
    int x = 0;
    while (x < w) {
      const AxisSpan* cs = columns.spans.data() + x;
      if (x + kGroup <= w && cs[1].count == cs[0].count && cs[2].count == cs[0].count &&
          cs[3].count == cs[0].count) {
        BgrGroup<kGroup>(src, rs, wy, columns, x, last_pixel, area, out);
        x += kGroup;
      } else {
        BgrGroup<1>(src, rs, wy, columns, x, last_pixel, area, out);
        ++x;
      }
    }
  }
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// True when every footprint covers exactly the units 2t and 2t+1.
bool IsHalving(const AxisTable& axis) {
  for (size_t t = 0; t < axis.spans.size(); ++t) {
    if (axis.spans[t].count != 2 || axis.spans[t].first != static_cast<int>(2 * t)) return false;
  }
  return true;
}

}  // namespace

Bitmap ToBgr(const Bitmap& source) {
  if (source.channels == 3) return source;
  Bitmap out(source.width, source.height, 3);
  const size_t n = static_cast<size_t>(source.width) * source.height;
  for (size_t i = 0; i < n; ++i) {
    out.pixels[3 * i] = out.pixels[3 * i + 1] = out.pixels[3 * i + 2] = source.pixels[i];
  }
  return out;
}

void MakeWhiteCanvas(Bitmap& canvas, int w, int h, int channels, int keep_w, int keep_h) {
  const size_t bytes = static_cast<size_t>(w) * h * channels;
  const bool reuse = canvas.pixels.size() == bytes && canvas.channels == channels;
  canvas.width = w;
  canvas.height = h;
  canvas.channels = channels;
  if (!reuse) {
    canvas.pixels.assign(bytes, 255);
    return;
  }
  const size_t keep = static_cast<size_t>(std::clamp(keep_w, 0, w)) * channels;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = canvas.Row(y);
    std::fill(row + (y < keep_h ? keep : 0), row + canvas.stride(), 255);
  }
}

void DrawAt00(const Bitmap& source, Bitmap& target) {
  const int w = std::min(source.width, target.width);
  const int h = std::min(source.height, target.height);
  if (w <= 0) return;
  for (int y = 0; y < h; ++y) {
    std::copy_n(source.Row(y), static_cast<size_t>(w) * source.channels, target.Row(y));
  }
}

void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target) {
  ResampleScratch scratch;
  ResampleInto(source, w, h, target, scratch);
}

void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target, ResampleScratch& scratch) {
  if (source.width <= 0 || source.height <= 0 || w <= 0 || h <= 0 || target.width < w ||
      target.height < h || target.channels != source.channels) {
    throw Error("Assertion failure (common/BitmapUtils)");
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
  const bool avx2 = loops == ResampleLoops::kFastest && HasAvx2();
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
      HalveGreyAvx2(source, columns, rows, area, w, h, target, scratch);
#endif
#if defined(__SSE2__)
    } else if (sse2) {
      HalveGreySse2(source, columns, rows, area, w, h, target, scratch);
#endif
    } else {
      HalveChannels<1>(source, columns, rows, area, w, h, target, scratch);
    }
  } else {
#if defined(DW_RESAMPLE_AVX2)
    if (avx2) {
      ResampleBgrAvx2(source, columns, rows, area, w, h, target, scratch);
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
    throw Error("Assertion failure (common/BitmapUtils)");
  }
  Bitmap target(w, h, source.channels);
  ResampleInto(source, w, h, target);
  return target;
}

}  // namespace dw
