// One byte shuffle turns five 3-byte pixels around at a time. Each step loads 16 bytes, swaps the
// channels of the first 15 and stores the 16th as it was, so the next step, 15 bytes on, finds it
// untouched.
#include "images/channel_order.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>

namespace dw::channel_order {

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

__attribute__((target("ssse3"))) size_t SwapRgb3Ssse3(uint8_t* p, size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  if (pixels * 3 < 16) return 0;
  size_t done = 0;
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  for (;;) {
    // The next 16 bytes are loaded before this step's store overlaps them by one byte: a load
    // after it would wait for the store to complete.
    const bool more = (pixels - done - 5) * 3 >= 16;
    const __m128i next = more ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 15)) : v;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_shuffle_epi8(v, order));
    done += 5;
    p += 15;
    if (!more) return done;
    v = next;
  }
}

}  // namespace dw::channel_order

#else

namespace dw::channel_order {
bool HasSsse3() { return false; }
size_t SwapRgb3Ssse3(uint8_t*, size_t) { return 0; }
}  // namespace dw::channel_order

#endif
