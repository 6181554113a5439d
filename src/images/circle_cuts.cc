#include "images/circle_cuts.h"

#include <algorithm>
#include <cstdio>
#include <utility>


namespace dw {

std::string PageImageName(int page) {
  char name[16];
  std::snprintf(name, sizeof name, "%04d.png", page);
  return name;
}

std::string PageGdcName(int page) {
  char name[16];
  std::snprintf(name, sizeof name, "%04d.gdc", page);
  return name;
}

CircleCutPlan PlanCircleCuts(const std::vector<uint16_t>& day_starts, const std::function<bool(int)>& page_exists) {
  CircleCutPlan plan;
  std::vector<bool> exists(kLastPageNumber + 2, false);
  for (int n = kFirstPageNumber; n <= kLastPageNumber; ++n) {
    if (page_exists(n)) {
      exists[static_cast<size_t>(n)] = true;
      ++plan.count;
      plan.last = n;
    }
  }
  // 1801 is visited when 1800 exists, though the count leaves it out.
  if (plan.last == kLastPageNumber) exists[kLastPageNumber + 1] = page_exists(kLastPageNumber + 1);

  size_t day = 0;
  int folder_day = 0;
  for (int n = kFirstPageNumber; n <= plan.last + 1; ++n) {
    PageStep step;
    step.page = n;
    if (day < day_starts.size() && n == day_starts[day]) {
      ++day;
      folder_day = static_cast<int>(day);
      step.switch_to_day = folder_day;
    }
    if (exists[static_cast<size_t>(n)]) step.convert_day = folder_day;
    if (step.switch_to_day != 0 || exists[static_cast<size_t>(n)]) plan.steps.push_back(step);
  }
  return plan;
}

Bitmap HalvedPage(const Bitmap& page) {
  ConvertScratch scratch;
  HalvedPageInto(page, scratch);
  return std::move(scratch.canvas);
}

void HalvedPageInto(const Bitmap& page, ConvertScratch& scratch) {
  Bitmap& padded = scratch.canvas;
  const int even_w = RoundUpTo(page.width, 2), even_h = RoundUpTo(page.height, 2);
  const int half_w = even_w / 2, half_h = even_h / 2;
  MakeWhiteCanvas(padded, RoundUpTo(half_w, kGdcAlignment), RoundUpTo(half_h, kGdcAlignment), page.channels,
                  half_w, half_h);
  if (even_w == page.width && even_h == page.height) {
    ResampleInto(page, half_w, half_h, padded, scratch.resample);
  } else {
    // White where the page has no pixel: the added column or row.
    MakeWhiteCanvas(scratch.even, even_w, even_h, page.channels, page.width, page.height);
    DrawAt00(page, scratch.even);
    ResampleInto(scratch.even, half_w, half_h, padded, scratch.resample);
  }
}

void CircleCut_Convert(const std::filesystem::path& path, ConvertScratch& scratch, ColourRuns& out) {
  LoadPngInto(path, scratch.decoded, scratch.png);
  HalvedPageInto(scratch.decoded, scratch);
  RunsInto(scratch.canvas, out);
}

}  // namespace dw
