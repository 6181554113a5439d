#include "images/overlay_blend.h"

#include "images/overlay_blend_parts.h"

namespace dw {
namespace {

constexpr int kWhiteStretch = 16;  // pixels

// Whether the kWhiteStretch pixels (3 bytes each) at `p` are all white.
bool AllWhite(const uint8_t* p) {
  uint8_t all = 255;
  for (int i = 0; i < 3 * kWhiteStretch; ++i) all &= p[i];
  return all == 255;
}

}  // namespace

void BlendRowPlain(uint8_t* map, const uint8_t* overlay, int pixels) {
  int x = 0;
  for (; x + kWhiteStretch <= pixels; x += kWhiteStretch) {
    if (AllWhite(overlay + 3 * x)) continue;
    for (int k = x; k < x + kWhiteStretch; ++k) BlendPixel(map + 3 * k, overlay + 3 * k);
  }
  for (; x < pixels; ++x) BlendPixel(map + 3 * x, overlay + 3 * x);
}

void BlendRow(uint8_t* map, const uint8_t* overlay, int pixels) {
  int done = 0;
#if defined(DW_BLEND_SSE2)
  done = blend::Blend16Sse2(map, overlay, pixels);
#endif
  BlendRowPlain(map + 3 * done, overlay + 3 * done, pixels - done);
}

}  // namespace dw
