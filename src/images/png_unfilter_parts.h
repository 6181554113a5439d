// The vector forms of the pixel-by-pixel filters (png_unfilter_sse2.cc). Internal to the image
// library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dw::unfilter {

#if defined(__SSE2__)
#define DW_UNFILTER_SSE2 1
// Sub (1) and average (3) rows of 3 or 4 bytes per pixel, one pixel per step, with
// UnfilterRowPlain's bytes and its rule for `row` over `in`.
void Sub3Sse2(const uint8_t* in, uint8_t* row, size_t n);
void Sub4Sse2(const uint8_t* in, uint8_t* row, size_t n);
void Average3Sse2(const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n);
void Average4Sse2(const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n);
#endif

}  // namespace dw::unfilter
