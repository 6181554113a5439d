// Red-green-blue pixels of a decoded row to the blue-green-red order of the canvases, in place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dw {

// Swaps the first and third byte of each of `pixels` pixels of `bpp` (3 or 4) bytes from `p`.
// Bytes past the last pixel are never touched.
void SwapRedAndBlue(uint8_t* p, size_t pixels, size_t bpp);

// The same one pixel at a time: the reference for the vector form.
void SwapRedAndBluePlain(uint8_t* p, size_t pixels, size_t bpp);

namespace channel_order {
// The SSSE3 form for 3 bytes per pixel (channel_order_ssse3.cc): five pixels per step while 16
// bytes remain. Returns the pixels swapped, from the first; false from HasSsse3() where the
// processor lacks the instructions.
size_t SwapRgb3Ssse3(uint8_t* p, size_t pixels);
bool HasSsse3();
}  // namespace channel_order

}  // namespace dw
