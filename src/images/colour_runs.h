// An image reduced to runs of equal 15-bit colour: the form in which converted images wait for
// their palette indices.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "images/bitmap.h"

namespace dw {

struct ColourRun {
  uint16_t colour;  // 15-bit colour
  uint32_t length;  // pixels, >= 1
};

struct ColourRuns {
  int width = 0;
  int height = 0;
  // Maximal runs over the pixels in index-image order (rows from the top, a run may continue into
  // the next row).
  std::vector<ColourRun> runs;
  // The distinct colours in order of first appearance: the order in which they take palette
  // entries.
  std::vector<uint16_t> first_seen;
};

// The runs of a grey or blue-green-red canvas. A colour equal to `excluded` (if >= 0) never
// enters first_seen; it still forms runs.
ColourRuns RunsOf(const Bitmap& image, int excluded = -1);
// The same into `out`, whose vectors keep their memory from image to image.
void RunsInto(const Bitmap& image, ColourRuns& out, int excluded = -1);

// Run lists go from the commit of one image back to the preparation of a later one, so that their
// memory is reused: no more lists exist than images are in flight at a time. Thread-safe.
class RunsPool {
 public:
  ColourRuns Take();
  void Give(ColourRuns&& runs);

 private:
  std::mutex mutex_;
  std::vector<ColourRuns> free_;
};

}  // namespace dw
