// SSE2 and AVX2 forms of the resampling loops. Every vector operation is the scalar IEEE
// operation of the plain loop, in the same order, so the bytes are the same; the build keeps
// floating-point sums unfused (-ffp-contract=off) for this library.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

#include "images/resample_parts.h"

namespace dw::resample {

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

}  // namespace dw::resample
