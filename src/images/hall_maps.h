// Hall maps: the 64 x 64 mini map and the large map with its colour overlay blended in.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dataset/image_files.h"
#include "images/bitmap.h"
#include "images/colour_runs.h"
#include "images/overlay_blend.h"
#include "images/palette.h"

namespace dw {

inline constexpr int kMapDays = 3;
inline constexpr std::array<const char*, 3> kHallGroups = {"E123", "E456", "W12"};
inline constexpr int kMiniMapScale = 20;

// A mini map before its palette step: the map area's even size and the 64 x 64 canvas.
struct MiniMap {
  uint16_t area_width = 0;
  uint16_t area_height = 0;
  ColourRuns canvas;  // pure red never enters first_seen
};

// The map on a white canvas rounded up to multiples of 20, shrunk 20 times with ResampleBitmap,
// drawn on a pure red 64 x 64 canvas over a white map area of the shrunk size rounded up to even.
// Sets the map area's width and height.
Bitmap MiniCanvas(const Bitmap& map, uint16_t& area_width, uint16_t& area_height);

// MapMini_Convert of one decoded hall map, without the palette step.
MiniMap MapMini_Convert(const Bitmap& map);

// The mini map file: the map area's size, then 64 rows of 64 indices, 0 for pure red.
// Every other colour of the canvas must have its palette index already.
std::string MiniMapRecord(const MiniMap& mini, const SharedPalette& palette);

// The map cut to even width and height, blended with the overlay (white where the overlay has no
// pixel), padded with white to multiples of 8.
Bitmap LargeMapCanvas(const Bitmap& map, const Bitmap& overlay);
// The same into `canvas`, reusing its memory.
void LargeMapCanvasInto(const Bitmap& map, const Bitmap& overlay, Bitmap& canvas);

// The same on the memory of a 24-bit `map`, which becomes the canvas.
void LargeMapCanvasInPlace(Bitmap& map, const Bitmap& overlay);

// MapLarge_Convert of one decoded map and its overlay, without the palette step, into `out`
// (whose memory is reused). A 24-bit map is made the canvas in place; a grey one is drawn on
// `canvas`.
void MapLarge_Convert(Bitmap& map, const Bitmap& overlay, Bitmap& canvas, ColourRuns& out);

// The blank layer file of a large map: its width and height, then width*height + 4 zero bytes.
std::string BlankLayerFile(int width, int height);
// The same in `buffer`, whose memory is reused.
void BlankLayerFileInto(int width, int height, std::string& buffer);

}  // namespace dw
