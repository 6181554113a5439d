#include "images/colour_runs.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "images/palette.h"

namespace dw {
namespace {

// Grey g stands for blue = green = red = g.
constexpr uint16_t kGreyToColour15 = 1 | (1 << 5) | (1 << 10);
// The bits of a channel that survive the reduction to 5 bits.
constexpr uint8_t kKeptBits = 0xF8;

template <int C>
inline uint16_t ColourAt(const uint8_t* p) {
  if constexpr (C == 1) {
    return static_cast<uint16_t>((p[0] >> 3) * kGreyToColour15);
  } else {
    return Colour15(p[0], p[1], p[2]);
  }
}

// Collects runs from the run starts that a scan reports, in order.
template <int C>
class RunCollector {
 public:
  RunCollector(const uint8_t* pixels, int excluded, ColourRuns& out) : pixels_(pixels), out_(out) {
    seen_.fill(0);
    if (excluded >= 0) seen_[static_cast<size_t>(excluded)] = 1;
  }
  // A new run starts at pixel `start` (> the previous start).
  void StartAt(size_t start) {
    const uint16_t colour = ColourAt<C>(pixels_ + start_ * C);
    out_.runs.push_back({colour, static_cast<uint32_t>(start - start_)});
    if (!seen_[colour]) {
      seen_[colour] = 1;
      out_.first_seen.push_back(colour);
    }
    start_ = start;
  }

 private:
  const uint8_t* pixels_;
  ColourRuns& out_;
  std::array<uint8_t, kColour15Count> seen_;
  size_t start_ = 0;
};

// Finds the pixels whose reduced colour differs from their left neighbour's (the rows are packed,
// so the pixels form one sequence). Sixteen bytes are compared at a time where SSE2 is at hand.
template <int C>
void ScanRuns(const uint8_t* p, size_t pixels, RunCollector<C>& runs) {
  size_t i = 1;
#if defined(__SSE2__)
  // Pixels i .. i+k-1 against i-1 .. i+k-2, k pixels per 16-byte load (5 for 3-byte pixels).
  constexpr size_t kPixelsPerBlock = C == 1 ? 16 : 5;
  const __m128i keep = _mm_set1_epi8(static_cast<char>(kKeptBits));
  const size_t bytes = pixels * C;
  while (i * C + 16 <= bytes) {
    const __m128i now = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i * C)), keep);
    const __m128i before = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + (i - 1) * C)), keep);
    unsigned changed = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(now, before))) & 0xFFFF;
    if constexpr (C == 1) {
      while (changed != 0) {
        runs.StartAt(i + static_cast<size_t>(__builtin_ctz(changed)));
        changed &= changed - 1;
      }
    } else {
      for (size_t k = 0; changed != 0 && k < kPixelsPerBlock; ++k, changed >>= 3) {
        if (changed & 7) runs.StartAt(i + k);
      }
    }
    i += kPixelsPerBlock;
  }
#endif
  for (; i < pixels; ++i) {
    bool differs = false;
    for (int c = 0; c < C; ++c) differs |= ((p[i * C + c] ^ p[(i - 1) * C + c]) & kKeptBits) != 0;
    if (differs) runs.StartAt(i);
  }
}

}  // namespace

ColourRuns RunsOf(const Bitmap& image, int excluded) {
  ColourRuns out;
  RunsInto(image, out, excluded);
  return out;
}

void RunsInto(const Bitmap& image, ColourRuns& out, int excluded) {
  out.width = image.width;
  out.height = image.height;
  out.runs.clear();
  out.first_seen.clear();
  const size_t pixels = static_cast<size_t>(image.width) * image.height;
  if (pixels == 0) return;
  if (image.channels == 1) {
    RunCollector<1> runs(image.pixels.data(), excluded, out);
    ScanRuns<1>(image.pixels.data(), pixels, runs);
    runs.StartAt(pixels);  // closes the last run
  } else {
    RunCollector<3> runs(image.pixels.data(), excluded, out);
    ScanRuns<3>(image.pixels.data(), pixels, runs);
    runs.StartAt(pixels);
  }
}

ColourRuns RunsPool::Take() {
  std::lock_guard lock(mutex_);
  if (free_.empty()) return {};
  ColourRuns runs = std::move(free_.back());
  free_.pop_back();
  return runs;
}

void RunsPool::Give(ColourRuns&& runs) {
  if (runs.runs.capacity() == 0) return;  // nothing worth keeping
  std::lock_guard lock(mutex_);
  free_.push_back(std::move(runs));
}

}  // namespace dw
