#include "images/image_conversion.h"

#include <algorithm>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "dataset/layout.h"
#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/table_builder.h"
#include "images/circle_cuts.h"
#include "images/day_table.h"
#include "images/image_job_plan.h"
#include "images/hall_maps.h"
#include "images/hall_maps_ahead.h"
#include "images/ordered_pipeline.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr int kProgressStep = 10;  // pages between progress updates
constexpr size_t kItemsAheadPerThread = 2;

// What prepare leaves for commit: a page's runs, or a hall map.
struct Prepared {
  ColourRuns page;
  PreparedHallMap map;
};

// Palette entries are taken here, on the calling thread, in the job's order.
void AssignColours(const ColourRuns& image, SharedPalette& palette) {
  for (uint16_t colour : image.first_seen) palette.IndexOfColour(colour);
}

uint32_t Area(const ColourRuns& image) { return static_cast<uint32_t>(image.width) * image.height; }

int WorkerCount(int requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

void ImageConversion::Run() {
  const DataSetLayout workspace(DstFld);
  const std::vector<uint16_t> day_starts = LoadDayTable(workspace.days());
  palette_.Reset();
  stats_ = GdcStats{};
  converted_ = 0;
  TableBuilder sizes(false);  // GrpSize.dat
  uint32_t largest_area = 0;
  log_.AddLine("サークルカット作成開始");

  int page_count = 0;
  std::vector<fs::path> not_files;
  std::vector<ImageJobItem> hall_maps = hall_maps_ahead ? hall_maps_ahead->items() : PlanHallMaps(RootFld, DstFld);
  const int map_count = static_cast<int>(hall_maps.size());
  const std::vector<ImageJobItem> items =
      PlanImageJob(RootFld, DstFld, day_starts, std::move(hall_maps), page_count, not_files);
  // The hall maps close the plan, in the order of hall_maps_ahead->items().
  const size_t first_map = items.size() - static_cast<size_t>(map_count);
  for (const fs::path& folder : not_files) {
    log_.AddLine("\"" + DisplayPath(folder) + "\" はファイルではないので飛ばしました");
  }
  int maps_done = 0;
  log_.SetProgressMin(0);
  log_.SetProgressMax(page_count);

  std::vector<Prepared> prepared(items.size());
  RunsPool pool;
  // Frees an item's results, returning its run list to the pool.
  auto release = [&](Prepared& p) {
    pool.Give(std::move(p.page));
    pool.Give(std::move(p.map.large));
    p = Prepared{};
  };
  std::string gdc_buffer, layer_buffer;  // the files being saved, reused from image to image
  // The three groups of a day: mini maps E123, E456, W12, then their large maps.
  auto commit_map_day = [&](size_t last) {
    const size_t first = last + 1 - kHallGroups.size();
    for (size_t i = first; i <= last; ++i) {
      const PreparedHallMap& map = prepared[i].map;
      if (map.mini_error) std::rethrow_exception(map.mini_error);
      AssignColours(map.mini.canvas, palette_);
      AtomicSave(items[i].output, MiniMapRecord(map.mini, palette_));
      log_.ProcessEvents();
    }
    for (size_t i = first; i <= last; ++i) {
      const PreparedHallMap& map = prepared[i].map;
      if (map.large_error) std::rethrow_exception(map.large_error);
      const ColourRuns& large = map.large;
      AssignColours(large, palette_);
      largest_area = std::max(largest_area, Area(large));
      SaveGdc(EncodeGdcInto(large, palette_, gdc_buffer), items[i].large, stats_);
      BlankLayerFileInto(large.width, large.height, layer_buffer);
      AtomicSave(items[i].layer, layer_buffer);
      log_.SetProgressPosition(++maps_done);
      log_.ProcessEvents();
    }
    for (size_t i = first; i <= last; ++i) release(prepared[i]);
  };
  auto commit = [&](size_t i) {
    if (safe_point) safe_point();
    const ImageJobItem& item = items[i];
    Prepared& p = prepared[i];
    switch (item.kind) {
      case ImageJobItem::Kind::kDayFolder:
        ForceDirectories(item.output);
        break;
      case ImageJobItem::Kind::kPage:
        AssignColours(p.page, palette_);
        largest_area = std::max(largest_area, Area(p.page));
        SaveGdc(EncodeGdcInto(p.page, palette_, gdc_buffer), item.output, stats_);
        log_.ProcessEvents();
        if (++converted_ % kProgressStep == 0) {
          log_.SetProgressPosition(converted_);
          log_.ProcessEvents();
        }
        break;
      case ImageJobItem::Kind::kMapPhase:
        sizes.U32(largest_area);
        // The bar counts the hall maps from here, when there are any.
        if (map_count > 0) log_.SetProgressMax(map_count);
        log_.SetProgressPosition(0);
        log_.AddLine("ホールマップ作成開始");
        largest_area = 0;
        break;
      case ImageJobItem::Kind::kHallMap:
        if (item.last_of_day) commit_map_day(i);
        return;  // the day's results are freed by commit_map_day
    }
    release(p);
  };
  const int workers = WorkerCount(threads);
  std::vector<ConvertScratch> scratch(static_cast<size_t>(workers) + 1);  // worker 0: this thread
  RunOrdered(
      items.size(), workers, kItemsAheadPerThread * static_cast<size_t>(workers) + 1,
      [&](size_t i, int worker) {
        const ImageJobItem& item = items[i];
        ConvertScratch& own = scratch[static_cast<size_t>(worker)];
        if (item.kind == ImageJobItem::Kind::kPage) {
          prepared[i].page = pool.Take();
          CircleCut_Convert(item.source, own, prepared[i].page);
        } else if (item.kind == ImageJobItem::Kind::kHallMap) {
          if (hall_maps_ahead) {
            prepared[i].map = hall_maps_ahead->Take(i - first_map, own, pool);
          } else {
            prepared[i].map.large = pool.Take();
            PrepareHallMap(item, prepared[i].map, own);
          }
        }
      },
      commit);

  sizes.U32(largest_area).U32(stats_.largest_file);
  if (palette_.merged() > 0) {
    log_.AddLine("色数がパレットの上限 " + std::to_string(kMaxPaletteColours) + " 色を超えたため、" +
                 std::to_string(palette_.merged()) + " 色を最も近い色にまとめました");
  }
  sizes.Save(workspace.image_sizes());
  AtomicSave(workspace.palette(), palette_.FileBytes());
}

}  // namespace dw
