#include "images/hall_maps.h"

#include <algorithm>

#include "common/table_builder.h"
#include "images/circle_cuts.h"

namespace dw {
namespace {

void Fill(Bitmap& canvas, int w, int h, const uint8_t bgr[3]) {
  w = std::min(w, canvas.width);
  h = std::min(h, canvas.height);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = canvas.Row(y);
    for (int x = 0; x < w; ++x, p += 3) std::copy_n(bgr, 3, p);
  }
}

// A grey canvas as 24-bit; a 24-bit one is used as it is.
const Bitmap& AsBgr(const Bitmap& image, Bitmap& converted) {
  if (image.channels == 3) return image;
  converted = ToBgr(image);
  return converted;
}

}  // namespace

Bitmap MiniCanvas(const Bitmap& map_any, uint16_t& area_width, uint16_t& area_height) {
  Bitmap converted;
  const Bitmap& map = AsBgr(map_any, converted);
  const int grid_w = RoundUpTo(map.width, kMiniMapScale), grid_h = RoundUpTo(map.height, kMiniMapScale);
  Bitmap shrunk;
  if (grid_w == map.width && grid_h == map.height) {
    shrunk = ResampleBitmap(map, grid_w / kMiniMapScale, grid_h / kMiniMapScale);
  } else {
    Bitmap grid(grid_w, grid_h, 3);
    DrawAt00(map, grid);
    shrunk = ResampleBitmap(grid, grid_w / kMiniMapScale, grid_h / kMiniMapScale);
  }
  const int ew = RoundUpTo(shrunk.width, 2), eh = RoundUpTo(shrunk.height, 2);
  area_width = static_cast<uint16_t>(ew);
  area_height = static_cast<uint16_t>(eh);
  static constexpr uint8_t kRed[3] = {0, 0, 255};
  static constexpr uint8_t kWhite[3] = {255, 255, 255};
  Bitmap mini(kMiniMapSide, kMiniMapSide, 3);
  Fill(mini, kMiniMapSide, kMiniMapSide, kRed);
  Fill(mini, ew, eh, kWhite);
  DrawAt00(shrunk, mini);
  return mini;
}

MiniMap MapMini_Convert(const Bitmap& map) {
  MiniMap mini;
  mini.canvas = RunsOf(MiniCanvas(map, mini.area_width, mini.area_height), kPureRed15);
  return mini;
}

std::string MiniMapRecord(const MiniMap& mini, const SharedPalette& palette) {
  TableBuilder record(false);
  record.U16(mini.area_width).U16(mini.area_height);
  std::string indices;
  indices.reserve(kMiniMapSide * kMiniMapSide);
  for (const ColourRun& run : mini.canvas.runs) {
    const uint8_t index = run.colour == kPureRed15 ? 0 : palette.Lookup(run.colour);
    indices.append(run.length, static_cast<char>(index));
  }
  indices.resize(kMiniMapSide * kMiniMapSide, '\0');
  record.Bytes(indices);
  return record.bytes();
}

Bitmap LargeMapCanvas(const Bitmap& map, const Bitmap& overlay) {
  Bitmap canvas;
  LargeMapCanvasInto(map, overlay, canvas);
  return canvas;
}

void LargeMapCanvasInto(const Bitmap& map_any, const Bitmap& overlay_any, Bitmap& canvas) {
  Bitmap map_converted, overlay_converted;
  const Bitmap& map = AsBgr(map_any, map_converted);
  const Bitmap& overlay = AsBgr(overlay_any, overlay_converted);
  // The map's odd last column or row is dropped.
  const int w = map.width / 2 * 2, h = map.height / 2 * 2;
  MakeWhiteCanvas(canvas, RoundUpTo(w, kGdcAlignment), RoundUpTo(h, kGdcAlignment), 3, w, h);
  for (int y = 0; y < h; ++y) std::copy_n(map.Row(y), static_cast<size_t>(w) * 3, canvas.Row(y));
  const int bw = std::min(w, overlay.width), bh = std::min(h, overlay.height);
  for (int y = 0; y < bh; ++y) {
    uint8_t* a = canvas.Row(y);
    const uint8_t* b = overlay.Row(y);
    for (int x = 0; x < bw; ++x) BlendPixel(a + 3 * x, b + 3 * x);
  }
}

void MapLarge_Convert(const Bitmap& map, const Bitmap& overlay, Bitmap& canvas, ColourRuns& out) {
  LargeMapCanvasInto(map, overlay, canvas);
  RunsInto(canvas, out);
}

std::string BlankLayerFile(int width, int height) {
  std::string file;
  BlankLayerFileInto(width, height, file);
  return file;
}

void BlankLayerFileInto(int width, int height, std::string& file) {
  file.assign(static_cast<size_t>(width) * height + 8, '\0');
  file[0] = static_cast<char>(width & 0xFF);
  file[1] = static_cast<char>((width >> 8) & 0xFF);
  file[2] = static_cast<char>(height & 0xFF);
  file[3] = static_cast<char>((height >> 8) & 0xFF);
}

}  // namespace dw
