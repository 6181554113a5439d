#include "images/hall_maps.h"

#include <algorithm>
#include <cstring>

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

// Blends the overlay onto the top-left w x h pixels of the canvas.
void BlendOverlay(Bitmap& canvas, int w, int h, const Bitmap& overlay_any) {
  Bitmap overlay_converted;
  const Bitmap& overlay = AsBgr(overlay_any, overlay_converted);
  const int bw = std::min(w, overlay.width), bh = std::min(h, overlay.height);
  for (int y = 0; y < bh; ++y) BlendRow(canvas.Row(y), overlay.Row(y), bw);
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
  Bitmap map_converted;
  const Bitmap& map = AsBgr(map_any, map_converted);
  // The map's odd last column or row is dropped.
  const int w = map.width / 2 * 2, h = map.height / 2 * 2;
  MakeWhiteCanvas(canvas, RoundUpTo(w, kGdcAlignment), RoundUpTo(h, kGdcAlignment), 3, w, h);
  for (int y = 0; y < h; ++y) std::copy_n(map.Row(y), static_cast<size_t>(w) * 3, canvas.Row(y));
  BlendOverlay(canvas, w, h, overlay_any);
}

void LargeMapCanvasInPlace(Bitmap& map, const Bitmap& overlay) {
  const int w = map.width / 2 * 2, h = map.height / 2 * 2;
  const int canvas_w = RoundUpTo(w, kGdcAlignment), canvas_h = RoundUpTo(h, kGdcAlignment);
  const size_t from = map.stride(), to = static_cast<size_t>(canvas_w) * 3, row = static_cast<size_t>(w) * 3;
  const size_t bytes = to * static_cast<size_t>(canvas_h);
  if (bytes > map.pixels.size()) map.pixels.resize(bytes);
  uint8_t* p = map.pixels.data();
  // Each row moves to its place on the canvas; rows that move up are moved first from the top, rows
  // that move down first from the bottom, so that no row is overwritten before it has moved.
  if (to > from) {
    for (int y = h - 1; y >= 0; --y) std::memmove(p + y * to, p + y * from, row);
  } else if (to < from) {
    for (int y = 0; y < h; ++y) std::memmove(p + y * to, p + y * from, row);
  }
  for (int y = 0; y < h; ++y) std::memset(p + y * to + row, 255, to - row);
  std::memset(p + h * to, 255, bytes - h * to);
  map.pixels.resize(bytes);
  map.width = canvas_w;
  map.height = canvas_h;
  BlendOverlay(map, w, h, overlay);
}

void MapLarge_Convert(Bitmap& map, const Bitmap& overlay, Bitmap& canvas, ColourRuns& out) {
  if (map.channels == 3) {
    LargeMapCanvasInPlace(map, overlay);
    RunsInto(map, out);
    return;
  }
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
