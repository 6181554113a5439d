#include "images/image_conversion.h"

#include <algorithm>
#include <exception>
#include <mutex>
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
#include "images/ordered_pipeline.h"
#include "images/png_loader.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr int kProgressStep = 10;  // pages between progress updates
constexpr size_t kItemsAheadPerThread = 2;

// What prepare leaves for commit. A hall map is decoded once for its mini map and its large map;
// their failures are kept apart so that commit writes what the job's order would write before
// the failing file.
struct Prepared {
  ColourRuns runs;  // page, or large map
  MiniMap mini;
  std::exception_ptr mini_error;
  std::exception_ptr large_error;
};

// Run lists go from the commit of one image back to the preparation of a later one, so that their
// memory is reused: no more lists exist than items are in flight at a time.
class RunsPool {
 public:
  ColourRuns Take() {
    std::lock_guard lock(mutex_);
    if (free_.empty()) return {};
    ColourRuns runs = std::move(free_.back());
    free_.pop_back();
    return runs;
  }
  void Give(ColourRuns&& runs) {
    if (runs.runs.capacity() == 0) return;  // nothing worth keeping
    std::lock_guard lock(mutex_);
    free_.push_back(std::move(runs));
  }

 private:
  std::mutex mutex_;
  std::vector<ColourRuns> free_;
};

void PrepareHallMap(const ImageJobItem& item, Prepared& result, ConvertScratch& scratch, RunsPool& pool) {
  try {
    LoadPngInto(item.source, scratch.decoded, scratch.png);
  } catch (...) {
    result.mini_error = result.large_error = std::current_exception();
    return;
  }
  try {
    result.mini = MapMini_Convert(scratch.decoded);
  } catch (...) {
    result.mini_error = std::current_exception();
  }
  try {
    LoadPngInto(item.overlay, scratch.overlay, scratch.png);
    result.runs = pool.Take();
    MapLarge_Convert(scratch.decoded, scratch.overlay, scratch.canvas, result.runs);
  } catch (...) {
    result.large_error = std::current_exception();
  }
}

void Prepare(const ImageJobItem& item, Prepared& result, ConvertScratch& scratch, RunsPool& pool) {
  if (item.kind == ImageJobItem::Kind::kPage) {
    result.runs = pool.Take();
    CircleCut_Convert(item.source, scratch, result.runs);
  }
  if (item.kind == ImageJobItem::Kind::kHallMap) PrepareHallMap(item, result, scratch, pool);
}

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
  const std::vector<ImageJobItem> items = PlanImageJob(RootFld, DstFld, day_starts, page_count, not_files);
  for (const fs::path& folder : not_files) {
    log_.AddLine("\"" + DisplayPath(folder) + "\" はファイルではないので飛ばしました");
  }
  const int map_count = static_cast<int>(
      std::count_if(items.begin(), items.end(), [](const ImageJobItem& item) { return item.kind == ImageJobItem::Kind::kHallMap; }));
  int maps_done = 0;
  log_.SetProgressMin(0);
  log_.SetProgressMax(page_count);

  std::vector<Prepared> prepared(items.size());
  RunsPool pool;
  // Frees an item's results, returning its run list to the pool.
  auto release = [&](Prepared& p) {
    pool.Give(std::move(p.runs));
    p = Prepared{};
  };
  std::string gdc_buffer, layer_buffer;  // the files being saved, reused from image to image
  // The three groups of a day: mini maps E123, E456, W12, then their large maps.
  auto commit_map_day = [&](size_t last) {
    const size_t first = last + 1 - kHallGroups.size();
    for (size_t i = first; i <= last; ++i) {
      if (prepared[i].mini_error) std::rethrow_exception(prepared[i].mini_error);
      AssignColours(prepared[i].mini.canvas, palette_);
      AtomicSave(items[i].output, MiniMapRecord(prepared[i].mini, palette_));
      log_.ProcessEvents();
    }
    for (size_t i = first; i <= last; ++i) {
      if (prepared[i].large_error) std::rethrow_exception(prepared[i].large_error);
      const ColourRuns& large = prepared[i].runs;
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
        AssignColours(p.runs, palette_);
        largest_area = std::max(largest_area, Area(p.runs));
        SaveGdc(EncodeGdcInto(p.runs, palette_, gdc_buffer), item.output, stats_);
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
      [&](size_t i, int worker) { Prepare(items[i], prepared[i], scratch[static_cast<size_t>(worker)], pool); },
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
