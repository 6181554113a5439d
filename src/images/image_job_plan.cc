#include "images/image_job_plan.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "dataset/layout.h"
#include "common/paths.h"
#include "images/catalog_folder.h"
#include "images/circle_cuts.h"
#include "images/hall_maps.h"

namespace dw {
namespace fs = std::filesystem;

std::vector<ImageJobItem> PlanHallMaps(const fs::path& root, const fs::path& workspace) {
  std::vector<ImageJobItem> items;
  const CatalogFolder mdata(ResolveIgnoringCase(root, {"MDATA"}));
  const fs::path out = DataSetLayout(workspace).mdata();
  for (int d = 1; d <= kMapDays; ++d) {
    const std::string day = std::to_string(d);
    if (!mdata.Find("MAP" + day + kHallGroups[0] + ".png")) continue;
    for (const char* g : kHallGroups) {
      const std::string name = day + g;
      ImageJobItem map = ImageJobItem::Of(ImageJobItem::Kind::kHallMap, mdata.PathOf("MAP" + name + ".png"),
                                out / ("MAP" + name + "mini.dat"));
      map.overlay = mdata.PathOf("GNR" + name + ".png");
      map.large = out / ("MAP" + name + ".gdc");
      map.layer = out / ("MAP" + name + ".rak");
      map.last_of_day = g == kHallGroups.back();
      items.push_back(std::move(map));
    }
  }
  return items;
}

std::vector<ImageJobItem> PlanImageJob(const fs::path& root, const fs::path& workspace,
                                       const std::vector<uint16_t>& day_starts, std::vector<ImageJobItem> hall_maps,
                                       int& page_count, std::vector<fs::path>& not_files) {
  std::vector<ImageJobItem> items;
  const CatalogFolder pdata(ResolveIgnoringCase(root, {"PDATA"}));
  const CircleCutPlan plan =
      PlanCircleCuts(day_starts, [&](int n) {
        if (pdata.Find(PageImageName(n))) return true;
        if (auto folder = pdata.FindNonFile(PageImageName(n));
            folder && std::find(not_files.begin(), not_files.end(), *folder) == not_files.end()) {
          not_files.push_back(*folder);
        }
        return false;
      });
  page_count = plan.count;
  fs::path day_folder;
  for (const PageStep& step : plan.steps) {
    if (step.switch_to_day != 0) {
      day_folder = DataSetLayout(workspace).page_folder(step.switch_to_day);
      items.push_back(ImageJobItem::Of(ImageJobItem::Kind::kDayFolder, {}, day_folder));
    }
    // Pages before the first day's start have no folder and are skipped.
    if (step.convert_day != 0) {
      items.push_back(ImageJobItem::Of(ImageJobItem::Kind::kPage, pdata.PathOf(PageImageName(step.page)),
                                  day_folder / PageGdcName(step.page)));
    }
  }

  items.push_back(ImageJobItem::Of(ImageJobItem::Kind::kMapPhase));
  items.insert(items.end(), std::make_move_iterator(hall_maps.begin()), std::make_move_iterator(hall_maps.end()));
  return items;
}

}  // namespace dw
