// The vector form of the overlay blend (overlay_blend_sse2.cc). Internal to the image library.
#pragma once

#include <cstdint>

namespace dw::blend {

#if defined(__SSE2__)
#define DW_BLEND_SSE2 1
// Blends the row's pixels sixteen at a time as BlendPixel does; returns how many pixels it took
// (a multiple of 16), leaving the rest to the caller.
int Blend16Sse2(uint8_t* map, const uint8_t* overlay, int pixels);
#endif

}  // namespace dw::blend
