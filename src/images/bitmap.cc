#include "images/bitmap.h"

#include <algorithm>

namespace dw {

Bitmap ToBgr(const Bitmap& source) {
  if (source.channels == 3) return source;
  Bitmap out(source.width, source.height, 3);
  const size_t n = static_cast<size_t>(source.width) * source.height;
  for (size_t i = 0; i < n; ++i) {
    out.pixels[3 * i] = out.pixels[3 * i + 1] = out.pixels[3 * i + 2] = source.pixels[i];
  }
  return out;
}

void MakeWhiteCanvas(Bitmap& canvas, int w, int h, int channels, int keep_w, int keep_h) {
  const size_t bytes = static_cast<size_t>(w) * h * channels;
  const bool reuse = canvas.pixels.size() == bytes && canvas.channels == channels;
  canvas.width = w;
  canvas.height = h;
  canvas.channels = channels;
  if (!reuse) {
    canvas.pixels.assign(bytes, 255);
    return;
  }
  const size_t keep = static_cast<size_t>(std::clamp(keep_w, 0, w)) * channels;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = canvas.Row(y);
    std::fill(row + (y < keep_h ? keep : 0), row + canvas.stride(), 255);
  }
}

void DrawAt00(const Bitmap& source, Bitmap& target) {
  const int w = std::min(source.width, target.width);
  const int h = std::min(source.height, target.height);
  if (w <= 0) return;
  for (int y = 0; y < h; ++y) {
    std::copy_n(source.Row(y), static_cast<size_t>(w) * source.channels, target.Row(y));
  }
}

}  // namespace dw
