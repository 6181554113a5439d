#include "images/palette.h"

namespace dw {

void SharedPalette::Reset() {
  entries_.fill(0);
  lookup_.fill(0);
  count_ = 0;
  merged_ = 0;
}

uint8_t SharedPalette::Assign(uint16_t colour15) {
  uint8_t index;
  if (count_ < kMaxPaletteColours) {
    index = static_cast<uint8_t>(++count_);
    entries_[index] = colour15;
  } else {
    index = Nearest(colour15);
    ++merged_;
  }
  lookup_[colour15] = index;
  return index;
}

uint8_t SharedPalette::Nearest(uint16_t colour15) const {
  const int r = colour15 & 31, g = (colour15 >> 5) & 31, b = (colour15 >> 10) & 31;
  int best = 1;
  int best_distance = 1 << 30;
  for (int i = 1; i <= count_; ++i) {
    const uint16_t e = entries_[static_cast<size_t>(i)];
    const int dr = (e & 31) - r, dg = ((e >> 5) & 31) - g, db = ((e >> 10) & 31) - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

std::string SharedPalette::FileBytes() const {
  std::string out;
  out.reserve(2 * kPaletteEntries);
  for (uint16_t e : entries_) {
    out.push_back(static_cast<char>(e & 0xFF));
    out.push_back(static_cast<char>(e >> 8));
  }
  return out;
}

}  // namespace dw
