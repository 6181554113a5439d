// The image job's steps in the job's order: day folders and pages, then the hall maps of days 1
// to 3.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace dw {

// One step of the job, in the job's order; only pages and hall maps have work to prepare.
struct ImageJobItem {
  enum class Kind { kDayFolder, kPage, kMapPhase, kHallMap } kind;
  std::filesystem::path source;   // page image or hall map
  std::filesystem::path output;   // day folder, page .gdc, or mini.dat
  // Hall maps: the overlay, the large map and its blank layer file; the last group of a day
  // writes the day's files.
  std::filesystem::path overlay;
  std::filesystem::path large;
  std::filesystem::path layer;
  bool last_of_day = false;

  static ImageJobItem Of(Kind kind, std::filesystem::path source = {}, std::filesystem::path output = {}) {
    ImageJobItem item{kind, std::move(source), std::move(output), {}, {}, {}, false};
    return item;
  }
};

// The hall maps of days 1 to 3 in the job's order, from the catalog at `root` (MDATA found
// regardless of ASCII case), outputs below `workspace`. A day's maps are planned when its E123 map
// exists. Needs no day starts, so the maps can be planned before the data tables are converted.
std::vector<ImageJobItem> PlanHallMaps(const std::filesystem::path& root, const std::filesystem::path& workspace);

// Plans the job over the catalog at `root` (PDATA found regardless of ASCII case) with the day
// start pages: day folders and pages, the map phase, then `hall_maps` (from PlanHallMaps); outputs
// go below `workspace`. Sets `page_count` to the number of page images 2..1800 (the progress
// maximum). Page names that stand for folders are not images; they are added to `not_files`.
std::vector<ImageJobItem> PlanImageJob(const std::filesystem::path& root, const std::filesystem::path& workspace,
                                       const std::vector<uint16_t>& day_starts,
                                       std::vector<ImageJobItem> hall_maps, int& page_count,
                                       std::vector<std::filesystem::path>& not_files);

}  // namespace dw
