#include "images/channel_order.h"

#include <utility>

namespace dw {

void SwapRedAndBluePlain(uint8_t* p, size_t pixels, size_t bpp) {
  for (size_t i = 0; i < pixels; ++i, p += bpp) std::swap(p[0], p[2]);
}

void SwapRedAndBlue(uint8_t* p, size_t pixels, size_t bpp) {
  size_t done = 0;
  if (bpp == 3 && channel_order::HasSsse3()) done = channel_order::SwapRgb3Ssse3(p, pixels);
  SwapRedAndBluePlain(p + done * bpp, pixels - done, bpp);
}

}  // namespace dw
