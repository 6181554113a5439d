// SSE2 forms of the sub and average filters for 3 and 4 bytes per pixel: each step takes one
// whole pixel, so the chain from pixel to pixel is one vector operation long instead of one per
// byte. (Paeth stays plain: its chain in 16-bit lanes is no shorter than the plain loop's, which
// runs the channels side by side.)
#include <cstring>

#include "images/png_unfilter_parts.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace dw::unfilter {
namespace {

// A pixel of kBpp bytes in the low bytes of a vector (the rest zero), and back. Exactly kBpp
// bytes are read and written: rows may be packed against each other and against their input.
template <size_t kBpp>
inline __m128i Load(const uint8_t* p) {
  uint32_t v;
  if constexpr (kBpp == 4) {
    std::memcpy(&v, p, 4);
  } else {
    v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
  }
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <size_t kBpp>
inline void Store(uint8_t* p, __m128i pixel) {
  const uint32_t v = static_cast<uint32_t>(_mm_cvtsi128_si32(pixel));
  if constexpr (kBpp == 4) {
    std::memcpy(p, &v, 4);
  } else {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
  }
}

template <size_t kBpp>
void Sub(const uint8_t* in, uint8_t* row, size_t n) {
  __m128i a = _mm_setzero_si128();
  for (size_t x = 0; x < n; x += kBpp) {
    a = _mm_add_epi8(a, Load<kBpp>(in + x));
    Store<kBpp>(row + x, a);
  }
}

// (a + b) >> 1 per byte: the rounded-up mean less the bit it rounded up.
template <size_t kBpp>
void Average(const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (size_t x = 0; x < n; x += kBpp) {
    const __m128i b = Load<kBpp>(prior + x);
    const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(Load<kBpp>(in + x), mean);
    Store<kBpp>(row + x, a);
  }
}

}  // namespace

void Sub3Sse2(const uint8_t* in, uint8_t* row, size_t n) { Sub<3>(in, row, n); }
void Sub4Sse2(const uint8_t* in, uint8_t* row, size_t n) { Sub<4>(in, row, n); }
void Average3Sse2(const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n) { Average<3>(in, prior, row, n); }
void Average4Sse2(const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n) { Average<4>(in, prior, row, n); }

}  // namespace dw::unfilter
#endif
