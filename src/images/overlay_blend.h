// Blending a hall map's colour overlay onto the map, a row at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace dw {

// (d * 127) / 255 truncated towards zero, for d = -255 .. 255 at [d + 255].
inline constexpr std::array<int16_t, 511> kBlendSteps = [] {
  std::array<int16_t, 511> steps{};
  for (int d = -255; d <= 255; ++d) steps[static_cast<size_t>(d + 255)] = static_cast<int16_t>(d * 127 / 255);
  return steps;
}();

// Moves the blue-green-red map pixel `a` about half way towards the overlay pixel `b`
// (a + (b - a) * 127 / 255 per channel), unless `b` is white or the result would be dark (no
// channel reaching 128).
inline void BlendPixel(uint8_t* a, const uint8_t* b) {
  constexpr int kDarkLimit = 128;
  if ((b[0] & b[1] & b[2]) == 255) return;
  const int n0 = a[0] + kBlendSteps[static_cast<size_t>(b[0] - a[0] + 255)];
  const int n1 = a[1] + kBlendSteps[static_cast<size_t>(b[1] - a[1] + 255)];
  const int n2 = a[2] + kBlendSteps[static_cast<size_t>(b[2] - a[2] + 255)];
  if ((n0 | n1 | n2) < kDarkLimit) return;
  a[0] = static_cast<uint8_t>(n0);
  a[1] = static_cast<uint8_t>(n1);
  a[2] = static_cast<uint8_t>(n2);
}

// BlendPixel for each of the `pixels` pixels of a map row and an overlay row (3 bytes each),
// sixteen pixels at a time in vector registers where the processor has them. Stretches of sixteen
// white overlay pixels are skipped whole.
void BlendRow(uint8_t* map, const uint8_t* overlay, int pixels);

// The same one pixel at a time: the reference the vector form is tested against.
void BlendRowPlain(uint8_t* map, const uint8_t* overlay, int pixels);

}  // namespace dw
