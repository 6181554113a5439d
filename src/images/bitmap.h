// Pixel canvases of the image job and ResampleBitmap, the area-averaging resize.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dw {

// A top-down canvas of 1 byte per pixel (grey) or 3 bytes per pixel (blue, green, red; pixel x
// of a row starts at byte 3x). Rows are packed: stride = width * channels.
struct Bitmap {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<uint8_t> pixels;

  Bitmap() = default;
  // A canvas filled with `value` in every byte (255: white).
  Bitmap(int w, int h, int channel_count, uint8_t value = 255)
      : width(w), height(h), channels(channel_count),
        pixels(static_cast<size_t>(w) * h * channel_count, value) {}

  size_t stride() const { return static_cast<size_t>(width) * channels; }
  uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * stride(); }
  const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * stride(); }
};

// `value` rounded up to a multiple of `multiple` (> 0).
constexpr int RoundUpTo(int value, int multiple) { return (value + multiple - 1) / multiple * multiple; }

// A grey canvas as the 24-bit canvas it stands for (each channel equal); a 24-bit one is copied.
Bitmap ToBgr(const Bitmap& source);

// Makes `canvas` a w x h canvas, white outside its top-left keep_w x keep_h pixels (which the
// caller overwrites). A canvas of the same size keeps its memory; any other is made white whole.
void MakeWhiteCanvas(Bitmap& canvas, int w, int h, int channels, int keep_w, int keep_h);

// Draws `source` onto `target` at (0, 0), clipped to the target; both have the same channels.
void DrawAt00(const Bitmap& source, Bitmap& target);

// The shortening of every resampling footprint at its right and bottom end.
inline constexpr double kResampleEps = 0.000001;

// Resizes by area averaging: every target pixel is the weighted mean of the source pixels its
// footprint covers, with double footprints and sums, the area ratio held in single precision and
// each channel rounded half to even. The result has the source's channel count; a grey source
// gives exactly the channel value that its 24-bit form gives in every channel. The source is not
// changed. Throws dw::Error "Assertion failure (common/BitmapUtils)" for a source or target
// without pixels.
Bitmap ResampleBitmap(const Bitmap& source, int w, int h);

// The tables that resampling builds for every image, kept so that the images of a job reuse
// their memory.
struct ResampleScratch {
  // The source pixels one target column (or row) covers along one axis, and their weights.
  struct Span {
    int first = 0;
    int count = 0;
    size_t weights = 0;  // offset of the span's first weight in Axis::weights
  };
  struct Axis {
    std::vector<Span> spans;
    std::vector<double> weights;
  };
  Axis columns, rows;
  std::vector<double> wx0, wx1, sums;  // per target column: the halving loops' weights and sums
  std::vector<const uint8_t*> source_rows;
  std::vector<uint8_t*> target_rows;
};

// ResampleBitmap into the top-left w x h pixels of `target` (which must be at least that large and
// have the source's channel count); the rest of `target` stays as it is.
void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target);
void ResampleInto(const Bitmap& source, int w, int h, Bitmap& target, ResampleScratch& scratch);

// The pixel loops ResampleBitmap may use. All of them give the same bytes; the choice exists so
// that tests and benchmarks can compare them. The default takes the fastest the processor has.
enum class ResampleLoops { kFastest, kSse2, kPortable };
void SetResampleLoops(ResampleLoops loops);

}  // namespace dw
