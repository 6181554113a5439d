// Circle-cut pages: page image names, the day folders they go to, and the half-size page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "images/bitmap.h"
#include "images/colour_runs.h"
#include "images/png_loader.h"

namespace dw {

inline constexpr int kFirstPageNumber = 2;
inline constexpr int kLastPageNumber = 1800;
// Width and height of every GDC image are padded to multiples of this.
inline constexpr int kGdcAlignment = 8;

// "0002.png": the page number as four digits.
std::string PageImageName(int page);
// The same name with ".gdc" in place of ".png".
std::string PageGdcName(int page);

// One visited page number of the circle-cut phase.
struct PageStep {
  int page = 0;
  int switch_to_day = 0;  // day (1-based) whose folder is created before this page, or 0
  int convert_day = 0;    // day folder the page image goes to, or 0 (no image, or before day 1)
};

struct CircleCutPlan {
  int count = 0;  // existing page images 2..1800: the progress maximum
  int last = 0;   // highest existing page number, 0 when there is none
  std::vector<PageStep> steps;  // only pages where a day starts or an image exists, in order
};

// Walks 2..last+1. A page number switches to day d+1 when it equals the start of day d, d being
// below the number of days; days are matched in order only. Pages before the first switch have
// no folder and are skipped.
CircleCutPlan PlanCircleCuts(const std::vector<uint16_t>& day_starts, const std::function<bool(int)>& page_exists);

// Memory that one worker reuses from image to image, so that pages do not take fresh memory.
struct ConvertScratch {
  PngScratch png;
  Bitmap decoded;
  Bitmap overlay;
  Bitmap canvas;
  Bitmap even;  // an odd-sized page made even
  ResampleScratch resample;
};

// A page on an even canvas (a white column or row added to an odd side), halved with
// ResampleBitmap, and padded with white at the right and bottom to multiples of 8.
Bitmap HalvedPage(const Bitmap& page);
// The same into scratch.canvas, reusing the scratch memory.
void HalvedPageInto(const Bitmap& page, ConvertScratch& scratch);

// CircleCut_Convert without the palette step: the page PNG at `path` as the colour runs of its
// GDC image, into `out` (whose memory is reused).
void CircleCut_Convert(const std::filesystem::path& path, ConvertScratch& scratch, ColourRuns& out);

}  // namespace dw
