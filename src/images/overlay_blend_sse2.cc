// SSE2 form of the overlay blend: 16 pixels (48 bytes, three vectors) per step. Every channel is
// blended in 16-bit lanes; which pixels keep the result (overlay not white, some channel of the
// result at least 128) is decided on bit masks of the 48 bytes, three bits to a pixel.
#include "images/overlay_blend_parts.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace dw::blend {
namespace {

// a + (b - a) * 127 / 255, the quotient truncated towards zero, for eight 16-bit lanes. For
// 0 <= x <= 32385, x / 255 = (x * 0x8081) >> 23.
__m128i BlendLanes(__m128i a, __m128i b) {
  const __m128i t = _mm_mullo_epi16(_mm_sub_epi16(b, a), _mm_set1_epi16(127));
  const __m128i sign = _mm_srai_epi16(t, 15);
  const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(t, sign), sign);
  const __m128i quotient = _mm_srli_epi16(_mm_mulhi_epu16(magnitude, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
  return _mm_add_epi16(a, _mm_sub_epi16(_mm_xor_si128(quotient, sign), sign));
}

__m128i BlendBytes(__m128i a, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_packus_epi16(BlendLanes(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                          BlendLanes(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)));
}

// The 16 bytes whose bits are set in `bits` as 0xFF, the others 0.
__m128i ByteMask(unsigned bits) {
  const __m128i each = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
  constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
  const __m128i spread = _mm_set_epi64x(static_cast<long long>(kEveryByte * ((bits >> 8) & 0xFF)),
                                        static_cast<long long>(kEveryByte * (bits & 0xFF)));
  return _mm_cmpeq_epi8(_mm_and_si128(spread, each), each);
}

}  // namespace

int Blend16Sse2(uint8_t* map, const uint8_t* overlay, int pixels) {
  constexpr uint64_t kFirstBytes = 0x249249249249ULL;  // bit 3k for the 16 pixels k
  const __m128i white = _mm_set1_epi8(-1);
  int x = 0;
  for (; x + 16 <= pixels; x += 16) {
    const __m128i* b_at = reinterpret_cast<const __m128i*>(overlay + 3 * x);
    __m128i* a_at = reinterpret_cast<__m128i*>(map + 3 * x);
    __m128i b[3], n[3], a[3];
    uint64_t white_bytes = 0, bright_bytes = 0;
    for (int k = 0; k < 3; ++k) {
      b[k] = _mm_loadu_si128(b_at + k);
      white_bytes |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b[k], white)))} << (16 * k);
    }
    if (white_bytes == 0xFFFFFFFFFFFFULL) continue;
    for (int k = 0; k < 3; ++k) {
      a[k] = _mm_loadu_si128(a_at + k);
      n[k] = BlendBytes(a[k], b[k]);
      bright_bytes |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(n[k]))} << (16 * k);  // bit 7: >= 128
    }
    const uint64_t white_pixels = white_bytes & (white_bytes >> 1) & (white_bytes >> 2);
    const uint64_t bright_pixels = bright_bytes | (bright_bytes >> 1) | (bright_bytes >> 2);
    uint64_t keep = bright_pixels & ~white_pixels & kFirstBytes;
    keep |= (keep << 1) | (keep << 2);
    for (int k = 0; k < 3; ++k) {
      const __m128i mask = ByteMask(static_cast<unsigned>(keep >> (16 * k)) & 0xFFFF);
      _mm_storeu_si128(a_at + k, _mm_or_si128(_mm_and_si128(mask, n[k]), _mm_andnot_si128(mask, a[k])));
    }
  }
  return x;
}

}  // namespace dw::blend
#endif
